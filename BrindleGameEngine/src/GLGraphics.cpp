#include "GLGraphics.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "DesignSize.h"
#include "GameApp.h"
#include "ImageFilter.h"
#include "Texture.h"

namespace {

constexpr float kByteToUnit = 0.003921569f;  // 1/255

void setColor(const Color& c) {
  glColor4f(c.r * kByteToUnit, c.g * kByteToUnit, c.b * kByteToUnit, c.a * kByteToUnit);
}

// The eight neighbours first, the centre last, as the outline's stencil count expects.
const int kOutlineOffsets[9][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1},
                                   {1, 1},  {1, -1}, {-1, 1}, {0, 0}};

}  // namespace

void GLGraphics::loadIdentity() { glLoadIdentity(); }

void GLGraphics::clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

void GLGraphics::setProjection2D(int width, int height, int depth) {
  viewportWidth_ = static_cast<float>(width);
  viewportHeight_ = static_cast<float>(height);
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -depth, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_COLOR_MATERIAL);
  glLoadIdentity();
}

void GLGraphics::setProjection3D(int width, int height, int /*unused*/) {
  viewportWidth_ = static_cast<float>(width);
  viewportHeight_ = static_cast<float>(height);
  glEnable(GL_TEXTURE_2D);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_POLYGON_SMOOTH);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Aspect in floating point; a zero height (minimised window) keeps it square.
  const double aspect = height != 0 ? static_cast<double>(width) / height : 1.0;
  gluPerspective(60.0, aspect, 0.1, 1000.0);
  glDepthRange(0.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_COLOR_MATERIAL);
  glLoadIdentity();
}

void GLGraphics::nop() {}

void GLGraphics::setup2D(int width, int height, int depth) {
  viewportWidth_ = static_cast<float>(width);
  viewportHeight_ = static_cast<float>(height);
  glEnable(GL_TEXTURE_2D);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glViewport(0, 0, width, height);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -depth, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_ALPHA_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_COLOR_MATERIAL);
  glLoadIdentity();
}

void GLGraphics::fillRect(int x, int y, int width, int height, const Color& color) {
  glDisable(GL_TEXTURE_2D);
  setColor(color);
  glBegin(GL_QUADS);
  glVertex3f(static_cast<float>(x), static_cast<float>(y), depth_);
  glVertex3f(static_cast<float>(x + width), static_cast<float>(y), depth_);
  glVertex3f(static_cast<float>(x + width), static_cast<float>(y + height), depth_);
  glVertex3f(static_cast<float>(x), static_cast<float>(y + height), depth_);
  glEnd();
}

void GLGraphics::drawRect(float x, float y, float width, float height, float lineWidth,
                          const Color& color, bool smooth) {
  drawLine(Vec2(x, y), Vec2(x + width, y), lineWidth, smooth, color, 0, 1);
  drawLine(Vec2(x + width, y), Vec2(x + width, y + height), lineWidth, smooth, color, 0, 1);
  drawLine(Vec2(x + width, y + height), Vec2(x, y + height), lineWidth, smooth, color, 0, 1);
  drawLine(Vec2(x, y + height), Vec2(x, y), lineWidth, smooth, color, 0, 1);
}

void GLGraphics::drawRect(const Rect5& rect, const Color& color, bool smooth) {
  drawRect(static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
           static_cast<int>(rect.height), color, smooth);
}

void GLGraphics::drawRect(int x, int y, int width, int height, const Color& color, bool smooth) {
  drawRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
           static_cast<float>(height), 1.0f, color, smooth);
}

void GLGraphics::drawCircle(float cx, float cy, float radius, float lineWidth,
                            const Color& color) {
  drawEllipse(cx, cy, radius, radius, lineWidth, color);
}

void GLGraphics::drawArc(float cx, float cy, float radius, int degrees, float lineWidth,
                         const Color& color) {
  for (int i = 0; i < degrees; ++i) {
    drawLine(circlePoint(cx, cy, radius, radius, static_cast<float>(i)),
             circlePoint(cx, cy, radius, radius, static_cast<float>(i + 1)), lineWidth, true,
             color, 0, 1);
  }
}

void GLGraphics::drawEllipse(float cx, float cy, float rx, float ry, float lineWidth,
                             const Color& color) {
  for (int i = 0; i < 360; ++i) {
    drawLine(circlePoint(cx, cy, rx, ry, static_cast<float>(i)),
             circlePoint(cx, cy, rx, ry, static_cast<float>(i + 1)), lineWidth, true, color, 0, 1);
  }
}

