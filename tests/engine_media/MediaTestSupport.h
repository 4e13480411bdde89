#pragma once
// Shared by the media suites: a GL context per suite, pixel read-back and
// small images written at run time.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Color.h"
#include "GLGraphics.h"
#include "TestEnv.h"

namespace media {

constexpr int kWindowW = 1366;
constexpr int kWindowH = 768;

class GLSuite : public ::testing::Test {
 protected:
  // One context for the whole program: closing it unloads the GL driver, whose
  // own allocations would then show up as leaks of an unknown module.
  static testenv::GLContext& context() {
    static testenv::GLContext ctx;
    static bool opened = ctx.open(kWindowW, kWindowH);
    (void)opened;
    return ctx;
  }
  void SetUp() override {
    ASSERT_NE(context().window(), nullptr) << SDL_GetError();
    graphics.setup2D(kWindowW, kWindowH, 1000);
  }

  GLGraphics graphics;
  testenv::TempUserDirs dirs;  // a fresh folder for the images each test writes
};

// The pixel at design position (x, y) of the back buffer (y downwards).
inline Color readPixel(int x, int y) {
  unsigned char p[4] = {0, 0, 0, 0};
  glFinish();
  glReadPixels(x, kWindowH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return Color(p[0], p[1], p[2], p[3]);
}

inline bool near(const Color& a, const Color& b, int tolerance = 2) {
  auto d = [](int u, int v) { return u > v ? u - v : v - u; };
  return d(a.r, b.r) <= tolerance && d(a.g, b.g) <= tolerance && d(a.b, b.b) <= tolerance;
}

// Writes a w x h RGBA image whose pixels come from paint(x, y).
inline std::string writeImage(const std::string& path, int w, int h,
                              const std::function<Color(int, int)>& paint, bool jpeg = false) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Color c = paint(x, y);
      Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
      row[x] = SDL_MapRGBA(s->format, c.r, c.g, c.b, c.a);
    }
  }
  const int rc = jpeg ? IMG_SaveJPG(s, path.c_str(), 100) : IMG_SavePNG(s, path.c_str());
  SDL_FreeSurface(s);
  EXPECT_EQ(rc, 0) << SDL_GetError();
  return path;
}

inline std::string writeSolid(const std::string& path, int w, int h, const Color& c,
                              bool jpeg = false) {
  return writeImage(path, w, h, [c](int, int) { return c; }, jpeg);
}

}  // namespace media
