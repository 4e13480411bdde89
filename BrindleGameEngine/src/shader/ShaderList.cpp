#include <tinyxml.h>

#include <cstdio>
#include <string>

#include "shader/glShaderManager.h"
#include "XmlAttributes.h"

namespace gsx {

int loadShaderList(glShaderManager& manager, const char* path) {
  const bge::XmlReader xml(path ? path : "");
  TiXmlDocument doc;
  if (!xml.load(doc)) return -1;
  const TiXmlElement* list = xml.root(doc, "ShadersList");
  if (!list) return -1;
  int built = 0;
  for (const TiXmlElement* e = list->FirstChildElement("Shader"); e;
       e = e->NextSiblingElement("Shader")) {
    const int id = xml.readInt(e, "id", -1);
    const std::string vertex = xml.readString(e, "vtx", "");
    const std::string fragment = xml.readString(e, "fragment", "");
    const std::string geometry = xml.readString(e, "geometry", "");
    // An absent shader file reaches the manager as null, which reports it.
    const char* vertexFile = xml.has(e, "vtx") ? vertex.c_str() : nullptr;
    const char* fragmentFile = xml.has(e, "fragment") ? fragment.c_str() : nullptr;
    glShader* program =
        !geometry.empty()
            ? manager.loadProgramWithGeometry(id, vertexFile, geometry.c_str(), fragmentFile)
            : manager.loadProgram(id, vertexFile, fragmentFile);
    if (program) ++built;
  }
  return built;
}

}  // namespace gsx
