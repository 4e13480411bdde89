#include "GLTexture.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "ImageFile.h"
#include "ImageFilter.h"
#include "MinimalSurfaceImage.h"
#include "SDLSurfaceImage.h"
#include "Utilities.h"

namespace {

// The layout every kept image uses: bytes R, G, B, A in memory order.
constexpr Uint32 kRedMask = 0x000000FF;
constexpr Uint32 kGreenMask = 0x0000FF00;
constexpr Uint32 kBlueMask = 0x00FF0000;
constexpr Uint32 kAlphaMask = 0xFF000000;

SDL_Surface* createRGBASurface(int width, int height) {
  return SDL_CreateRGBSurface(0, width, height, 32, kRedMask, kGreenMask, kBlueMask, kAlphaMask);
}

// Copies src into the top-left of a new transparent RGBA surface of the given size.
SDL_Surface* copyIntoRGBA(SDL_Surface* src, int width, int height) {
  SDL_Surface* dst = createRGBASurface(width, height);
  if (!dst) return nullptr;
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  if (SDL_BlitSurface(src, nullptr, dst, nullptr) != 0) {
    SDL_FreeSurface(dst);
    return nullptr;
  }
  return dst;
}

bool isRGBA(const SDL_Surface* s) {
  const SDL_PixelFormat* f = s->format;
  return f->BytesPerPixel == 4 && f->Rmask == kRedMask && f->Gmask == kGreenMask &&
         f->Bmask == kBlueMask && f->Amask == kAlphaMask;
}

bool isRGB(const SDL_Surface* s) {
  const SDL_PixelFormat* f = s->format;
  return f->BytesPerPixel == 3 && f->Rmask == 0x0000FF && f->Gmask == 0x00FF00 &&
         f->Bmask == 0xFF0000;
}

// Whether OpenGL can make a texture of this size and format.
bool proxyAccepts(int width, int height, GLenum format) {
  const GLint internal = format == GL_RGB ? 3 : 4;
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, internal, width, height, 0, format, GL_UNSIGNED_BYTE,
               nullptr);
  GLint w = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  return w != 0;
}

int nextPowerOfTwoCapped(int n, int cap) {
  const int p = GLTexture::nextPowerOfTwo(n);
  return p > cap ? cap : p;
}

}  // namespace

bool OGL_FromSurface(SDL_Surface* surface, int glFilter, UploadedTexture& out) {
  out = UploadedTexture();
  if (!surface) {
    SDL_SetError("SDL_oglblit: Surface passed to OGL_FromSurface is NULL.");
    return false;
  }
  GLenum format = GL_RGBA;
  bool convert = false;
  if (isRGB(surface)) {
    format = GL_RGB;
  } else if (!isRGBA(surface)) {
    convert = true;  // no direct format: goes up as RGBA
  }
  // Rows must be packed as OpenGL's default 4-byte unpack alignment expects.
  const int bpp = format == GL_RGB ? 3 : 4;
  if (!convert && surface->pitch != ((surface->w * bpp + 3) & ~3)) convert = true;

  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize <= 0) maxSize = 64;
  int width = surface->w;
  int height = surface->h;
  if (width > maxSize) { width = maxSize; convert = true; }
  if (height > maxSize) { height = maxSize; convert = true; }
  if (convert) format = GL_RGBA;
  if (!proxyAccepts(width, height, format)) {
    width = nextPowerOfTwoCapped(width, maxSize);
    height = nextPowerOfTwoCapped(height, maxSize);
    if (!proxyAccepts(width, height, format)) width = height = 0;
  }
  if (width == 0 || height == 0) {
    SDL_SetError("SDL_oglblit: Couldn't find a suitable texture size for the given surface.");
    return false;
  }
  if (width != surface->w || height != surface->h) convert = true;

  SDL_Surface* source = surface;
  if (convert) {
    source = copyIntoRGBA(surface, width, height);
    if (!source) {
      SDL_SetError("SDL_oglblit: Couldn't copy an unsupported surface to an RGBA surface.");
      return false;
    }
    format = GL_RGBA;
  }

  GLuint name = 0;
  glGetError();  // start clean so the check below sees this upload only
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  if (SDL_MUSTLOCK(source)) SDL_LockSurface(source);
  if (glFilter == GLTexture::kLinear || glFilter == GLTexture::kNearest) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, glFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, glFilter);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, source->format->BytesPerPixel, source->w, source->h, 0, format,
               GL_UNSIGNED_BYTE, source->pixels);
  if (SDL_MUSTLOCK(source)) SDL_UnlockSurface(source);
  const bool failed = glGetError() != GL_NO_ERROR;
  if (source != surface) SDL_FreeSurface(source);
  if (failed) {
    glDeleteTextures(1, &name);
    SDL_SetError(convert ? "SDL_oglblit: Unknown error while converting surface to texture."
                         : "SDL_oglblit: Couldn't perform a surface to texture conversion, even "
                           "though the given surface seems compatible.");
    return false;
  }
  out.name = name;
  out.format = static_cast<int>(format);
  out.fittedWidth = width;
  out.fittedHeight = height;
  out.surfaceWidth = surface->w;
  out.surfaceHeight = surface->h;
  return true;
}

