#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// Primitive kinds; for primitive shapes these are also the collider ids.
enum ePrimitveObj { ePrimitiveCircle = 0, ePrimitiveBox = 1, ePrimitiveLineSeg = 2 };

// A geometric primitive in its own frame, centred on the shape's placement.
class QLN_API xPrimitive {
 public:
  xPrimitive() {}
  virtual ~xPrimitive();
  virtual ePrimitveObj getType() = 0;
  virtual Box2 getBoundingBox() { return Box2::empty(); }
  virtual float inertia() { return -1.0f; }
  virtual float volume() { return -1.0f; }
  // A copy of the same kind, so every shape can own its envelope.
  virtual xPrimitive *clone() const = 0;
};

class QLN_API xPrimitiveCircle : public xPrimitive {
 public:
  xPrimitiveCircle() : radius_(10.0f) {}
  explicit xPrimitiveCircle(float radius) : radius_(radius) {}
  ~xPrimitiveCircle() override;
  ePrimitveObj getType() override { return ePrimitiveCircle; }
  Box2 getBoundingBox() override { return Box2(-radius_, -radius_, radius_, radius_); }
  // Per unit mass, as the engine has always used it (r*r/4, not the disc's r*r/2).
  float inertia() override { return radius_ * radius_ * 0.25f; }
  float volume() override { return QLN_PI * radius_ * radius_; }
  xPrimitive *clone() const override;

  float getRadius() const { return radius_; }
  void setRadius(float r) { radius_ = r; }

 private:
  float radius_;
};

class QLN_API xPrimitiveBox : public xPrimitive {
 public:
  xPrimitiveBox() : width_(1.0f), height_(1.0f) {}
  xPrimitiveBox(float w, float h) : width_(w), height_(h) {}
  explicit xPrimitiveBox(const Vec2 &size) : width_(size.x), height_(size.y) {}
  ~xPrimitiveBox() override;
  ePrimitveObj getType() override { return ePrimitiveBox; }
  Box2 getBoundingBox() override { return Box2(-width_ * 0.5f, -height_ * 0.5f, width_ * 0.5f, height_ * 0.5f); }
  float inertia() override { return (width_ * width_ + height_ * height_) * 0.083333336f; }
  float volume() override { return width_ * height_; }
  xPrimitive *clone() const override;

  float getWidth() const { return width_; }
  float getHeight() const { return height_; }
  Vec2 getSize() const { return Vec2(width_, height_); }
  void setSize(const Vec2 &s) {
    width_ = s.x;
    height_ = s.y;
  }

 private:
  float width_;
  float height_;
};

class QLN_API xPrimitiveLineSeg : public xPrimitive {
 public:
  xPrimitiveLineSeg() : a_(0.0f, 0.0f), b_(0.0f, 0.0f) {}
  xPrimitiveLineSeg(const Vec2 &a, const Vec2 &b) : a_(a), b_(b) {}
  ~xPrimitiveLineSeg() override;
  ePrimitveObj getType() override { return ePrimitiveLineSeg; }
  // A segment is filed everywhere: its box is unbounded.
  Box2 getBoundingBox() override { return Box2::unbounded(); }
  float inertia() override { return QLN_MAX; }
  float volume() override { return 0.0f; }
  xPrimitive *clone() const override;

  const Vec2 &getA() const { return a_; }
  const Vec2 &getB() const { return b_; }
  void setA(const Vec2 &a) { a_ = a; }
  void setB(const Vec2 &b) { b_ = b; }

 private:
  Vec2 a_;
  Vec2 b_;
};

}  // namespace QuillonPHX2D
