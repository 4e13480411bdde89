#include "MinimalSurfaceImage.h"

#include <SDL.h>

#include <cstring>

MinimalSurfaceImage::MinimalSurfaceImage(SDL_Surface* surface)
    : Image(surface ? surface->w : 0, surface ? surface->h : 0) {
  if (!surface || surface->format->BytesPerPixel != 4 || width_ <= 0 || height_ <= 0) {
    width_ = height_ = 0;
    return;
  }
  const Uint32 mask = surface->format->Amask;
  const int shift = surface->format->Ashift;
  alpha_ = std::make_unique<unsigned char[]>(static_cast<size_t>(width_) * height_);
  if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
  for (int y = 0; y < height_; ++y) {
    const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                                        y * surface->pitch);
    for (int x = 0; x < width_; ++x)
      alpha_[y * width_ + x] = static_cast<unsigned char>((row[x] & mask) >> shift);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

MinimalSurfaceImage::MinimalSurfaceImage(unsigned char* alpha, int width, int height)
    : Image(width, height), alpha_(alpha) {}

Image* MinimalSurfaceImage::clone() const { return nullptr; }

bool MinimalSurfaceImage::isTransparent(int x, int y) const {
  if (!alpha_ || !contains(x, y)) return false;
  return alpha_[y * width_ + x] == 0;
}

Color MinimalSurfaceImage::getPixel(int x, int y) const {
  if (!alpha_ || !contains(x, y)) return Color::black;
  return Color(0, 0, 0, alpha_[y * width_ + x]);
}

void MinimalSurfaceImage::setPixel(int x, int y, const Color& color) {
  if (!alpha_ || !contains(x, y)) return;
  alpha_[y * width_ + x] = color.a;
}