GLTexture::GLTexture(const std::string& fileName, ImageFilter* filter, int retentionMode,
                     int glFilter)
    : filter_(filter), retentionMode_(retentionMode), glFilter_(glFilter) {
  resourceName_ = fileName;
  if (isDeferredLoadingOn()) {
    defer(fileName);
    return;
  }
  loadFromFile(fileName, filter, glFilter);
}

// The pixels go after the upload, with the members.
GLTexture::~GLTexture() { deleteGLName(); }

int GLTexture::nextPowerOfTwo(int n) {
  int p = 1;
  while (p < n && p < (1 << 30)) p <<= 1;
  return p;
}

std::string GLTexture::maskFileName(const std::string& fileName) {
  const std::string ext = getFileExtension(fileName);
  if (ext.empty()) return std::string();
  return removeFileExtension(fileName) + "_." + ext;
}

void GLTexture::deleteGLName() {
  if (glName_ != 0) {
    GLuint name = glName_;
    glDeleteTextures(1, &name);
  }
  glName_ = 0;
}

void GLTexture::dropLoaded() {
  deleteGLName();
  alphaMap_.reset();
  image_.reset();
  loaded_ = false;
}

bool GLTexture::loadFromFile(const std::string& fileName, ImageFilter* filter, int glFilter) {
  // Loading again replaces whatever an earlier load left; until it succeeds
  // the texture is empty (0 x 0, nothing uploaded), which draws nothing.
  dropLoaded();
  resourceName_ = fileName;
  glFilter_ = glFilter;
  decodedWidth_ = decodedHeight_ = 0;
  width_ = height_ = storageWidth_ = storageHeight_ = 0;

  bge::ImageProblem problem;
  SDL_Surface* decoded = bge::loadImageSurface(fileName, &problem);
  if (!decoded) {
    // One bad picture should not end the game: it is named here, once, and
    // the texture stays empty.
    if (problem.missing) {
      std::printf("ERROR: Missing image file! [%s]\n", fileName.c_str());
    } else {
      std::printf("ERROR: image file [%s] %s\n", fileName.c_str(), problem.text.c_str());
    }
    std::fflush(stdout);
    return false;
  }
  SDL_Surface* kept = copyIntoRGBA(decoded, nextPowerOfTwo(decoded->w), nextPowerOfTwo(decoded->h));
  const int decodedWidth = decoded->w;
  const int decodedHeight = decoded->h;
  SDL_FreeSurface(decoded);
  if (!kept) {
    std::printf("ERROR: image file [%s] cannot be copied for upload: %s\n", fileName.c_str(), SDL_GetError());
    std::fflush(stdout);
    return false;
  }
  decodedWidth_ = decodedWidth;
  decodedHeight_ = decodedHeight;
  image_ = std::make_unique<SDLSurfaceImage>(kept);

  const std::string ext = toUpperCase(getFileExtension(fileName));
  if (ext == "JPG" || ext == "JPEG") applyMask(maskFileName(fileName), kept);
  if (filter) filter->apply(image_.get());

  UploadedTexture uploaded;
  if (OGL_FromSurface(kept, glFilter, uploaded)) glName_ = uploaded.name;
  width_ = decodedWidth_;
  height_ = decodedHeight_;
  storageWidth_ = uploaded.name ? uploaded.fittedWidth : kept->w;
  storageHeight_ = uploaded.name ? uploaded.fittedHeight : kept->h;
  applyRetention(kept);
  loaded_ = true;
  return true;
}

