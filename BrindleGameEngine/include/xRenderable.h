#pragma once

class xRenderingContext;

// Where a renderable sits: its rotation quaternion (x, y, z, w), then its position.
struct xRenderPose {
  float qx = 0.0f, qy = 0.0f, qz = 0.0f, qw = 1.0f;
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// An object the 3D rendering context draws: it reports its pose and draws itself
// with OpenGL in its own frame. Its owner decides which objects a context shows;
// a renderable leaves its context when it is destroyed, so the context never
// draws a dead object.
class xRenderable {
 public:
  xRenderable() = default;
  virtual ~xRenderable();
  xRenderable(const xRenderable&) = delete;
  xRenderable& operator=(const xRenderable&) = delete;

  virtual void getPose(xRenderPose& pose) const = 0;
  virtual void drawLocal() = 0;

  bool isVisible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }
  float getScaleX() const { return scale_[0]; }
  float getScaleY() const { return scale_[1]; }
  float getScaleZ() const { return scale_[2]; }
  void setScale(float x, float y, float z) {
    scale_[0] = x;
    scale_[1] = y;
    scale_[2] = z;
  }
  int getPrimitiveCount() const { return primitiveCount_; }
  void setPrimitiveCount(int count) { primitiveCount_ = count; }
  xRenderingContext* getContext() const { return context_; }

 private:
  friend class xRenderingContext;

  bool visible_ = true;
  float scale_[3] = {1.0f, 1.0f, 1.0f};
  int primitiveCount_ = 0;
  xRenderingContext* context_ = nullptr;
};
