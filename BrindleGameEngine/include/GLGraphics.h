#pragma once
#include "Graphics.h"

// Graphics on OpenGL in immediate mode; the application owns the one instance.
class GLGraphics : public Graphics {
 public:
  GLGraphics() = default;
  ~GLGraphics() override = default;

  using Graphics::drawImage;
  using Graphics::drawImageOutline;
  using Graphics::drawImageOutlineTextured;
  using Graphics::drawRect;
  using Graphics::fillRect;
  using Graphics::nop;

  void loadIdentity() override;
  void clear() override;
  void setProjection2D(int width, int height, int depth) override;
  void setProjection3D(int width, int height, int unused) override;
  void nop() override;
  void fillRect(int x, int y, int width, int height, const Color& color) override;
  void drawRect(float x, float y, float width, float height, float lineWidth, const Color& color,
                bool smooth) override;
  void drawRect(const Rect5& rect, const Color& color, bool smooth) override;
  void drawRect(int x, int y, int width, int height, const Color& color, bool smooth) override;
  void drawCircle(float cx, float cy, float radius, float lineWidth, const Color& color) override;
  void drawArc(float cx, float cy, float radius, int degrees, float lineWidth,
               const Color& color) override;
  void drawEllipse(float cx, float cy, float rx, float ry, float lineWidth,
                   const Color& color) override;
  void fillSector(float cx, float cy, float radius, int startDegrees, int endDegrees,
                  const Color& color) override;
  void fillCircle(float cx, float cy, float radius, float unused, const Color& color) override;
  void drawImage(int x, int y, unsigned int width, unsigned int height, Texture* texture,
                 const SourceRect& source, const Color& color) override;
  void enableBlending(bool on) override;
  void pushMatrix() override;
  void popMatrix() override;
  void drawLine(const Vec2& a, const Vec2& b, float width, bool smooth, const Color& color,
                unsigned short pattern, unsigned short factor) override;
  void drawLine(const Vec3& a, const Vec3& b, float width, bool smooth, const Color& color,
                unsigned short pattern, unsigned short factor) override;
  void setScissor(int x, int y, int width, int height) override;
  void enableScissor(bool on, int unused) override;
  void translate(float x, float y) override;
  void rotate(float angle, float x, float y, float z) override;
  void scale(float sx, float sy) override;
  void drawImageOutline(int x, int y, Texture* texture, const Color& color, int thickness,
                        float alphaThreshold, int width, int height,
                        const SourceRect& source) override;
  void drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill, int thickness,
                                float alphaThreshold, int width, int height,
                                const SourceRect& source) override;
  void fillTriangle(const Vec2& a, const Vec2& b, const Vec2& c, const Color& color) override;
  void drawTexturedQuad(Texture* texture, const Vec2& p1, const Vec2& p2, const Vec2& p3,
                        const Vec2& p4, const SourceRect& source, const Color& color) override;
  // Filters the kept pixels and uploads them again, so what is drawn is filtered.
  void applyFilter(Texture* texture, ImageFilter* filter) override;
  // A filtered copy of the texture; the caller owns it (null without a texture).
  virtual Texture* cloneFiltered(Texture* texture, ImageFilter* filter);

  // Window created or resized: viewport, clear colour, blending and the 2D projection.
  void setup2D(int width, int height, int depth);

  float getViewportWidth() const { return viewportWidth_; }
  float getViewportHeight() const { return viewportHeight_; }

  // The window/design scale used by setScissor. It follows the application's
  // scale factors when an application exists; otherwise these values (1, 1).
  void setScaleFactors(float sx, float sy) { scaleX_ = sx; scaleY_ = sy; }

  // setScissor's mapping, exposed for checking: design rectangle -> window box.
  static void scissorBox(int x, int y, int width, int height, float sx, float sy, int out[4]);

  // Set while a menu (the options over the title screen) lies over another;
  // the drawing itself does not read it.
  void setMenuOverlay(bool on) { menuOverlay_ = on; }
  bool menuOverlay() const { return menuOverlay_; }

 private:
  void scaleFactors(float& sx, float& sy) const;
  void stencilMaskPass(int x, int y, Texture* mask, int thickness, float alphaThreshold, int width,
                       int height, const SourceRect& source);

  float viewportWidth_ = 0.0f;
  float viewportHeight_ = 0.0f;
  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
  bool menuOverlay_ = false;
};
