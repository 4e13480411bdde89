#pragma once
#include "Color.h"
#include "PhysicsMath.h"
#include "Rect5.h"
#include "SourceRect.h"

class Texture;
class ImageFilter;

// The engine's drawing interface, in design coordinates (x right, y down,
// origin top-left); every 2D vertex takes the current depth as its z. The
// convenience overloads are written once here on top of the primitive slots.
// Angles of circular shapes are degrees, growing clockwise on screen.
class Graphics {
 public:
  using Vec2 = QuillonPHX2D::Vec2;
  using Vec3 = QuillonPHX2D::Vec3;

  Graphics() = default;
  virtual ~Graphics() = default;
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  virtual void loadIdentity() = 0;
  virtual void clear() = 0;
  virtual void setProjection2D(int width, int height, int depth) = 0;
  virtual void setProjection3D(int width, int height, int unused) = 0;
  virtual void nop() = 0;

  virtual void fillRect(const Rect5& rect, const Color& color);
  virtual void fillRect(int x, int y, int width, int height, const Color& color) = 0;
  virtual void drawRect(float x, float y, float width, float height, float lineWidth,
                        const Color& color, bool smooth) = 0;
  virtual void drawRect(const Rect5& rect, const Color& color, bool smooth) = 0;
  virtual void drawRect(int x, int y, int width, int height, const Color& color, bool smooth) = 0;

  virtual void drawCircle(float cx, float cy, float radius, float lineWidth, const Color& color) = 0;
  virtual void drawArc(float cx, float cy, float radius, int degrees, float lineWidth,
                       const Color& color);
  virtual void drawEllipse(float cx, float cy, float rx, float ry, float lineWidth,
                           const Color& color) = 0;
  virtual void fillSector(float cx, float cy, float radius, int startDegrees, int endDegrees,
                          const Color& color);
  virtual void fillCircle(float cx, float cy, float radius, float unused, const Color& color);

  // Whole texture at (x, y).
  virtual void drawImage(int x, int y, Texture* texture, const Color& color);
  // A region of the texture stretched to width x height, top-left at (x, y).
  virtual void drawImage(int x, int y, unsigned int width, unsigned int height, Texture* texture,
                         const SourceRect& source, const Color& color) = 0;
  // A region at its own size.
  virtual void drawImage(int x, int y, Texture* texture, const SourceRect& source,
                         const Color& color);
  // One frame of a horizontal strip of frameCount frames.
  virtual void drawFrameH(int x, int y, int frameCount, int frameIndex, Texture* texture,
                          const Color& color);
  // One frame of a vertical strip.
  virtual void drawFrameV(int x, int y, int frameCount, int frameIndex, Texture* texture,
                          const Color& color);
  // One frame of a grid, counted along rows (rowMajor) or down columns.
  virtual void drawFrame(int x, int y, int columns, int rows, int index, Texture* texture,
                         const Color& color, bool rowMajor);

  // Only switches blending on; false leaves it as it is.
  virtual void enableBlending(bool on) = 0;
  virtual void pushMatrix() = 0;
  virtual void popMatrix() = 0;
  // A stipple pattern of 0 draws a solid line.
  virtual void drawLine(const Vec2& a, const Vec2& b, float width, bool smooth, const Color& color,
                        unsigned short pattern, unsigned short factor) = 0;
  virtual void drawLine(const Vec3& a, const Vec3& b, float width, bool smooth, const Color& color,
                        unsigned short pattern, unsigned short factor) = 0;
  // Design coordinates; the scissor test itself is switched by enableScissor.
  virtual void setScissor(int x, int y, int width, int height) = 0;
  virtual void enableScissor(bool on, int unused) = 0;
  virtual void translate(float x, float y) = 0;
  virtual void rotate(float angle, float x, float y, float z) = 0;
  virtual void scale(float sx, float sy) = 0;

  // A ring of the colour, thickness pixels wide, around the texels whose alpha
  // exceeds the threshold (stencil buffer needed).
  virtual void drawImageOutline(int x, int y, Texture* texture, const Color& color, int thickness,
                                float alphaThreshold, int width, int height,
                                const SourceRect& source) = 0;
  virtual void drawImageOutline(int x, int y, Texture* texture, const Color& color, int thickness,
                                float alphaThreshold);
  // The same ring filled with a second texture instead of a colour.
  virtual void drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill, int thickness,
                                        float alphaThreshold, int width, int height,
                                        const SourceRect& source) = 0;
  virtual void drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill, int thickness,
                                        float alphaThreshold);
  virtual void fillTriangle(const Vec2& a, const Vec2& b, const Vec2& c, const Color& color) = 0;
  // p1..p4 take the region's corners top-left, top-right, bottom-right, bottom-left.
  virtual void drawTexturedQuad(Texture* texture, const Vec2& p1, const Vec2& p2, const Vec2& p3,
                                const Vec2& p4, const SourceRect& source, const Color& color) = 0;
  // Runs the filter over the texture's kept pixels.
  virtual void applyFilter(Texture* texture, ImageFilter* filter);
  virtual void nop(int a, int b, int c, int d, int e);

  void setDepth(float depth) { depth_ = depth; }
  float getDepth() const { return depth_; }

  // The point at angle degrees on a circle, as every circular shape computes it.
  static Vec2 circlePoint(float cx, float cy, float rx, float ry, float degrees);

 protected:
  float depth_ = 0.0f;
};
