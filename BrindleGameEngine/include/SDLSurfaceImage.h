#pragma once
#include <string>

#include "Image.h"

struct SDL_Surface;

// An image held in an SDL surface of any depth.
class SDLSurfaceImage : public Image {
 public:
  // Decodes the file with SDL2_image; the surface stays null when that fails.
  explicit SDLSurfaceImage(const std::string& fileName);
  // Takes over the surface (may be null).
  explicit SDLSurfaceImage(SDL_Surface* surface);
  ~SDLSurfaceImage() override;

  Image* clone() const override;
  bool isTransparent(int x, int y) const override;
  // Outside the image, or without a surface: transparent black.
  Color getPixel(int x, int y) const override;
  // Outside the image, or without a surface: nothing.
  void setPixel(int x, int y, const Color& color) override;

  SDL_Surface* getSurface() const { return surface_; }

 private:
  SDL_Surface* surface_;
};
