#pragma once
#include <memory>

#include "Image.h"

struct SDL_Surface;

// Only the alpha of every pixel, one byte each, row by row: enough for hit tests.
class MinimalSurfaceImage : public Image {
 public:
  // Keeps the alpha of a 32-bit surface (the surface stays the caller's).
  explicit MinimalSurfaceImage(SDL_Surface* surface);
  // Takes over width x height alpha bytes allocated with new[].
  MinimalSurfaceImage(unsigned char* alpha, int width, int height);

  // Alpha-only images are not copied: null.
  Image* clone() const override;
  bool isTransparent(int x, int y) const override;
  // (0, 0, 0, alpha) inside, opaque black outside.
  Color getPixel(int x, int y) const override;
  void setPixel(int x, int y, const Color& color) override;
  // No surface behind this image.
  virtual SDL_Surface* getSurface() const { return nullptr; }

  const unsigned char* getAlphaData() const { return alpha_.get(); }

 private:
  std::unique_ptr<unsigned char[]> alpha_;
};
