#include "SDLSurfaceImage.h"

#include <SDL.h>

#include "ImageFile.h"

namespace {

// Surface lock held for the duration of one pixel access, when SDL needs one.
class SurfaceLock {
 public:
  explicit SurfaceLock(SDL_Surface* s) : surface_(SDL_MUSTLOCK(s) ? s : nullptr) {
    if (surface_) SDL_LockSurface(surface_);
  }
  ~SurfaceLock() {
    if (surface_) SDL_UnlockSurface(surface_);
  }
  SurfaceLock(const SurfaceLock&) = delete;
  SurfaceLock& operator=(const SurfaceLock&) = delete;

 private:
  SDL_Surface* surface_;
};

Uint8* pixelAddress(SDL_Surface* s, int x, int y) {
  return static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

}  // namespace

SDLSurfaceImage::SDLSurfaceImage(const std::string& fileName)
    : Image(0, 0), surface_(bge::loadImageSurfaceOrSay(fileName)) {
  if (surface_) {
    width_ = surface_->w;
    height_ = surface_->h;
  }
}

SDLSurfaceImage::SDLSurfaceImage(SDL_Surface* surface)
    : Image(surface ? surface->w : 0, surface ? surface->h : 0), surface_(surface) {}

SDLSurfaceImage::~SDLSurfaceImage() {
  if (surface_) SDL_FreeSurface(surface_);
}

Image* SDLSurfaceImage::clone() const {
  if (!surface_) return new SDLSurfaceImage(static_cast<SDL_Surface*>(nullptr));
  const SDL_PixelFormat* f = surface_->format;
  SDL_Surface* copy = SDL_CreateRGBSurface(0, surface_->w, surface_->h, f->BitsPerPixel, f->Rmask,
                                           f->Gmask, f->Bmask, f->Amask);
  if (!copy) return new SDLSurfaceImage(static_cast<SDL_Surface*>(nullptr));
  if (f->palette) SDL_SetSurfacePalette(copy, f->palette);
  // A straight copy: blending would mix the pixels with the fresh surface.
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetSurfaceBlendMode(surface_, &mode);
  SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE);
  SDL_BlitSurface(surface_, nullptr, copy, nullptr);
  SDL_SetSurfaceBlendMode(surface_, mode);
  return new SDLSurfaceImage(copy);
}

bool SDLSurfaceImage::isTransparent(int x, int y) const { return getPixel(x, y).a == 0; }

Color SDLSurfaceImage::getPixel(int x, int y) const {
  if (!surface_ || !contains(x, y)) return Color(0, 0, 0, 0);
  SurfaceLock lock(surface_);
  const Uint8* p = pixelAddress(surface_, x, y);
  Uint32 value = 0;
  switch (surface_->format->BytesPerPixel) {
    case 1: value = *p; break;
    case 2: value = *reinterpret_cast<const Uint16*>(p); break;
    case 3:
      value = SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                              : (p[0] | p[1] << 8 | p[2] << 16);
      break;
    case 4: value = *reinterpret_cast<const Uint32*>(p); break;
    default: value = 0; break;
  }
  Uint8 r = 0, g = 0, b = 0, a = 0;
  SDL_GetRGBA(value, surface_->format, &r, &g, &b, &a);
  return Color(r, g, b, a);
}

void SDLSurfaceImage::setPixel(int x, int y, const Color& color) {
  if (!surface_ || !contains(x, y)) return;
  SurfaceLock lock(surface_);
  const Uint32 value = SDL_MapRGBA(surface_->format, color.r, color.g, color.b, color.a);
  Uint8* p = pixelAddress(surface_, x, y);
  switch (surface_->format->BytesPerPixel) {
    case 1: *p = static_cast<Uint8>(value); break;
    case 2: *reinterpret_cast<Uint16*>(p) = static_cast<Uint16>(value); break;
    case 3:
      if (SDL_BYTEORDER == SDL_BIG_ENDIAN) {
        p[0] = (value >> 16) & 0xFF; p[1] = (value >> 8) & 0xFF; p[2] = value & 0xFF;
      } else {
        p[0] = value & 0xFF; p[1] = (value >> 8) & 0xFF; p[2] = (value >> 16) & 0xFF;
      }
      break;
    case 4: *reinterpret_cast<Uint32*>(p) = value; break;
    default: break;
  }
}
