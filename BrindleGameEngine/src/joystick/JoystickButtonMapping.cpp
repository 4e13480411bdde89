#include "JoystickButtonMapping.h"

JoystickButtonMapping::JoystickButtonMapping() {
  for (int i = 0; i < kButtonCount; ++i) buttons_[i] = i;
  for (int i = 0; i < kAxisCount; ++i) {
    axes_[i] = i;
    axisButtons_[i] = -1;
    axisRanges_[i] = std::make_pair(-32768, 32767);
    innerRanges_[i] = std::make_pair(-32768 / 8, 32767 / 8);
  }
}

void JoystickButtonMapping::setButton(int index, int value) {
  if (index >= 0 && index < buttonCount_) buttons_[index] = value;
}

void JoystickButtonMapping::setAxis(int index, int value) {
  if (index >= 0 && index < axisCount_) axes_[index] = value;
}

int JoystickButtonMapping::getButton(int index) const {
  return index >= 0 && index < buttonCount_ ? buttons_[index] : -1;
}

int JoystickButtonMapping::getAxis(int index) const {
  return index >= 0 && index < axisCount_ ? axes_[index] : -1;
}

int JoystickButtonMapping::getAxisButton(int index) const {
  return index >= 0 && index < axisCount_ ? axisButtons_[index] : -1;
}

std::pair<int, int> JoystickButtonMapping::getAxisRange(int index) const {
  return index >= 0 && index < axisCount_ ? axisRanges_[index] : std::make_pair(0, 0);
}

std::pair<int, int> JoystickButtonMapping::getInnerRange(int index) const {
  return index >= 0 && index < axisCount_ ? innerRanges_[index] : std::make_pair(0, 0);
}
