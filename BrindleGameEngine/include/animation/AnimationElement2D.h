#pragma once
#include <map>
#include <memory>
#include <string>

#include "animation/KeyFrame.h"

class Animation2D;
class Graphics;
class ResourceManager;
class Texture;
class TinyAction;

// One image of an animation scene, moved, turned, scaled and tinted between its
// key frames. Angles are degrees; scales are percent; colours 0 to 255.
class AnimationElement2D {
 public:
  AnimationElement2D(int type, Animation2D* owner);
  virtual ~AnimationElement2D();
  AnimationElement2D(const AnimationElement2D&) = delete;
  AnimationElement2D& operator=(const AnimationElement2D&) = delete;

  virtual void draw(Graphics* graphics, float offsetX, float offsetY);
  virtual void onUnused() {}

  // Keeps the earlier key frame when one with the same time stamp exists (the
  // later one is then dropped); answers whether the frame was stored.
  bool addKeyFrame(std::unique_ptr<KeyFrame> keyFrame);
  void updateLastTime();
  // The first key frame later than t, or null.
  KeyFrame* keyFrameAfter(int t) const;

  // Image elements take their texture from the resources (folder + file name).
  // Fails, with a message, when the image file does not exist.
  bool load(const std::string& folder, ResourceManager* resources);
  void applyProperties(const KeyFramePropertiesImage& properties);
  void resetToFirstFrame();
  // The action tree that plays the element's key frames over length ms.
  TinyAction* buildAction(float depthOffset, bool loop, int loopCount, int length);

  void setFileName(const std::string& fileName) { fileName_ = fileName; }
  const std::string& getFileName() const { return fileName_; }
  int getType() const { return type_; }
  int getLastTime() const { return lastTime_; }
  size_t getKeyFrameCount() const { return keyFrames_.size(); }
  Texture* getTexture() const { return texture_; }
  float getPivotX() const { return pivotX_; }
  float getPivotY() const { return pivotY_; }

  // Current values, written by the element's actions.
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float angle = 0.0f;
  float scaleX = 0.0f;
  float scaleY = 0.0f;
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float alpha = 0.0f;

 private:
  TinyAction* changeTowards(const KeyFramePropertiesImage& from, const KeyFramePropertiesImage& to,
                            int duration);

  Texture* texture_ = nullptr;  // not owned: the resource catalogue given to load
  std::unique_ptr<KeyFrameProperties> firstProperties_;
  std::string fileName_;
  int type_;
  std::map<int, std::unique_ptr<KeyFrame>> keyFrames_;
  int lastTime_ = 0;
  Animation2D* owner_;  // not owned: the animation owns its elements
  float pivotX_ = 0.0f;
  float pivotY_ = 0.0f;
};
