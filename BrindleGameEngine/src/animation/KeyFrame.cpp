#include "animation/KeyFrame.h"

#include "animation/MathFunction.h"

KeyFrame::~KeyFrame() {
  delete timeFunction_;
  delete properties_;
}

void KeyFrame::setTimeFunction(MathFunction* function) {
  delete timeFunction_;
  timeFunction_ = function;
}

const KeyFramePropertiesImage* KeyFrame::imageProperties() const {
  if (!properties_ || properties_->getType() != 0) return nullptr;
  return static_cast<const KeyFramePropertiesImage*>(properties_);
}
