#pragma once
#include <memory>
#include <string>

class MathFunction;

// What a key frame sets. Type 0 is the only kind the engine draws.
class KeyFrameProperties {
 public:
  virtual ~KeyFrameProperties() = default;
  virtual int getType() const = 0;
  virtual KeyFrameProperties* clone() const = 0;
};

class KeyFramePropertiesImage : public KeyFrameProperties {
 public:
  int getType() const override { return 0; }
  KeyFrameProperties* clone() const override { return new KeyFramePropertiesImage(*this); }

  std::string name = "still not loaded";
  float x = -1.0f;
  float y = -1.0f;
  float z = -1.0f;
  float scaleX = 100.0f;
  float scaleY = 100.0f;
  float angle = 0.0f;
  int red = 255;
  int green = 255;
  int blue = 255;
  int alpha = 255;
};

// One key of an element's track: owns its properties and time function.
class KeyFrame {
 public:
  // Takes ownership of the properties.
  KeyFrame(KeyFrameProperties* properties, int timeStamp);
  virtual ~KeyFrame();
  KeyFrame(const KeyFrame&) = delete;
  KeyFrame& operator=(const KeyFrame&) = delete;

  // Takes ownership; the function set before is deleted.
  void setTimeFunction(MathFunction* function);
  MathFunction* getTimeFunction() const { return timeFunction_.get(); }
  int getTimeStamp() const { return timeStamp_; }
  KeyFrameProperties* getProperties() const { return properties_.get(); }
  // Image properties, or null when the frame carries none.
  const KeyFramePropertiesImage* imageProperties() const;

 private:
  std::unique_ptr<MathFunction> timeFunction_;
  int timeStamp_;
  std::unique_ptr<KeyFrameProperties> properties_;
};
