#include "animation/AnimationPlayer.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "GameApp.h"
#include "ResourceManager.h"
#include "ScreenBase.h"
#include "animation/Animation2D.h"
#include "animation/AnimationElement2D.h"
#include "animation/KeyFrame.h"
#include "animation/MathFunction.h"
#include "XmlAttributes.h"

namespace {

// Positions, depths, scales and angles beyond this are not animation values.
constexpr float kLargestValue = 1.0e7f;

// Every attribute of an animation is required; "nan" and "inf" are refused.
float requireValue(const bge::XmlReader& xml, const TiXmlElement* e, const char* name) {
  return xml.requireFloat(e, name, 0.0f, -kLargestValue, kLargestValue);
}

}  // namespace

AnimationPlayer::AnimationPlayer(AnimationPlayerListener* listener) : listener_(listener) {
  if (GameApp* app = GameApp::instance()) resources_ = app->addResourceManager(resourceIndex_);
  if (!resources_) {
    ownedResources_ = std::make_unique<ResourceManager>();
    resources_ = ownedResources_.get();
  }
  registerTimeFunction(
      new MathFunction(new CustomFunctor<AnimationPlayer, float, MathFunctionProperty*>(
                           this, &AnimationPlayer::scaledTime),
                       new MathFunctionPropertyLinear(0.6f)),
      0);
}

AnimationPlayer::~AnimationPlayer() {
  std::map<int, Loaded> animations;
  animations.swap(animations_);
  for (auto& entry : animations) {
    // Forgotten first, so its destructor does not call back into us.
    entry.second.animation->forgetPlayer();
    // Ours go now; one a screen owns is deleted by the screen later, and no
    // longer draws our textures.
    entry.second.owned.reset();
  }
  if (!ownedResources_) {
    if (GameApp* app = GameApp::instance()) app->removeResourceManager(resourceIndex_);
  }
}

float AnimationPlayer::scaledTime(float x, MathFunctionProperty* property) {
  if (property && property->getType() == 0) {
    return static_cast<MathFunctionPropertyLinear*>(property)->getFactor() * x;
  }
  return x;
}

void AnimationPlayer::registerTimeFunction(MathFunction* function, int id) {
  timeFunctions_.emplace_back(std::unique_ptr<MathFunction>(function), id);
}

MathFunction* AnimationPlayer::findTimeFunction(int id) const {
  for (const auto& entry : timeFunctions_) {
    if (entry.second == id) return entry.first.get();
  }
  return nullptr;
}

Animation2D* AnimationPlayer::find(int id) const {
  auto it = animations_.find(id);
  return it == animations_.end() ? nullptr : it->second.animation;
}

bool AnimationPlayer::loadAnimation(int id, const std::string& path) {
  if (find(id)) return true;
  std::unique_ptr<Animation2D> animation(new Animation2D(id, this, this));
  animation->setFileName(path);
  animation->setFolder(baseFolder_);

  const bge::XmlReader xml(path);
  TiXmlDocument doc;
  if (!xml.load(doc)) return false;
  TiXmlElement* scene = xml.root(doc, "Scene");
  if (!scene || !readScene(xml, scene, animation.get())) return false;
  TiXmlElement* screen = scene->FirstChildElement("Screen");
  if (!screen) {
    xml.warn(scene, "no <Screen>");
    return false;
  }
  if (!readScreen(xml, screen, animation.get())) return false;
  for (TiXmlElement* object = scene->FirstChildElement("Object"); object;
       object = object->NextSiblingElement("Object")) {
    if (!readObject(xml, object, animation.get())) return false;
  }

  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  if (!animation->loadElements(folder, resources_)) return false;
  animation->setPlaying(false);
  Loaded& loaded = animations_[id];
  loaded.animation = animation.get();
  loaded.owned = std::move(animation);
  return true;
}

bool AnimationPlayer::readScene(const bge::XmlReader& xml, TiXmlElement* scene,
                                Animation2D* animation) {
  const int before = xml.problems();
  const std::string name = xml.requireString(scene, "name", "");
  const int loop = xml.requireInt(scene, "loop", 0);
  const int length = xml.requireInt(scene, "length", 0);
  const int loopCount = xml.readInt(scene, "loopCount", -1);
  if (xml.problems() != before) return false;
  animation->setScene(name, loop != 0, loopCount, length);
  return true;
}

