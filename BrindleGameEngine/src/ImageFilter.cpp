#include "ImageFilter.h"

#include <algorithm>

#include "Image.h"

void IntensityAsAlphaImageFilter::apply(Image* image) {
  if (!image) return;
  for (int y = 0; y < image->getHeight(); ++y) {
    for (int x = 0; x < image->getWidth(); ++x) {
      const Color c = image->getPixel(x, y);
      // 0.3333 rather than 1/3: pure white ends at 254, as the pages were made for.
      const float intensity = std::min((c.r + c.g + c.b) * 0.3333f, 255.0f);
      image->setPixel(x, y, Color(255, 255, 255, static_cast<int>(intensity)));
    }
  }
}
