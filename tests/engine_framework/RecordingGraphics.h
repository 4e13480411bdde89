#pragma once
// A Graphics that draws nothing and writes down the calls screens and
// transitions make, as short text lines.
#include <sstream>
#include <string>
#include <vector>

#include "Graphics.h"

class RecordingGraphics : public Graphics {
 public:
  std::vector<std::string> calls;
  std::vector<Rect5> fills;
  std::vector<Color> fillColors;
  int depth = 0;
  int maxDepth = 0;

  void clearLog() {
    calls.clear();
    fills.clear();
    fillColors.clear();
  }
  // The calls whose text starts with the prefix.
  std::vector<std::string> only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls) if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }

  void loadIdentity() override { calls.push_back("identity"); }
  void clear() override {}
  void setProjection2D(int, int, int) override {}
  void setProjection3D(int, int, int) override {}
  void nop() override {}
  using Graphics::fillRect;
  void fillRect(int x, int y, int width, int height, const Color& color) override {
    fills.emplace_back(x, y, width, height);
    fillColors.push_back(color);
    std::ostringstream s;
    s << "fill " << x << " " << y << " " << width << " " << height << " a" << int(color.a);
    calls.push_back(s.str());
  }
  void drawRect(float, float, float, float, float, const Color&, bool) override {}
  void drawRect(const Rect5&, const Color&, bool) override {}
  void drawRect(int, int, int, int, const Color&, bool) override {}
  void drawCircle(float, float, float, float, const Color&) override {}
  void drawEllipse(float, float, float, float, float, const Color&) override {}
  using Graphics::drawImage;
  void drawImage(int, int, unsigned int, unsigned int, Texture*, const SourceRect&,
                 const Color&) override {}
  void enableBlending(bool) override {}
  void pushMatrix() override {
    calls.push_back("push");
    maxDepth = ++depth > maxDepth ? depth : maxDepth;
  }
  void popMatrix() override {
    calls.push_back("pop");
    --depth;
  }
  void drawLine(const Vec2&, const Vec2&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void drawLine(const Vec3&, const Vec3&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void setScissor(int, int, int, int) override {}
  void enableScissor(bool, int) override {}
  void translate(float x, float y) override {
    std::ostringstream s;
    s << "translate " << x << " " << y;
    calls.push_back(s.str());
  }
  void rotate(float, float, float, float) override {}
  void scale(float sx, float sy) override {
    std::ostringstream s;
    s << "scale " << sx << " " << sy;
    calls.push_back(s.str());
  }
  using Graphics::drawImageOutline;
  void drawImageOutline(int, int, Texture*, const Color&, int, float, int, int,
                        const SourceRect&) override {}
  using Graphics::drawImageOutlineTextured;
  void drawImageOutlineTextured(int, int, Texture*, Texture*, int, float, int, int,
                                const SourceRect&) override {}
  void fillTriangle(const Vec2&, const Vec2&, const Vec2&, const Color&) override {}
  void drawTexturedQuad(Texture*, const Vec2&, const Vec2&, const Vec2&, const Vec2&,
                        const SourceRect&, const Color&) override {}
};
