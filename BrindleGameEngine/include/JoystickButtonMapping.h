#pragma once
#include <string>
#include <utility>

// How a game controller's buttons and axes sit on a joystick's raw numbers,
// read from an SDL mapping line. -1 means unbound.
class JoystickButtonMapping {
 public:
  static constexpr int kAxisCount = 6;
  static constexpr int kButtonCount = 16;

  JoystickButtonMapping();
  virtual ~JoystickButtonMapping() = default;

  // Out-of-range indices are ignored: SDL knows more buttons than we map.
  void setButton(int index, int value);
  void setAxis(int index, int value);
  int getButton(int index) const;
  int getAxis(int index) const;
  int getAxisButton(int index) const;
  std::pair<int, int> getAxisRange(int index) const;
  std::pair<int, int> getInnerRange(int index) const;
  int getAxisCount() const { return axisCount_; }
  int getButtonCount() const { return buttonCount_; }

  const std::string& getName() const { return name_; }
  void setName(const std::string& name) { name_ = name; }

 private:
  std::string name_ = "DefaultJoystick";
  int axisCount_ = kAxisCount;
  int buttonCount_ = kButtonCount;
  int buttons_[kButtonCount];
  int axes_[kAxisCount];
  int axisButtons_[kAxisCount];
  std::pair<int, int> axisRanges_[kAxisCount];
  std::pair<int, int> innerRanges_[kAxisCount];
};
