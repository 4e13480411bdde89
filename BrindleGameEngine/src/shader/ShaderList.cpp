#include <tinyxml.h>

#include <cstdio>
#include <string>

#include "shader/glShaderManager.h"
#include "XmlFile.h"

namespace gsx {

int loadShaderList(glShaderManager& manager, const char* path) {
  TiXmlDocument doc(path);
  const std::string file = path ? path : "";
  if (!loadXmlFile(doc, file)) {
    std::printf("ERROR: the shader list %s %s\n", file.c_str(), xmlLoadProblem(doc, file).c_str());
    return -1;
  }
  const TiXmlElement* list = doc.FirstChildElement("ShadersList");
  if (!list) {
    std::printf("ERROR: the shader list %s has no <ShadersList> element\n", file.c_str());
    return -1;
  }
  int built = 0;
  for (const TiXmlElement* e = list->FirstChildElement("Shader"); e;
       e = e->NextSiblingElement("Shader")) {
    int id = -1;
    if (e->QueryIntAttribute("id", &id) != TIXML_SUCCESS) id = -1;
    const char* vertex = e->Attribute("vtx");
    const char* fragment = e->Attribute("fragment");
    const char* geometry = e->Attribute("geometry");
    const bool withGeometry = geometry != nullptr && geometry[0] != '\0';
    glShader* program = withGeometry
                            ? manager.loadProgramWithGeometry(id, vertex, geometry, fragment)
                            : manager.loadProgram(id, vertex, fragment);
    if (program) ++built;
  }
  return built;
}

}  // namespace gsx
