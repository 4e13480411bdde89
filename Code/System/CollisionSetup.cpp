#include "System/CollisionSetup.h"

#include "AssertReport.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Utilities.h"
#include "XmlAttributes.h"

using QuillonPHX2D::xCategoryDispatcher;
using QuillonPHX2D::xMaterialDispatcher;

namespace {

// Largest density and friction a material may claim; beyond that the solver
// gets numbers no body of this game has.
constexpr float kMaxDensity = 1.0e6f;
constexpr float kMaxFriction = 100.0f;

}  // namespace

unsigned long parseCollisionFlags(const std::string& text) {
  std::vector<std::string> tokens;
  if (!text.empty()) splitString(text, ',', tokens);
  unsigned long flags = 0;
  for (const std::string& token : tokens) {
    if (token == "AVOID") flags |= 1ul;
    else if (token == "RESPOND") flags |= 2ul;
    else if (token == "LET_GO_THROUGH") flags |= 4ul;
  }
  BGE_ERROR_MSG(!tokens.empty() && flags != 0,
                "a collision category names no known flag (AVOID, RESPOND, LET_GO_THROUGH); it is given none");
  return flags;
}

bool loadCollisionCategoriesFile(const std::string& path, xCategoryDispatcher* into) {
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  const std::string file = "the collision categories file " + path;
  if (!BGE_ERROR_MSG(reader.load(doc), (file + " cannot be read; no collision categories are defined").c_str()))
    return false;
  TiXmlElement* root = reader.root(doc, "CollisionCategories");
  if (!BGE_ERROR_MSG(root != nullptr, (file + " holds no categories; none are defined").c_str()))
    return false;
  xCategoryDispatcher* categories = into ? into : xCategoryDispatcher::Instance();
  if (!categories) return false;
  for (TiXmlElement* e = root->FirstChildElement("Category"); e; e = e->NextSiblingElement("Category")) {
    const std::string name = reader.requireString(e, "name", "");
    if (name.empty()) continue;  // a category nobody can name is of no use
    if (reader.has(e, "copyFrom")) {
      const std::string source = reader.readString(e, "copyFrom", "");
      if (!categories->copyCategory(source, name))
        reader.warn(e, "copyFrom \"" + source + "\" names no category defined before; the category is left out");
      continue;
    }
    categories->createCategory(name, parseCollisionFlags(reader.requireString(e, "flags", "")));
    for (TiXmlElement* p = e->FirstChildElement("Pair"); p; p = p->NextSiblingElement("Pair")) {
      const std::string other = reader.requireString(p, "pairName", "");
      const unsigned long flags = parseCollisionFlags(reader.requireString(p, "pairFlags", ""));
      if (!categories->registerCategoryPair(name, other, flags))
        reader.warn(p, "pairName \"" + other + "\" names no category defined before; pair ignored");
    }
  }
  return true;
}

bool readMaterialsFile(const std::string& path, std::vector<MaterialValues>& out) {
  out.clear();
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  const std::string file = "the materials file " + path;
  if (!BGE_ERROR_MSG(reader.load(doc), (file + " cannot be read; no materials are defined").c_str()))
    return false;
  TiXmlElement* root = reader.root(doc, "MaterialsLibrary");
  if (!BGE_ERROR_MSG(root != nullptr, (file + " holds no materials; none are defined").c_str()))
    return false;
  MaterialValues v;
  for (TiXmlElement* e = root->FirstChildElement("Material"); e; e = e->NextSiblingElement("Material")) {
    v.name = reader.requireString(e, "name", v.name);
    v.density = reader.requireFloat(e, "density", v.density, 0.0f, kMaxDensity);
    v.restitution = reader.requireFloat(e, "restitution", v.restitution, 0.0f, 1.0f);
    v.dynamicFriction = reader.requireFloat(e, "dynamicfriction", v.dynamicFriction, 0.0f, kMaxFriction);
    v.rollingFriction = reader.requireFloat(e, "rollingfriction", v.rollingFriction, 0.0f, kMaxFriction);
    v.reflection = reader.requireFloat(e, "reflection", v.reflection, 0.0f, 1.0f);
    out.push_back(v);
  }
  return true;
}

bool loadMaterialsFile(const std::string& path) {
  std::vector<MaterialValues> materials;
  if (!readMaterialsFile(path, materials)) return false;
  xMaterialDispatcher* registry = xMaterialDispatcher::Instance();
  if (!registry) return false;
  for (const MaterialValues& v : materials)
    registry->createMaterial(v.name, v.density, v.restitution, v.dynamicFriction, v.rollingFriction, v.reflection);
  return true;
}
