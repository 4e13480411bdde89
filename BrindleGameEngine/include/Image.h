#pragma once
#include "Color.h"
#include "ReferenceCountable.h"

// Pixels kept in memory: what textures upload, and what widgets hit-test.
class Image : public ReferenceCountable {
 public:
  Image(int width, int height) : width_(width), height_(height) {}
  virtual ~Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // A copy the caller owns; null when the kind of image cannot be copied.
  virtual Image* clone() const = 0;
  virtual bool isTransparent(int x, int y) const = 0;
  virtual Color getPixel(int x, int y) const = 0;
  virtual void setPixel(int x, int y, const Color& color) = 0;

  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

 protected:
  int width_;
  int height_;
};
