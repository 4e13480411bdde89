#include "animation/KeyFrame.h"

#include "animation/MathFunction.h"

KeyFrame::KeyFrame(KeyFrameProperties* properties, int timeStamp)
    : timeStamp_(timeStamp), properties_(properties) {}

KeyFrame::~KeyFrame() = default;

void KeyFrame::setTimeFunction(MathFunction* function) { timeFunction_.reset(function); }

const KeyFramePropertiesImage* KeyFrame::imageProperties() const {
  if (!properties_ || properties_->getType() != 0) return nullptr;
  return static_cast<const KeyFramePropertiesImage*>(properties_.get());
}