void GLGraphics::fillSector(float cx, float cy, float radius, int startDegrees, int endDegrees,
                            const Color& color) {
  glDisable(GL_TEXTURE_2D);
  setColor(color);
  glBegin(GL_TRIANGLES);
  for (int i = startDegrees; i < endDegrees; ++i) {
    const Vec2 next = circlePoint(cx, cy, radius, radius, static_cast<float>(i + 1));
    const Vec2 here = circlePoint(cx, cy, radius, radius, static_cast<float>(i));
    glVertex3f(cx, cy, depth_);
    glVertex3f(next.x, next.y, depth_);
    glVertex3f(here.x, here.y, depth_);
  }
  glEnd();
}

void GLGraphics::fillCircle(float cx, float cy, float radius, float /*unused*/,
                            const Color& color) {
  fillSector(cx, cy, radius, 0, 360, color);
}

void GLGraphics::drawImage(int x, int y, unsigned int width, unsigned int height,
                           Texture* texture, const SourceRect& source, const Color& color) {
  if (!texture || texture->getStorageWidth() <= 0 || texture->getStorageHeight() <= 0) return;
  setColor(color);
  glEnable(GL_TEXTURE_2D);
  texture->bind();
  glPushMatrix();
  const float sw = static_cast<float>(texture->getStorageWidth());
  const float sh = static_cast<float>(texture->getStorageHeight());
  const float s0 = source.left / sw;
  const float s1 = source.right / sw;
  const float t0 = source.top / sh;
  const float t1 = source.bottom / sh;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  glTranslatef(w * 0.5f, h * 0.5f, 0.0f);
  const float fx = static_cast<float>(x);
  const float fy = static_cast<float>(y);
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(s1, t0);
  glVertex3f(fx + w / 2, fy - h / 2, depth_);
  glTexCoord2f(s0, t0);
  glVertex3f(fx - w / 2, fy - h / 2, depth_);
  glTexCoord2f(s1, t1);
  glVertex3f(fx + w / 2, fy + h / 2, depth_);
  glTexCoord2f(s0, t1);
  glVertex3f(fx - w / 2, fy + h / 2, depth_);
  glEnd();
  glPopMatrix();
}

void GLGraphics::enableBlending(bool on) {
  if (on) glEnable(GL_BLEND);
}

void GLGraphics::pushMatrix() { glPushMatrix(); }

void GLGraphics::popMatrix() { glPopMatrix(); }

void GLGraphics::drawLine(const Vec2& a, const Vec2& b, float width, bool smooth,
                          const Color& color, unsigned short pattern, unsigned short factor) {
  drawLine(Vec3(a, depth_), Vec3(b, depth_), width, smooth, color, pattern, factor);
}

void GLGraphics::drawLine(const Vec3& a, const Vec3& b, float width, bool smooth,
                          const Color& color, unsigned short pattern, unsigned short factor) {
  glDisable(GL_TEXTURE_2D);
  if (smooth) glEnable(GL_LINE_SMOOTH); else glDisable(GL_LINE_SMOOTH);
  glLineWidth(width);
  setColor(color);
  if (pattern != 0) {
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(factor, pattern);
  }
  glBegin(GL_LINES);
  glVertex3f(a.x, a.y, a.z);
  glVertex3f(b.x, b.y, b.z);
  glEnd();
  if (pattern != 0) {
    glDisable(GL_LINE_STIPPLE);
    glPopAttrib();
  }
}

void GLGraphics::scissorBox(int x, int y, int width, int height, float sx, float sy, int out[4]) {
  out[0] = static_cast<int>(x * sx);
  out[1] = static_cast<int>((bge::kDesignHeight - (y + height)) * sy);
  out[2] = static_cast<int>(width * sx);
  out[3] = static_cast<int>(height * sy);
}

void GLGraphics::scaleFactors(float& sx, float& sy) const {
  if (const GameApp* app = GameApp::instance()) {
    sx = app->getScaleFactorX();
    sy = app->getScaleFactorY();
  } else {
    sx = scaleX_;
    sy = scaleY_;
  }
}

void GLGraphics::setScissor(int x, int y, int width, int height) {
  float sx = 1.0f, sy = 1.0f;
  scaleFactors(sx, sy);
  int box[4];
  scissorBox(x, y, width, height, sx, sy, box);
  glScissor(box[0], box[1], box[2], box[3]);
}

