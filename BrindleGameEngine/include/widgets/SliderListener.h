#pragma once

namespace bge {

// Slot 1 while the thumb is dragged, slot 2 when it is let go; value 0 to 1.
class SliderListener {
 public:
  virtual ~SliderListener() = default;
  virtual void onSliderChanged(int id, float value) = 0;
  virtual void onSliderReleased(int id, float value) = 0;
};

}  // namespace bge
