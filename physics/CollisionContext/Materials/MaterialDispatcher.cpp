#include "CollisionContext/Materials/MaterialDispatcher.h"

#include <new>

#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {

xMaterial::xMaterial()
    : label_("default_Material"), density_(1000.0f), restitution_(0.70710677f), dynamicFriction_(0.70710677f),
      rollingFriction_(0.70710677f), reflection_(0.5f) {}

xMaterial::xMaterial(const std::string &label, float density, float restitution, float dynamicFriction,
                     float rollingFriction, float reflection)
    : label_(label), density_(density), restitution_(restitution), dynamicFriction_(dynamicFriction),
      rollingFriction_(rollingFriction), reflection_(reflection) {}

xMaterialDispatcher *xMaterialDispatcher::mdp_ptrInstance = nullptr;

xMaterialDispatcher *xMaterialDispatcher::Instance() {
  if (!mdp_ptrInstance) {
    mdp_ptrInstance = new (std::nothrow) xMaterialDispatcher();
#if defined(QLN_GAME_BUILD)
    QLN_ASSERT(mdp_ptrInstance != nullptr);
#endif
  }
  return mdp_ptrInstance;
}

xMaterialDispatcher::xMaterialDispatcher() {
  xMaterial *m = new (std::nothrow) xMaterial();
  if (m) materials_.append(m);
}

xMaterialDispatcher::~xMaterialDispatcher() { materials_.deleteAll(); }

void xMaterialDispatcher::createMaterial(const std::string &name, float density, float restitution,
                                         float dynamicFriction, float rollingFriction, float reflection) {
  if (obtainMaterialByName(name)) return;
  xMaterial *m = new (std::nothrow) xMaterial(name, density, restitution, dynamicFriction, rollingFriction, reflection);
  if (m) materials_.append(m);
}

bool xMaterialDispatcher::registerMaterial(xMaterial *m) {
  if (!m) return false;
  if (materials_.contains(m)) return true;
  if (obtainMaterialByName(m->label())) return false;
  materials_.append(m);
  return true;
}

xMaterial *xMaterialDispatcher::obtainMaterialByName(const std::string &name) {
  for (int i = 0; i < materials_.size(); ++i)
    if (materials_[i]->label() == name) return materials_[i];
  return nullptr;
}

xMaterial *xMaterialDispatcher::defaultMaterial() { return materials_.size() > 0 ? materials_[0] : nullptr; }

}  // namespace QuillonPHX2D
