#include "Graphics.h"

#include <cmath>
#include <cstdlib>

#include "Texture.h"

namespace {
constexpr float kPi = 3.1415927f;
}

Graphics::Vec2 Graphics::circlePoint(float cx, float cy, float rx, float ry, float degrees) {
  const float a = degrees * kPi / 180.0f;
  return Vec2(cx + std::cos(a) * rx, cy + std::sin(a) * ry);
}

void Graphics::fillRect(const Rect5& rect, const Color& color) {
  fillRect(static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
           static_cast<int>(rect.height), color);
}

void Graphics::drawArc(float, float, float, int, float, const Color&) {}

void Graphics::fillSector(float, float, float, int, int, const Color&) {}

void Graphics::fillCircle(float, float, float, float, const Color&) {}

void Graphics::drawImage(int x, int y, Texture* texture, const Color& color) {
  if (!texture) return;
  const SourceRect whole(0.0f, 0.0f, static_cast<float>(texture->getWidth()),
                         static_cast<float>(texture->getHeight()));
  drawImage(x, y, texture, whole, color);
}

void Graphics::drawImage(int x, int y, Texture* texture, const SourceRect& source,
                         const Color& color) {
  if (!texture) return;
  drawImage(x, y, static_cast<unsigned int>(static_cast<int>(source.getWidth())),
            static_cast<unsigned int>(static_cast<int>(source.getHeight())), texture, source, color);
}

void Graphics::drawFrameH(int x, int y, int frameCount, int frameIndex, Texture* texture,
                          const Color& color) {
  if (!texture || frameCount <= 0) return;
  const int w = texture->getWidth();
  const int h = texture->getHeight();
  const SourceRect frame(static_cast<float>(w * frameIndex / frameCount), 0.0f,
                         static_cast<float>(w * (frameIndex + 1) / frameCount - 1),
                         static_cast<float>(h - 1));
  drawImage(x, y, texture, frame, color);
}

void Graphics::drawFrameV(int x, int y, int frameCount, int frameIndex, Texture* texture,
                          const Color& color) {
  if (!texture || frameCount <= 0) return;
  const int w = texture->getWidth();
  const int h = texture->getHeight();
  const SourceRect frame(0.0f, static_cast<float>(h * frameIndex / frameCount),
                         static_cast<float>(w - 1),
                         static_cast<float>(h * (frameIndex + 1) / frameCount - 1));
  drawImage(x, y, texture, frame, color);
}

void Graphics::drawFrame(int x, int y, int columns, int rows, int index, Texture* texture,
                         const Color& color, bool rowMajor) {
  if (!texture || columns <= 0 || rows <= 0) return;
  const int column = rowMajor ? index % columns : index / rows;
  const int row = rowMajor ? index / columns : index % rows;
  const int w = texture->getWidth();
  const int h = texture->getHeight();
  const SourceRect frame(static_cast<float>(w * column / columns),
                         static_cast<float>(h * row / rows),
                         static_cast<float>(w * (column + 1) / columns - 1),
                         static_cast<float>(h * (row + 1) / rows - 1));
  drawImage(x, y, texture, frame, color);
}

void Graphics::drawImageOutline(int x, int y, Texture* texture, const Color& color, int thickness,
                                float alphaThreshold) {
  if (!texture) return;
  const SourceRect whole(0.0f, 0.0f, static_cast<float>(texture->getWidth()),
                         static_cast<float>(texture->getHeight()));
  drawImageOutline(x, y, texture, color, thickness, alphaThreshold, texture->getWidth(),
                   texture->getHeight(), whole);
}

void Graphics::drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill, int thickness,
                                        float alphaThreshold) {
  if (!mask || !fill) return;
  const SourceRect whole(0.0f, 0.0f, static_cast<float>(mask->getWidth()),
                         static_cast<float>(mask->getHeight()));
  drawImageOutlineTextured(x, y, mask, fill, thickness, alphaThreshold, mask->getWidth(),
                           mask->getHeight(), whole);
}

void Graphics::applyFilter(Texture*, ImageFilter*) {}

void Graphics::nop(int, int, int, int, int) {}
