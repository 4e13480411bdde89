#pragma once
#include <memory>

#include "DeferableResource.h"
#include "Image.h"
#include "ReferenceCountable.h"

// A picture uploaded for drawing. The image keeps its own size; the storage is
// the power-of-two size of the uploaded texture with the image in its top-left.
class Texture : public ReferenceCountable, public DeferableResource {
 public:
  Texture() = default;
  ~Texture() override = default;

  bool loadDeferred() override = 0;
  virtual void bind() = 0;
  // Uploads the kept image again after unload (context re-created).
  virtual void reload() = 0;
  // Frees the uploaded texture; the kept image stays for reload.
  virtual void unload() = 0;
  // A new texture of the same file, loaded afresh; the caller owns it.
  virtual Texture* clone() = 0;
  // Gives up the pixels and the upload until ensureLoaded reads the file again;
  // the size stays known. False when the texture cannot be read again.
  virtual bool releaseUntilUsed() { return false; }

  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  int getStorageWidth() const { return storageWidth_; }
  int getStorageHeight() const { return storageHeight_; }
  Image* getImage() const { return image_.get(); }
  bool isLoaded() const { return loaded_; }

 protected:
  // The pixels kept in memory, if any.
  std::unique_ptr<Image> image_;
  bool loaded_ = false;
  int width_ = -1;
  int height_ = -1;
  int storageWidth_ = -1;
  int storageHeight_ = -1;
};
