#pragma once
// A Graphics that draws nothing: for code that needs somewhere to draw, and
// the base of fakes that watch only a few slots.
#include "Graphics.h"

class NullGraphics : public Graphics {
 public:
  using Graphics::drawImage;
  using Graphics::drawImageOutline;
  using Graphics::drawImageOutlineTextured;
  using Graphics::drawRect;
  using Graphics::fillRect;
  using Graphics::nop;

  void loadIdentity() override {}
  void clear() override {}
  void setProjection2D(int, int, int) override {}
  void setProjection3D(int, int, int) override {}
  void nop() override {}
  void fillRect(int, int, int, int, const Color&) override {}
  void drawRect(float, float, float, float, float, const Color&, bool) override {}
  void drawRect(const Rect5&, const Color&, bool) override {}
  void drawRect(int, int, int, int, const Color&, bool) override {}
  void drawCircle(float, float, float, float, const Color&) override {}
  void drawEllipse(float, float, float, float, float, const Color&) override {}
  void drawImage(int, int, unsigned int, unsigned int, Texture*, const SourceRect&,
                 const Color&) override {}
  void enableBlending(bool) override {}
  void pushMatrix() override {}
  void popMatrix() override {}
  void drawLine(const Vec2&, const Vec2&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void drawLine(const Vec3&, const Vec3&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void setScissor(int, int, int, int) override {}
  void enableScissor(bool, int) override {}
  void translate(float, float) override {}
  void rotate(float, float, float, float) override {}
  void scale(float, float) override {}
  void drawImageOutline(int, int, Texture*, const Color&, int, float, int, int,
                        const SourceRect&) override {}
  void drawImageOutlineTextured(int, int, Texture*, Texture*, int, float, int, int,
                                const SourceRect&) override {}
  void fillTriangle(const Vec2&, const Vec2&, const Vec2&, const Color&) override {}
  void drawTexturedQuad(Texture*, const Vec2&, const Vec2&, const Vec2&, const Vec2&,
                        const SourceRect&, const Color&) override {}
};