void GLTexture::applyMask(const std::string& maskName, SDL_Surface* target) {
  SDL_Surface* decoded = bge::loadImageSurfaceOrSay(maskName, true);
  if (!decoded) return;  // no companion: the picture stays opaque
  SDL_Surface* mask = copyIntoRGBA(decoded, target->w, target->h);
  SDL_FreeSurface(decoded);
  if (!mask) return;
  if (mask->format->BitsPerPixel == 32 && target->format->BitsPerPixel == 32 &&
      mask->w == target->w && mask->h == target->h) {
    alphaMap_.reset(new unsigned char[static_cast<size_t>(target->w) * target->h]);
    for (int y = 0; y < target->h; ++y) {
      const Uint32* src =
          reinterpret_cast<const Uint32*>(static_cast<Uint8*>(mask->pixels) + y * mask->pitch);
      Uint32* dst = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + y * target->pitch);
      for (int x = 0; x < target->w; ++x) {
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_GetRGBA(src[x], mask->format, &r, &g, &b, &a);
        const Uint32 alpha = (static_cast<Uint32>(r) + g + b) / 3;
        dst[x] = (dst[x] & ~kAlphaMask) | (alpha << 24);
        alphaMap_[y * target->w + x] = static_cast<unsigned char>(alpha);
      }
    }
  }
  SDL_FreeSurface(mask);
}

void GLTexture::applyRetention(SDL_Surface* surface) {
  if (retentionMode_ == KeepAlphaOnly) {
    std::unique_ptr<Image> alphaOnly;
    if (alphaMap_) {
      // The image owns the mask from here.
      alphaOnly =
          std::make_unique<MinimalSurfaceImage>(alphaMap_.release(), surface->w, surface->h);
    } else {
      alphaOnly = std::make_unique<MinimalSurfaceImage>(surface);
    }
    image_ = std::move(alphaOnly);
  } else if (retentionMode_ == DropImage) {
    image_.reset();
  }
}

bool GLTexture::loadDeferred() {
  if (!deferred_) return false;
  clearDeferred();
  return loadFromFile(resourceName_, filter_, glFilter_);
}

void GLTexture::bind() { glBindTexture(GL_TEXTURE_2D, glName_); }

void GLTexture::unload() {
  if (!loaded_) return;
  // The name goes back to 0 so neither reload nor the destructor frees it again.
  deleteGLName();
}

void GLTexture::reload() {
  if (!loaded_) return;
  SDLSurfaceImage* kept = dynamic_cast<SDLSurfaceImage*>(image_.get());
  if (!kept || !kept->getSurface()) {
    // Pixels given up after the upload are read from the file again: a new
    // context (a new resolution or window mode) would otherwise show the
    // texture blank. A filter was the caller's and may be gone by now, so a
    // filtered picture is not read again.
    if (!filter_ && !resourceName_.empty()) loadFromFile(resourceName_, nullptr, glFilter_);
    return;
  }
  deleteGLName();
  UploadedTexture uploaded;
  if (!OGL_FromSurface(kept->getSurface(), glFilter_, uploaded)) return;
  glName_ = uploaded.name;
  storageWidth_ = uploaded.fittedWidth;
  storageHeight_ = uploaded.fittedHeight;
}

bool GLTexture::releaseUntilUsed() {
  if (!loaded_ || filter_ || resourceName_.empty()) return false;
  dropLoaded();
  defer(resourceName_);
  return true;
}

Texture* GLTexture::clone() { return new GLTexture(resourceName_, nullptr, KeepImage, kLinear); }
