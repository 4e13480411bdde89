#include "Collision/Shapes/xPrimitive.h"

#include <new>

namespace QuillonPHX2D {

xPrimitive::~xPrimitive() {}

// A freed primitive read by mistake shows the unset value, not plausible numbers.
xPrimitiveCircle::~xPrimitiveCircle() { radius_ = QLN_UNSET; }
xPrimitiveBox::~xPrimitiveBox() {
  width_ = QLN_UNSET;
  height_ = QLN_UNSET;
}
xPrimitiveLineSeg::~xPrimitiveLineSeg() {}

xPrimitive *xPrimitiveCircle::clone() const { return new (std::nothrow) xPrimitiveCircle(*this); }
xPrimitive *xPrimitiveBox::clone() const { return new (std::nothrow) xPrimitiveBox(*this); }
xPrimitive *xPrimitiveLineSeg::clone() const { return new (std::nothrow) xPrimitiveLineSeg(*this); }

}  // namespace QuillonPHX2D
