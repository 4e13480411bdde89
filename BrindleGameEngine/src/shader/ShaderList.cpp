#include <tinyxml.h>

#include <string>

#include "shader/glShaderManager.h"
#include "XmlFile.h"

namespace gsx {

int loadShaderList(glShaderManager& manager, const char* path) {
  TiXmlDocument doc(path);
  if (!loadXmlFile(doc, path ? path : "")) return -1;
  const TiXmlElement* list = doc.FirstChildElement("ShadersList");
  if (!list) return -1;
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
