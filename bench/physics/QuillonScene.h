#pragma once
// A benchmark scene built in our engine's world, in pixel units with the game's step: the
// benchmark times it, and the physics tests step the same scenes.
#include <vector>

#include "BenchScene.h"
#include "sdk/xEntity.h"

namespace QuillonPHX2D {
class xBody;
class xPrimitive;
class xShape;
}  // namespace QuillonPHX2D

namespace bench {

// Counts the notifications sensors and bullets receive, as a game entity would.
class CountingOwner : public QuillonPHX2D::xEntity {
 public:
  bool notifyCollision(QuillonPHX2D::xShape *, QuillonPHX2D::xShape *, const QuillonPHX2D::Vec2 &, float,
                       const QuillonPHX2D::Vec2 &) override {
    ++count;
    return true;
  }
  long count = 0;
};

// Creates the world (qlnCreateQuillonSDK) on build and destroys it with the scene.
class QuillonScene {
 public:
  QuillonScene() = default;
  ~QuillonScene();
  QuillonScene(const QuillonScene &) = delete;
  QuillonScene &operator=(const QuillonScene &) = delete;

  void build(Scene const &scene, Settings settings);
  // Outside the timed section: steer movers, wrap bullets. t is the scene time in seconds.
  void drive(Scene const &scene, float t);
  void step();

  // One body per scene body, in the scene's order; owned.
  const std::vector<QuillonPHX2D::xBody *> &bodies() const { return bodies_; }
  // Every shape in creation order (segments, sensors, bodies' shapes); owned.
  const std::vector<QuillonPHX2D::xShape *> &shapes() const { return shapes_; }

 private:
  QuillonPHX2D::xShape *makeShape(QuillonPHX2D::xPrimitive *env, const char *category);

  bool built_ = false;
  CountingOwner owner_;
  std::vector<QuillonPHX2D::xBody *> bodies_;
  std::vector<QuillonPHX2D::xShape *> shapes_;
};

// Engine units per pixel/second and per pixel/second squared.
constexpr float kQuillonVel = kSecondsPerUnit;
constexpr float kQuillonAcc = kSecondsPerUnit * kSecondsPerUnit;

}  // namespace bench
