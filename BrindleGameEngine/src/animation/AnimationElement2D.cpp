#include "animation/AnimationElement2D.h"

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "Color.h"
#include "GLTexture.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "tinyaction/TinyActions.h"

namespace {

// Time between two stamps of a file; stamps far apart must not overflow.
int timeBetween(int from, int to) {
  const long long span = static_cast<long long>(to) - from;
  if (span > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (span < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(span);
}

// Key frames may name channels outside 0-255, and the tween runs past them.
int colourChannel(float value) {
  if (!(value > 0.0f)) return 0;
  return value >= 255.0f ? 255 : static_cast<int>(value);
}

}  // namespace

AnimationElement2D::AnimationElement2D(int type, Animation2D* owner) : type_(type), owner_(owner) {}

AnimationElement2D::~AnimationElement2D() = default;

bool AnimationElement2D::addKeyFrame(std::unique_ptr<KeyFrame> keyFrame) {
  const int timeStamp = keyFrame->getTimeStamp();
  // try_emplace leaves the frame alone when the stamp is taken: it is deleted on return.
  const bool stored = keyFrames_.try_emplace(timeStamp, std::move(keyFrame)).second;
  updateLastTime();
  return stored;
}

void AnimationElement2D::updateLastTime() {
  lastTime_ = keyFrames_.empty() ? 0 : keyFrames_.rbegin()->first;
}

KeyFrame* AnimationElement2D::keyFrameAfter(int t) const {
  auto it = keyFrames_.upper_bound(t);
  return it == keyFrames_.end() ? nullptr : it->second.get();
}

bool AnimationElement2D::load(const std::string& folder, ResourceManager* resources) {
  if (type_ == 0 && resources) {
    const std::string path = folder + fileName_;
    texture_ = resources->findTexture(path);
    if (!texture_) {
      auto texture =
          std::make_unique<GLTexture>(path, nullptr, GLTexture::KeepImage, GLTexture::kLinear);
      // The texture named what is wrong with the file; the element goes without it.
      if (!texture->isLoaded()) return false;
      // A loaded texture is never refused: the catalogue owns it from here on.
      resources->registerTexture(path, texture.get());
      texture_ = texture.release();
    }
    pivotX_ = texture_->getWidth() * 0.5f;
    pivotY_ = texture_->getHeight() * 0.5f;
  }
  resetToFirstFrame();
  return true;
}

void AnimationElement2D::applyProperties(const KeyFramePropertiesImage& p) {
  x = p.x;
  y = p.y;
  z = p.z;
  angle = p.angle;
  scaleX = p.scaleX;
  scaleY = p.scaleY;
  red = static_cast<float>(p.red);
  green = static_cast<float>(p.green);
  blue = static_cast<float>(p.blue);
  alpha = static_cast<float>(p.alpha);
}

void AnimationElement2D::resetToFirstFrame() {
  firstProperties_.reset();
  KeyFrame* first = keyFrameAfter(-1);
  if (!first || !first->getProperties()) return;
  firstProperties_.reset(first->getProperties()->clone());
  if (const KeyFramePropertiesImage* image = first->imageProperties()) applyProperties(*image);
}

TinyAction* AnimationElement2D::changeTowards(const KeyFramePropertiesImage& from,
                                              const KeyFramePropertiesImage& to, int duration) {
  struct Channel {
    float* target;
    float change;
    bool always;
  };
  const Channel channels[] = {
      {&x, to.x - from.x, false},
      {&y, to.y - from.y, false},
      {&angle, to.angle - from.angle, false},
      {&scaleX, to.scaleX - from.scaleX, false},
      {&scaleY, to.scaleY - from.scaleY, false},
      {&red, static_cast<float>(to.red) - static_cast<float>(from.red), false},
      {&green, static_cast<float>(to.green) - static_cast<float>(from.green), false},
      {&blue, static_cast<float>(to.blue) - static_cast<float>(from.blue), false},
      {&alpha, static_cast<float>(to.alpha) - static_cast<float>(from.alpha), true},
  };
  TinyParalelAction* step = new TinyParalelAction();
  for (const Channel& c : channels) {
    if (!c.always && std::fabs(c.change) <= 0.01f) continue;
    step->addAction(new TinyRelIncrementator<float>(TinyTimer(duration), c.target, c.change,
                                                    linearOperatorFunction, 1.0f));
  }
  return step;
}

TinyAction* AnimationElement2D::buildAction(float depthOffset, bool loop, int loopCount,
                                            int length) {
  TinyActionSequence* sequence = new TinyActionSequence(true);
  KeyFrame* k = keyFrameAfter(-2);
  if (k) {
    if (const KeyFramePropertiesImage* p = k->imageProperties()) {
      TinyParalelAction* set = new TinyParalelAction();
      set->addAction(new TinySetter<float>(&x, p->x));
      set->addAction(new TinySetter<float>(&y, p->y));
      set->addAction(new TinySetter<float>(&z, p->z + depthOffset));
      set->addAction(new TinySetter<float>(&angle, p->angle));
      set->addAction(new TinySetter<float>(&scaleX, p->scaleX));
      set->addAction(new TinySetter<float>(&scaleY, p->scaleY));
      set->addAction(new TinySetter<float>(&red, static_cast<float>(p->red)));
      set->addAction(new TinySetter<float>(&green, static_cast<float>(p->green)));
      set->addAction(new TinySetter<float>(&blue, static_cast<float>(p->blue)));
      set->addAction(new TinySetter<float>(&alpha, static_cast<float>(p->alpha)));
      sequence->addAction(set);
    }
  }
  while (k) {
    KeyFrame* n = keyFrameAfter(k->getTimeStamp());
    if (!n) {
      if (length != k->getTimeStamp()) {
        sequence->addAction(new TinyActionDelay(TinyTimer(timeBetween(k->getTimeStamp(), length))));
      }
      break;
    }
    const KeyFramePropertiesImage* from = k->imageProperties();
    const KeyFramePropertiesImage* to = n->imageProperties();
    if (to) {
      // After a frame without values the element still holds its zero defaults.
      KeyFramePropertiesImage zero;
      zero.x = zero.y = zero.z = zero.scaleX = zero.scaleY = 0.0f;
      zero.red = zero.green = zero.blue = zero.alpha = 0;
      sequence->addAction(changeTowards(from ? *from : zero, *to,
                                        timeBetween(k->getTimeStamp(), n->getTimeStamp())));
    }
    k = n;
  }
  if (loop) return new TinyLoopAction(sequence, loopCount, -1);
  return sequence;
}

void AnimationElement2D::draw(Graphics* graphics, float offsetX, float offsetY) {
  if (!texture_ || !graphics) return;
  graphics->translate(offsetX + x + pivotX_, offsetY + y + pivotY_);
  graphics->rotate(angle, 0.0f, 0.0f, 1.0f);
  graphics->scale(scaleX * 0.01f, scaleY * 0.01f);
  graphics->translate(-pivotX_, -pivotY_);
  graphics->drawImage(0, 0, texture_,
                      Color(colourChannel(red), colourChannel(green), colourChannel(blue),
                            colourChannel(alpha)));
}