bool AnimationPlayer::readScreen(const bge::XmlReader& xml, TiXmlElement* screen,
                                 Animation2D* animation) {
  const int before = xml.problems();
  const int width = xml.requireInt(screen, "Width", 0);
  const int height = xml.requireInt(screen, "Height", 0);
  if (xml.problems() != before) return false;
  animation->setRect(0, 0, width, height);
  return true;
}

bool AnimationPlayer::readImageProperties(const bge::XmlReader& xml, TiXmlElement* keyFrame,
                                          const std::string& name, KeyFramePropertiesImage& out) {
  const int before = xml.problems();
  out.name = name;
  out.x = requireValue(xml, keyFrame, "x");
  out.y = requireValue(xml, keyFrame, "y");
  out.z = requireValue(xml, keyFrame, "z");
  out.scaleX = requireValue(xml, keyFrame, "ScaleX");
  out.scaleY = requireValue(xml, keyFrame, "ScaleY");
  // The files turn counter-clockwise; the renderer's angles turn clockwise.
  out.angle = -requireValue(xml, keyFrame, "Angle");
  out.red = xml.requireInt(keyFrame, "Red", 0);
  out.green = xml.requireInt(keyFrame, "Green", 0);
  out.blue = xml.requireInt(keyFrame, "Blue", 0);
  out.alpha = xml.requireInt(keyFrame, "Alpha", 0);
  return xml.problems() == before;
}

bool AnimationPlayer::readObject(const bge::XmlReader& xml, TiXmlElement* object,
                                 Animation2D* animation) {
  const int before = xml.problems();
  const std::string file = xml.requireString(object, "file", "");
  const int type = xml.requireInt(object, "type", 0);
  if (xml.problems() != before) return false;
  AnimationElement2D* element = new AnimationElement2D(type, animation);
  animation->addElement(element);
  element->setFileName(file);

  for (TiXmlElement* frame = object->FirstChildElement("KeyFrame"); frame;
       frame = frame->NextSiblingElement("KeyFrame")) {
    const int before = xml.problems();
    const int timeStamp = xml.requireInt(frame, "TimeStamp", 0);
    const int interpolator = xml.requireInt(frame, "TypeInterpolator", 0);
    const int frameType = xml.requireInt(frame, "Type", 0);
    if (xml.problems() != before) return false;
    MathFunction* function = findTimeFunction(interpolator);
    if (!function) {
      xml.warn(frame, "KeyFrame at " + std::to_string(timeStamp) + " ms names time function " +
                          std::to_string(interpolator) + ", which is not registered");
      return false;
    }
    std::unique_ptr<KeyFramePropertiesImage> properties;
    if (frameType == 0) {
      properties.reset(new KeyFramePropertiesImage());
      if (!readImageProperties(xml, frame, file, *properties)) return false;
    }
    auto keyFrame = std::make_unique<KeyFrame>(properties.release(), timeStamp);
    keyFrame->setTimeFunction(function->clone());
    element->addKeyFrame(std::move(keyFrame));
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
  auto it = animations_.find(id);
  if (it == animations_.end()) return false;
  Animation2D* animation = it->second.animation;
  prepare(id, depthOffset);
  if (animation->isPlaying() && screen) {
    animation->setEnabled(false);
    // Played again while still shown: it is in the screen's list already.
    if (!animation->getManager()) screen->addWidget(animation);
    animation->setZ(static_cast<int>(depthOffset));
    // The screen's widget list owns it from here on.
    (void)it->second.owned.release();
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
  Loaded loaded = std::move(it->second);
  animations_.erase(it);
  Animation2D* animation = loaded.animation;
  animation->forgetPlayer();
  if (screen && animation->getManager()) {
    // The screen deletes it at its next update, whoever held it.
    (void)loaded.owned.release();
    screen->removeWidgetLater(animation);
    return;
  }
  // In no widget list: a screen that showed it has handed it back (removeWidget
  // gives a widget back to its caller), so it goes now.
  if (!loaded.owned) loaded.owned.reset(animation);
}

void AnimationPlayer::onAnimationDeleted(Animation2D* animation) {
  for (auto it = animations_.begin(); it != animations_.end(); ++it) {
    if (it->second.animation == animation) {
      // Its destructor is running already: the entry must not delete it again.
      (void)it->second.owned.release();
      animations_.erase(it);
      return;
    }
  }
}

void AnimationPlayer::animationFinished(int id) {
  if (listener_) listener_->animationFinished(id);
}
