#include "animation/AnimationPlayer.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "GameApp.h"
#include "ResourceManager.h"
#include "ScreenBase.h"
#include "animation/Animation2D.h"
#include "animation/AnimationElement2D.h"
#include "animation/KeyFrame.h"
#include "animation/MathFunction.h"
#include "XmlFile.h"

namespace {

// Required attributes: a missing one fails the load with a message naming it.
bool requireText(TiXmlElement* element, const char* name, const std::string& path,
                 const char*& out) {
  out = element->Attribute(name);
  if (out) return true;
  std::printf("ERROR: animation [%s]: element <%s> lacks attribute \"%s\"\n", path.c_str(),
              element->Value(), name);
  return false;
}

bool requireInt(TiXmlElement* element, const char* name, const std::string& path, int& out) {
  const char* text = nullptr;
  if (!requireText(element, name, path, text)) return false;
  out = std::atoi(text);
  return true;
}

// Positions, depths, scales and angles beyond this are not animation values;
// "nan" and "inf" read as numbers too. Either fails the load like a missing value.
constexpr double kLargestValue = 1.0e7;

bool requireFloat(TiXmlElement* element, const char* name, const std::string& path, float& out) {
  const char* text = nullptr;
  if (!requireText(element, name, path, text)) return false;
  const double value = std::atof(text);
  if (!std::isfinite(value) || std::fabs(value) > kLargestValue) {
    std::printf("ERROR: animation [%s]: element <%s> has %s=\"%s\", out of range\n", path.c_str(),
                element->Value(), name, text);
    return false;
  }
  out = static_cast<float>(value);
  return true;
}

}  // namespace

AnimationPlayer::AnimationPlayer(AnimationPlayerListener* listener) : listener_(listener) {
  if (GameApp* app = GameApp::instance()) resources_ = app->addResourceManager(resourceIndex_);
  if (!resources_) {
    resources_ = new ResourceManager();
    ownsResources_ = true;
  }
  registerTimeFunction(
      new MathFunction(new CustomFunctor<AnimationPlayer, float, MathFunctionProperty*>(
                           this, &AnimationPlayer::scaledTime),
                       new MathFunctionPropertyLinear(0.6f)),
      0);
}

AnimationPlayer::~AnimationPlayer() {
  std::map<int, Animation2D*> animations;
  animations.swap(animations_);
  for (auto& entry : animations) {
    Animation2D* animation = entry.second;
    // Forgotten first, so its destructor does not call back into us.
    animation->forgetPlayer();
    // One a screen owns is deleted by the screen later; it no longer draws our textures.
    if (!animation->isOwnedByScreen()) delete animation;
  }
  for (auto& entry : timeFunctions_) delete entry.first;
  timeFunctions_.clear();
  if (ownsResources_) {
    delete resources_;
  } else if (GameApp* app = GameApp::instance()) {
    app->removeResourceManager(resourceIndex_);
  }
  resources_ = nullptr;
}

float AnimationPlayer::scaledTime(float x, MathFunctionProperty* property) {
  if (property && property->getType() == 0) {
    return static_cast<MathFunctionPropertyLinear*>(property)->getFactor() * x;
  }
  return x;
}

void AnimationPlayer::registerTimeFunction(MathFunction* function, int id) {
  timeFunctions_.emplace_back(function, id);
}

MathFunction* AnimationPlayer::findTimeFunction(int id) const {
  for (const auto& entry : timeFunctions_) {
    if (entry.second == id) return entry.first;
  }
  return nullptr;
}

Animation2D* AnimationPlayer::find(int id) const {
  auto it = animations_.find(id);
  return it == animations_.end() ? nullptr : it->second;
}

bool AnimationPlayer::loadAnimation(int id, const std::string& path) {
  if (find(id)) return true;
  loadingPath_ = path;
  std::unique_ptr<Animation2D> animation(new Animation2D(id, this, this));
  animation->setFileName(path);
  animation->setFolder(baseFolder_);

  TiXmlDocument doc(path.c_str());
  if (!loadXmlFile(doc, path)) {
    std::printf("ERROR: animation [%s] cannot be read: %s\n", path.c_str(), doc.ErrorDesc());
    return false;
  }
  TiXmlElement* scene = doc.FirstChildElement("Scene");
  if (!scene) {
    std::printf("ERROR: animation [%s] has no <Scene>\n", path.c_str());
    return false;
  }
  if (!readScene(scene, animation.get())) return false;
  TiXmlElement* screen = scene->FirstChildElement("Screen");
  if (!screen) {
    std::printf("ERROR: animation [%s] has no <Screen>\n", path.c_str());
    return false;
  }
  if (!readScreen(screen, animation.get())) return false;
  for (TiXmlElement* object = scene->FirstChildElement("Object"); object;
       object = object->NextSiblingElement("Object")) {
    if (!readObject(object, animation.get())) return false;
  }

  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  if (!animation->loadElements(folder, resources_)) return false;
  animation->setPlaying(false);
  animations_[id] = animation.release();
  return true;
}

bool AnimationPlayer::readScene(TiXmlElement* scene, Animation2D* animation) {
  const char* name = nullptr;
  int loop = 0;
  int length = 0;
  if (!requireText(scene, "name", loadingPath_, name) ||
      !requireInt(scene, "loop", loadingPath_, loop) ||
      !requireInt(scene, "length", loadingPath_, length)) {
    return false;
  }
  int loopCount = -1;
  if (const char* count = scene->Attribute("loopCount")) loopCount = std::atoi(count);
  animation->setScene(name, loop != 0, loopCount, length);
  return true;
}

