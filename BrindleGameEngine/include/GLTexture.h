#pragma once
#include <memory>
#include <string>

#include "Texture.h"

class ImageFilter;
struct SDL_Surface;

// A texture decoded with SDL2_image and uploaded to OpenGL. A JPEG takes its
// alpha from a companion mask file ("ship.jpg" -> "ship_.jpg").
class GLTexture : public Texture {
 public:
  static constexpr int kLinear = 0x2601;   // GL_LINEAR
  static constexpr int kNearest = 0x2600;  // GL_NEAREST

  // What happens to the decoded pixels after upload.
  enum Retention { KeepImage = 0, KeepAlphaOnly = 1, DropImage = 2 };

  // The filter stays the caller's and must outlive loading.
  explicit GLTexture(const std::string& fileName, ImageFilter* filter = nullptr,
                     int retentionMode = KeepImage, int glFilter = kLinear);
  ~GLTexture() override;

  bool loadDeferred() override;
  void bind() override;
  void reload() override;
  void unload() override;
  Texture* clone() override;
  // A filtered picture keeps its pixels: its filter may be gone when it is read again.
  bool releaseUntilUsed() override;

  // Decodes, widens to power-of-two, masks, filters and uploads. A file that is
  // missing or cannot be used is named on standard output and leaves the
  // texture empty: not loaded, 0 x 0, nothing uploaded; returns false then.
  bool loadFromFile(const std::string& fileName, ImageFilter* filter, int glFilter);

  unsigned int getGLName() const { return glName_; }
  int getGLFilter() const { return glFilter_; }
  int getRetentionMode() const { return retentionMode_; }
  int getDecodedWidth() const { return decodedWidth_; }
  int getDecodedHeight() const { return decodedHeight_; }
  const unsigned char* getAlphaMap() const { return alphaMap_.get(); }

  // The smallest power of two not below n (n >= 1).
  static int nextPowerOfTwo(int n);
  // "title.jpeg" -> "title_.jpeg"; empty when the name has no extension.
  static std::string maskFileName(const std::string& fileName);

 private:
  void applyMask(const std::string& maskName, SDL_Surface* target);
  bool upload(SDL_Surface* surface);
  void applyRetention(SDL_Surface* surface);
  void deleteGLName();
  // Frees the upload and every pixel kept; the size stays.
  void dropLoaded();

  ImageFilter* filter_;  // not owned: the caller's (see the constructor)
  unsigned int glName_ = 0;  // 0: nothing uploaded
  int decodedWidth_ = 0;
  int decodedHeight_ = 0;
  // A JPEG's mask, one byte a pixel, until an alpha-only image takes it.
  std::unique_ptr<unsigned char[]> alphaMap_;
  int retentionMode_;
  int glFilter_;
};

// Uploads a surface as a texture (fitting its size to what OpenGL accepts) and
// reports the result; on failure SDL's error text says why. Used by GLTexture
// and by its reload.
struct UploadedTexture {
  unsigned int name = 0;
  int format = 0;
  int fittedWidth = 0;
  int fittedHeight = 0;
  int surfaceWidth = 0;
  int surfaceHeight = 0;
};
bool OGL_FromSurface(SDL_Surface* surface, int glFilter, UploadedTexture& out);

