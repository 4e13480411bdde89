#include "animation/MathFunction.h"

float MathFunction::evaluate(float x) { return functor_ ? functor_->call(x, property_.get()) : x; }

MathFunction* MathFunction::clone() const {
  MathFunction* copy = new MathFunction(functor_ ? functor_->clone() : nullptr,
                                        property_ ? property_->clone() : nullptr);
  copy->setScaleOffset(scale_, offset_);
  return copy;
}