void GLGraphics::enableScissor(bool on, int /*unused*/) {
  if (on) glEnable(GL_SCISSOR_TEST); else glDisable(GL_SCISSOR_TEST);
}

void GLGraphics::translate(float x, float y) { glTranslatef(x, y, 0.0f); }

void GLGraphics::rotate(float angle, float x, float y, float z) { glRotatef(angle, x, y, z); }

void GLGraphics::scale(float sx, float sy) { glScalef(sx, sy, 1.0f); }

void GLGraphics::stencilMaskPass(int x, int y, Texture* mask, int thickness, float alphaThreshold,
                                 int width, int height, const SourceRect& source) {
  glClearStencil(255);
  glClear(GL_STENCIL_BUFFER_BIT);
  glEnable(GL_STENCIL_TEST);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, alphaThreshold);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glStencilFunc(GL_ALWAYS, 1, 0xFF);
  glStencilOp(GL_INCR_WRAP, GL_INCR_WRAP, GL_INCR_WRAP);
  // Every copy that covers a pixel counts once, so the ring around the shape
  // (covered by some copies but not all nine) is told apart from its inside.
  for (const auto& o : kOutlineOffsets) {
    drawImage(x + o[0] * thickness, y + o[1] * thickness, static_cast<unsigned int>(width),
              static_cast<unsigned int>(height), mask, source, Color::white);
  }
  glAlphaFunc(GL_ALWAYS, 0.0f);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glStencilFunc(GL_GREATER, 7, 0xFF);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void GLGraphics::drawImageOutline(int x, int y, Texture* texture, const Color& color,
                                  int thickness, float alphaThreshold, int width, int height,
                                  const SourceRect& source) {
  if (!texture) return;
  stencilMaskPass(x, y, texture, thickness, alphaThreshold, width, height, source);
  fillRect(x - thickness, y - thickness, width + 2 * thickness, height + 2 * thickness, color);
  glDisable(GL_STENCIL_TEST);
}

void GLGraphics::drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill,
                                          int thickness, float alphaThreshold, int width,
                                          int height, const SourceRect& source) {
  if (!mask || !fill) return;
  stencilMaskPass(x, y, mask, thickness, alphaThreshold, width, height, source);
  drawImage(x - thickness, y - thickness, fill, Color::white);
  glDisable(GL_STENCIL_TEST);
}

void GLGraphics::fillTriangle(const Vec2& a, const Vec2& b, const Vec2& c, const Color& color) {
  glDisable(GL_TEXTURE_2D);
  setColor(color);
  glBegin(GL_TRIANGLES);
  glVertex3f(a.x, a.y, depth_);
  glVertex3f(b.x, b.y, depth_);
  glVertex3f(c.x, c.y, depth_);
  glEnd();
}

void GLGraphics::drawTexturedQuad(Texture* texture, const Vec2& p1, const Vec2& p2,
                                  const Vec2& p3, const Vec2& p4, const SourceRect& source,
                                  const Color& color) {
  if (!texture || texture->getStorageWidth() <= 0 || texture->getStorageHeight() <= 0) return;
  setColor(color);
  glEnable(GL_TEXTURE_2D);
  texture->bind();
  glPushMatrix();
  const float sw = static_cast<float>(texture->getStorageWidth());
  const float sh = static_cast<float>(texture->getStorageHeight());
  glBegin(GL_QUADS);
  glTexCoord2f(source.left / sw, source.top / sh);
  glVertex3f(p1.x, p1.y, depth_);
  glTexCoord2f(source.right / sw, source.top / sh);
  glVertex3f(p2.x, p2.y, depth_);
  glTexCoord2f(source.right / sw, source.bottom / sh);
  glVertex3f(p3.x, p3.y, depth_);
  glTexCoord2f(source.left / sw, source.bottom / sh);
  glVertex3f(p4.x, p4.y, depth_);
  glEnd();
  glPopMatrix();
}

void GLGraphics::applyFilter(Texture* texture, ImageFilter* filter) {
  if (!texture || !filter || !texture->getImage()) return;
  filter->apply(texture->getImage());
  // Without a fresh upload the screen would keep showing the unfiltered pixels.
  texture->reload();
}

Texture* GLGraphics::cloneFiltered(Texture* texture, ImageFilter* filter) {
  if (!texture) return nullptr;
  Texture* copy = texture->clone();
  applyFilter(copy, filter);
  return copy;
}
