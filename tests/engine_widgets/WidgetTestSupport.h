#pragma once
// Fakes and fixtures for the widget suite: a Graphics that records where images
// land, a font with fixed metrics, textures with alpha-only pixels, a bare
// screen, a GL context for the tests that load real textures, and small files.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Color.h"
#include "Font.h"
#include "Graphics.h"
#include "MinimalSurfaceImage.h"
#include "PointingDeviceEvent.h"
#include "ScreenBase.h"
#include "TestEnv.h"
#include "Texture.h"
#include "Widget.h"

namespace widgettest {

struct DrawnImage {
  Texture* texture;
  float x;  // where the image's origin lands after the translations so far
  float y;
  float depth;
  SourceRect source;
  Color color;
};

struct DrawnText {
  std::string text;
  float x;
  float y;
  Color color;
};

// Tracks translations and scales (turns are only recorded).
class RecordingGraphics : public Graphics {
 public:
  using Graphics::drawImage;
  using Graphics::drawImageOutline;
  using Graphics::drawImageOutlineTextured;
  using Graphics::fillRect;
  using Graphics::nop;

  std::vector<DrawnImage> images;
  std::vector<Rect5> fills;
  std::vector<Color> fillColors;
  std::vector<std::string> ops;

  void loadIdentity() override {}
  void clear() override {}
  void setProjection2D(int, int, int) override {}
  void setProjection3D(int, int, int) override {}
  void nop() override {}
  void fillRect(int x, int y, int w, int h, const Color& c) override {
    fills.push_back(Rect5(x + ox_, y + oy_, static_cast<float>(w), static_cast<float>(h)));
    fillColors.push_back(c);
  }
  void drawRect(float, float, float, float, float, const Color&, bool) override {}
  void drawRect(const Rect5&, const Color&, bool) override {}
  void drawRect(int, int, int, int, const Color&, bool) override {}
  void drawCircle(float, float, float, float, const Color&) override {}
  void drawEllipse(float, float, float, float, float, const Color&) override {}
  void drawImage(int x, int y, unsigned int, unsigned int, Texture* t, const SourceRect& s,
                 const Color& c) override {
    images.push_back(DrawnImage{t, ox_ + x * sx_, oy_ + y * sy_, getDepth(), s, c});
  }
  void enableBlending(bool) override {}
  void pushMatrix() override { stack_.push_back({ox_, oy_, sx_, sy_}); }
  void popMatrix() override {
    if (stack_.empty()) return;
    ox_ = stack_.back()[0];
    oy_ = stack_.back()[1];
    sx_ = stack_.back()[2];
    sy_ = stack_.back()[3];
    stack_.pop_back();
  }
  void drawLine(const Vec2&, const Vec2&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void drawLine(const Vec3&, const Vec3&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void setScissor(int, int, int, int) override {}
  void enableScissor(bool, int) override {}
  void translate(float x, float y) override {
    ox_ += x * sx_;
    oy_ += y * sy_;
  }
  void rotate(float angle, float, float, float) override {
    ops.push_back("rotate " + std::to_string(static_cast<int>(angle)));
  }
  void scale(float sx, float sy) override {
    ops.push_back("scale " + std::to_string(sx) + " " + std::to_string(sy));
    sx_ *= sx;
    sy_ *= sy;
  }
  void drawImageOutline(int, int, Texture*, const Color&, int, float, int, int,
                        const SourceRect&) override {}
  void drawImageOutlineTextured(int, int, Texture*, Texture*, int, float, int, int,
                                const SourceRect&) override {}
  void fillTriangle(const Vec2&, const Vec2&, const Vec2&, const Color&) override {}
  void drawTexturedQuad(Texture*, const Vec2&, const Vec2&, const Vec2&, const Vec2&,
                        const SourceRect&, const Color&) override {}

  float offsetX() const { return ox_; }
  float offsetY() const { return oy_; }
  float scaleX() const { return sx_; }
  float scaleY() const { return sy_; }
  size_t depth() const { return stack_.size(); }

 private:
  float ox_ = 0.0f;
  float oy_ = 0.0f;
  float sx_ = 1.0f;
  float sy_ = 1.0f;
  std::vector<std::array<float, 4>> stack_;
};

// Every character is 10 wide, lines are 20 high; drawn texts are remembered.
class FixedFont : public Font {
 public:
  FixedFont() { lineHeight_ = 20; }
  bool loadDeferred() override { return false; }
  int textWidth(const std::string& text) override {
    int n = 0;
    for (char c : text) n += c == '\n' ? 0 : 10;
    return n;
  }
  void drawTextToTarget(FontDrawTarget*, int, int, const std::string&, int, int) override {}
  void drawText(Graphics* g, int x, int y, const std::string& text, const Color& c) override {
    float ox = 0.0f;
    float oy = 0.0f;
    if (auto* rec = dynamic_cast<RecordingGraphics*>(g)) {
      ox = rec->offsetX();
      oy = rec->offsetY();
    }
    drawn.push_back(DrawnText{text, x + ox, y + oy, c});
  }
  void reloadPages() override {}
  void unloadPages() override {}
  Point2i caretPosition(const std::string&, int, const QuillonPHX2D::Vec2&, int) override {
    return Point2i();
  }
  std::vector<DrawnText> drawn;
};

// A texture without GL whose pixels hold only alpha, painted by a function.
class AlphaTexture : public Texture {
 public:
  AlphaTexture(int w, int h, const std::function<int(int, int)>& alphaAt) {
    width_ = w;
    height_ = h;
    storageWidth_ = w;
    storageHeight_ = h;
    loaded_ = true;
    unsigned char* alpha = new unsigned char[static_cast<size_t>(w) * h];
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) alpha[y * w + x] = static_cast<unsigned char>(alphaAt(x, y));
    image_ = new MinimalSurfaceImage(alpha, w, h);
  }
  AlphaTexture(int w, int h) : AlphaTexture(w, h, [](int, int) { return 255; }) {}
  ~AlphaTexture() override { delete image_; }
  bool loadDeferred() override { return false; }
  void bind() override {}
  void reload() override {}
  void unload() override {}
  Texture* clone() override { return nullptr; }
};

// A screen with nothing of its own, for widgets that talk to their screen.
class BareScreen : public ScreenBase {
 public:
  BareScreen() : ScreenBase("bare") {}
  // Stands in for the full-screen widget of an entered screen, so the pointer
  // is always over something.
  void addBackdrop() {
    Widget* backdrop = new Widget();
    backdrop->setRect(0, 0, 1366, 768);
    addWidget(backdrop);
  }
  void prepare() override {}
  void init() override {}
};

inline PointingDeviceEvent pointer(int kind, int x, int y, int buttons = 0) {
  PointingDeviceEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.buttons = buttons;
  return e;
}

// One GL context for the whole process; opened by the first test that needs it.
inline bool openGL() {
  static testenv::GLContext context;
  static bool opened = context.open();
  return opened;
}

inline std::string writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return path;
}

inline std::string writeImage(const std::string& path, int w, int h,
                              const std::function<Color(int, int)>& paint) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
  for (int y = 0; y < h; ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < w; ++x) {
      const Color c = paint(x, y);
      row[x] = SDL_MapRGBA(s->format, c.r, c.g, c.b, c.a);
    }
  }
  EXPECT_EQ(0, IMG_SavePNG(s, path.c_str())) << SDL_GetError();
  SDL_FreeSurface(s);
  return path;
}

inline std::string writeSolid(const std::string& path, int w, int h) {
  return writeImage(path, w, h, [](int, int) { return Color::white; });
}

}  // namespace widgettest
