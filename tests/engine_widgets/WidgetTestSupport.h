#pragma once
// Fakes and fixtures for the widget suite: where a recording's images land, a font with fixed metrics, textures with alpha-only pixels, a bare
// screen, a GL context for the tests that load real textures, and small files.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Color.h"
#include "Font.h"
#include "Graphics.h"
#include "MinimalSurfaceImage.h"
#include "PointingDeviceEvent.h"
#include "RecordingGraphics.h"
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

// The images a recording drew, where each landed.
inline std::vector<DrawnImage> imagesOf(const RecordingGraphics& g) {
  std::vector<DrawnImage> out;
  for (const GraphicsCall& c : g.callsOf("drawImage")) {
    out.push_back(DrawnImage{c.texture, c.screenX, c.screenY, c.z, c.source, c.color});
  }
  return out;
}

// The turns and scales of a recording, as "rotate <degrees>" and "scale <x> <y>".
inline std::vector<std::string> turnsAndScalesOf(const RecordingGraphics& g) {
  std::vector<std::string> out;
  for (const GraphicsCall& c : g.calls) {
    if (c.op == "rotate") out.push_back("rotate " + std::to_string(static_cast<int>(c.extra)));
    if (c.op == "scale") out.push_back("scale " + std::to_string(c.x) + " " + std::to_string(c.y));
  }
  return out;
}

inline bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

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
    image_ = std::make_unique<MinimalSurfaceImage>(alpha, w, h);
  }
  AlphaTexture(int w, int h) : AlphaTexture(w, h, [](int, int) { return 255; }) {}
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