bool AnimationPlayer::readScreen(TiXmlElement* screen, Animation2D* animation) {
  int width = 0;
  int height = 0;
  if (!requireInt(screen, "Width", loadingPath_, width) ||
      !requireInt(screen, "Height", loadingPath_, height)) {
    return false;
  }
  animation->setRect(0, 0, width, height);
  return true;
}

bool AnimationPlayer::readImageProperties(TiXmlElement* keyFrame, const std::string& name,
                                          KeyFramePropertiesImage& out) {
  float angle = 0.0f;
  out.name = name;
  if (!requireFloat(keyFrame, "x", loadingPath_, out.x) ||
      !requireFloat(keyFrame, "y", loadingPath_, out.y) ||
      !requireFloat(keyFrame, "z", loadingPath_, out.z) ||
      !requireFloat(keyFrame, "ScaleX", loadingPath_, out.scaleX) ||
      !requireFloat(keyFrame, "ScaleY", loadingPath_, out.scaleY) ||
      !requireFloat(keyFrame, "Angle", loadingPath_, angle) ||
      !requireInt(keyFrame, "Red", loadingPath_, out.red) ||
      !requireInt(keyFrame, "Green", loadingPath_, out.green) ||
      !requireInt(keyFrame, "Blue", loadingPath_, out.blue) ||
      !requireInt(keyFrame, "Alpha", loadingPath_, out.alpha)) {
    return false;
  }
  // The files turn counter-clockwise; the renderer's angles turn clockwise.
  out.angle = -angle;
  return true;
}

bool AnimationPlayer::readObject(TiXmlElement* object, Animation2D* animation) {
  const char* file = nullptr;
  int type = 0;
  if (!requireText(object, "file", loadingPath_, file) ||
      !requireInt(object, "type", loadingPath_, type)) {
    return false;
  }
  AnimationElement2D* element = new AnimationElement2D(type, animation);
  animation->addElement(element);
  element->setFileName(file);

  for (TiXmlElement* frame = object->FirstChildElement("KeyFrame"); frame;
       frame = frame->NextSiblingElement("KeyFrame")) {
    int timeStamp = 0;
    int interpolator = 0;
    int frameType = 0;
    if (!requireInt(frame, "TimeStamp", loadingPath_, timeStamp) ||
        !requireInt(frame, "TypeInterpolator", loadingPath_, interpolator) ||
        !requireInt(frame, "Type", loadingPath_, frameType)) {
      return false;
    }
    MathFunction* function = findTimeFunction(interpolator);
    if (!function) {
      std::printf("ERROR: animation [%s]: KeyFrame at %d ms names time function %d, which is not registered\n",
                  loadingPath_.c_str(), timeStamp, interpolator);
      return false;
    }
    std::unique_ptr<KeyFramePropertiesImage> properties;
    if (frameType == 0) {
      properties.reset(new KeyFramePropertiesImage());
      if (!readImageProperties(frame, file, *properties)) return false;
    }
    KeyFrame* keyFrame = new KeyFrame(properties.release(), timeStamp);
    keyFrame->setTimeFunction(function->clone());
    if (!element->addKeyFrame(keyFrame)) delete keyFrame;
  }
  return true;
}

void AnimationPlayer::prepare(int id, float depthOffset) {
  Animation2D* animation = find(id);
  if (!animation) return;
  if (!animation->isPlaying()) animation->buildActions(depthOffset);
  animation->startActions();
}

bool AnimationPlayer::play(int id, float depthOffset, int x, int y, ScreenBase* screen) {
  Animation2D* animation = find(id);
  if (!animation) return false;
  prepare(id, depthOffset);
  if (animation->isPlaying() && screen) {
    animation->setEnabled(false);
    // Played again while still shown: it is in the screen's list already.
    if (!animation->getManager()) screen->addWidget(animation);
    animation->setZ(static_cast<int>(depthOffset));
    animation->setOwnedByScreen(true);
    animation->setPosition(x, y, false);
    animation->raise();
  }
  return animation->isPlaying();
}

void AnimationPlayer::stop(int id) {
  if (Animation2D* animation = find(id)) animation->stop();
}

void AnimationPlayer::pause(int id) {
  if (Animation2D* animation = find(id)) animation->setPaused(true);
}

void AnimationPlayer::resume(int id) {
  if (Animation2D* animation = find(id)) animation->setPaused(false);
}

void AnimationPlayer::detach(int id, ScreenBase* screen) {
  auto it = animations_.find(id);
  if (it == animations_.end()) return;
  Animation2D* animation = it->second;
  animations_.erase(it);
  animation->forgetPlayer();
  if (screen && animation->getManager()) {
    screen->removeWidgetLater(animation);
  } else {
    delete animation;
  }
}

void AnimationPlayer::onAnimationDeleted(Animation2D* animation) {
  for (auto it = animations_.begin(); it != animations_.end(); ++it) {
    if (it->second == animation) {
      animations_.erase(it);
      return;
    }
  }
}

void AnimationPlayer::animationFinished(int id) {
  if (listener_) listener_->animationFinished(id);
}
