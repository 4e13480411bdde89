#pragma once
#include "Foundation/Math/QlnMath.h"

namespace QuillonPHX2D {

class xBody;
class xMaterial;

// One contact candidate of the current step. body0 carries the normal's orientation and is
// never null in a stored contact; body1 is null against static geometry.
struct QLN_API xTempContact {
  xBody *body0 = nullptr;
  xBody *body1 = nullptr;
  xMaterial *material0 = nullptr;
  xMaterial *material1 = nullptr;
  Vec2 point = Vec2(0.0f, 0.0f);
  Vec2 normal = Vec2(0.0f, 1.0f);
  float depth = 0.0f;
  bool flag = false;

  bool operator==(const xTempContact &o) const {
    return body0 == o.body0 && body1 == o.body1 && material0 == o.material0 && material1 == o.material1 &&
           point == o.point && normal == o.normal && depth == o.depth && flag == o.flag;
  }
};

}  // namespace QuillonPHX2D
