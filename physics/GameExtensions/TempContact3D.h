#pragma once
// One contact candidate of the 3D world, filed during contact generation.
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xBody3D;
class xMaterial;

struct xTempContact3D {
  xBody3D* body0 = nullptr;  // the body the normal belongs to
  xBody3D* body1 = nullptr;  // null for static geometry
  xMaterial* material0 = nullptr;
  xMaterial* material1 = nullptr;
  Vec3 point = Vec3(0.0f);
  Vec3 normal = Vec3(0.0f, 1.0f, 0.0f);
  float depth = 0.0f;
  bool flag = false;
};

}  // namespace QuillonPHX2D
