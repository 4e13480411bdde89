#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

#include "GLTexture.h"
#include "ImageFilter.h"
#include "MediaTestSupport.h"

namespace {

using media::near;
using media::readPixel;

const Color kRed(255, 0, 0, 255);
const Color kBlack(0, 0, 0, 255);
const Color kBlank(0, 0, 0, 0);

class GLGraphicsPixels : public media::GLSuite {
 protected:
  void SetUp() override {
    media::GLSuite::SetUp();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // A 16 x 16 texture: an opaque white 8 x 8 square at (4, 4), transparent around it.
  GLTexture* squareTexture() {
    const std::string path = media::writeImage(dirs.root() + "/square.png", 16, 16, [](int x, int y) {
      const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
      return inside ? Color::white : Color(0, 0, 0, 0);
    });
    return new GLTexture(path);
  }
};

TEST_F(GLGraphicsPixels, FillsCoverExactlyTheirRectangle) {
  graphics.fillRect(10, 20, 30, 40, kRed);
  EXPECT_TRUE(near(readPixel(10, 20), kRed));
  EXPECT_TRUE(near(readPixel(39, 59), kRed));
  EXPECT_TRUE(near(readPixel(40, 59), kBlack));
  EXPECT_TRUE(near(readPixel(39, 60), kBlack));
  EXPECT_TRUE(near(readPixel(9, 20), kBlack));

  graphics.fillCircle(200, 200, 20, 0, Color::green);
  EXPECT_TRUE(near(readPixel(200, 200), Color::green));
  EXPECT_TRUE(near(readPixel(210, 210), Color::green));
  EXPECT_TRUE(near(readPixel(218, 218), kBlack));  // outside the radius
  graphics.fillSector(400, 200, 20, 0, 90, Color::cyan);  // lower right quarter on screen
  EXPECT_TRUE(near(readPixel(408, 208), Color::cyan));
  EXPECT_TRUE(near(readPixel(392, 192), kBlack));
}

TEST_F(GLGraphicsPixels, StencilOutlinePaintsARingAndThicknessZeroPaintsNothing) {
  GLint stencilBits = 0;
  glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  ASSERT_GE(stencilBits, 8) << "the outline needs the stencil buffer";
  GLTexture* tex = squareTexture();

  graphics.drawImageOutline(100, 100, tex, kRed, 0, 0.5f);
  for (int y = 96; y < 120; ++y)
    for (int x = 96; x < 120; ++x) ASSERT_TRUE(near(readPixel(x, y), kBlack)) << x << "," << y;

  graphics.drawImageOutline(100, 100, tex, kRed, 2, 0.5f);
  EXPECT_TRUE(near(readPixel(103, 108), kRed));  // left of the square
  EXPECT_TRUE(near(readPixel(102, 108), kRed));
  EXPECT_TRUE(near(readPixel(113, 108), kRed));  // right of it
  EXPECT_TRUE(near(readPixel(108, 102), kRed));  // above
  EXPECT_TRUE(near(readPixel(101, 108), kBlack));  // beyond the ring
  EXPECT_TRUE(near(readPixel(108, 108), kBlack));  // the shape itself stays unpainted
  GLboolean stencilOn = GL_TRUE;
  glGetBooleanv(GL_STENCIL_TEST, &stencilOn);
  EXPECT_FALSE(stencilOn);

  // The textured ring takes the fill texture's pixels instead of a colour.
  GLTexture* fill = new GLTexture(media::writeSolid(dirs.root() + "/fill.png", 20, 20, Color::green));
  graphics.drawImageOutlineTextured(300, 100, tex, fill, 2, 0.5f);
  EXPECT_TRUE(near(readPixel(303, 108), Color::green));
  EXPECT_TRUE(near(readPixel(308, 108), kBlack));
  delete fill;
  delete tex;
}

TEST_F(GLGraphicsPixels, ScissorClipsInDesignCoordinatesUntilSwitchedOff) {
  graphics.setScissor(100, 100, 50, 50);
  graphics.enableScissor(true, 0);
  graphics.fillRect(0, 0, media::kWindowW, media::kWindowH, kRed);
  graphics.enableScissor(false, 0);
  EXPECT_TRUE(near(readPixel(100, 100), kRed));
  EXPECT_TRUE(near(readPixel(149, 149), kRed));
  EXPECT_TRUE(near(readPixel(150, 120), kBlack));
  EXPECT_TRUE(near(readPixel(120, 99), kBlack));
  EXPECT_TRUE(near(readPixel(120, 150), kBlack));
}

TEST_F(GLGraphicsPixels, PaddedTextureDrawsOnlyTheImage) {
  // 100 x 60 lives in a 128 x 64 texture; only the image's texels may show.
  GLTexture tex(media::writeSolid(dirs.root() + "/red.png", 100, 60, kRed));
  ASSERT_EQ(tex.getStorageWidth(), 128);
  graphics.drawImage(0, 0, &tex, Color::white);
  EXPECT_TRUE(near(readPixel(0, 0), kRed));
  EXPECT_TRUE(near(readPixel(99, 0), kRed));
  EXPECT_TRUE(near(readPixel(99, 59), kRed));
  EXPECT_TRUE(near(readPixel(100, 30), kBlack));
  EXPECT_TRUE(near(readPixel(50, 60), kBlack));

  // The colour modulates: opaque white leaves the image, half green keeps none of the red.
  graphics.drawImage(200, 0, &tex, Color(0, 255, 0, 255));
  EXPECT_TRUE(near(readPixel(250, 30), kBlack));
}

TEST_F(GLGraphicsPixels, TexturedQuadAndSourceRegionsPickTheirTexels) {
  // Left half red, right half green.
  GLTexture tex(media::writeImage(dirs.root() + "/halves.png", 32, 32, [](int x, int) {
    return x < 16 ? kRed : Color::green;
  }));
  graphics.drawImage(10, 10, 40, 40, &tex, SourceRect(16, 0, 32, 32), Color::white);
  EXPECT_TRUE(near(readPixel(12, 30), Color::green));
  EXPECT_TRUE(near(readPixel(48, 30), Color::green));

  using V = QuillonPHX2D::Vec2;
  graphics.drawTexturedQuad(&tex, V(100, 100), V(164, 100), V(164, 164), V(100, 164),
                            SourceRect(0, 0, 16, 32), Color::white);
  EXPECT_TRUE(near(readPixel(110, 110), kRed));
  EXPECT_TRUE(near(readPixel(160, 160), kRed));
  EXPECT_TRUE(near(readPixel(170, 130), kBlack));
}

TEST_F(GLGraphicsPixels, RotationTurnsAnImageAboutTheOrigin) {
  GLTexture tex(media::writeSolid(dirs.root() + "/bar.png", 64, 8, kRed));
  graphics.pushMatrix();
  graphics.translate(300, 300);
  graphics.rotate(90, 0, 0, 1);  // x now points down the screen
  graphics.drawImage(0, -4, &tex, Color::white);
  graphics.popMatrix();
  EXPECT_TRUE(near(readPixel(300, 340), kRed));
  EXPECT_TRUE(near(readPixel(340, 300), kBlack));
}

TEST_F(GLGraphicsPixels, CloneFilteredDrawsTheFilteredPixels) {
  GLTexture tex(media::writeSolid(dirs.root() + "/pure.png", 8, 8, kRed));
  IntensityAsAlphaImageFilter filter;
  Texture* clone = graphics.cloneFiltered(&tex, &filter);
  ASSERT_NE(clone, nullptr);
  graphics.drawImage(0, 0, &tex, Color::white);
  graphics.drawImage(20, 0, clone, Color::white);
  EXPECT_TRUE(near(readPixel(4, 4), kRed));
  // Red intensity 85 becomes white at alpha 84 over black.
  EXPECT_TRUE(near(readPixel(24, 4), Color(84, 84, 84, 255), 3)) << int(readPixel(24, 4).r);
  delete clone;
  EXPECT_EQ(graphics.cloneFiltered(nullptr, &filter), nullptr);
}

TEST_F(GLGraphicsPixels, PerspectiveWithZeroHeightStaysFinite) {
  glGetError();
  graphics.setProjection3D(800, 0, 0);
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  for (float v : m) EXPECT_TRUE(std::isfinite(v));
  graphics.setProjection3D(800, 600, 0);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  // gluPerspective puts f / aspect in m[0] and f in m[5]: their ratio is 600/800.
  EXPECT_NEAR(m[0] / m[5], 600.0f / 800.0f, 1e-5);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  graphics.setProjection2D(media::kWindowW, media::kWindowH, 1000);
  GLboolean depth = GL_TRUE;
  glGetBooleanv(GL_DEPTH_TEST, &depth);
  EXPECT_FALSE(depth);
}

TEST_F(GLGraphicsPixels, BlendingCanOnlyBeSwitchedOn) {
  glDisable(GL_BLEND);
  graphics.enableBlending(true);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  graphics.enableBlending(false);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

}  // namespace
