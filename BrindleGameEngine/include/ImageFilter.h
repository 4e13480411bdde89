#pragma once
#include "ReferenceCountable.h"

class Image;

// A stateless change applied to every pixel of an image.
class ImageFilter : public ReferenceCountable {
 public:
  virtual ~ImageFilter() = default;
  virtual void apply(Image* image) = 0;
};

// Grey levels become the opacity of white: font pages baked as grey scale.
class IntensityAsAlphaImageFilter : public ImageFilter {
 public:
  void apply(Image* image) override;
};
