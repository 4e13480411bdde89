#include "GameExtensions/Configurator3D.h"

namespace QuillonPHX2D {

xConfigurator3D* xConfigurator3D::Instance() {
  static xConfigurator3D* instance = new xConfigurator3D();
  return instance;
}

}  // namespace QuillonPHX2D
