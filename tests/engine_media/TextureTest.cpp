#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "GLTexture.h"
#include "ImageFilter.h"
#include "MediaTestSupport.h"
#include "MinimalSurfaceImage.h"
#include "SDLSurfaceImage.h"

namespace {

using media::near;

class TextureTest : public media::GLSuite {
 protected:
  std::string path(const std::string& name) const { return dirs.root() + "/" + name; }
};

TEST_F(TextureTest, StorageIsThePowerOfTwoAroundTheImage) {
  GLTexture odd(media::writeSolid(path("odd.png"), 100, 60, Color::white));
  EXPECT_TRUE(odd.isLoaded());
  EXPECT_EQ(odd.getWidth(), 100);
  EXPECT_EQ(odd.getHeight(), 60);
  EXPECT_EQ(odd.getStorageWidth(), 128);
  EXPECT_EQ(odd.getStorageHeight(), 64);
  EXPECT_NE(odd.getGLName(), 0u);
  // The padding of the kept image is transparent.
  EXPECT_EQ(odd.getImage()->getPixel(110, 10).a, 0);
  EXPECT_EQ(odd.getImage()->getPixel(10, 10).a, 255);

  GLTexture square(media::writeSolid(path("sq.png"), 64, 64, Color::white));
  EXPECT_EQ(square.getStorageWidth(), 64);
  EXPECT_EQ(square.getStorageHeight(), 64);
  GLTexture dot(media::writeSolid(path("dot.png"), 1, 1, Color::white));
  EXPECT_EQ(dot.getStorageWidth(), 1);
  EXPECT_EQ(GLTexture::nextPowerOfTwo(256), 256);
  EXPECT_EQ(GLTexture::nextPowerOfTwo(257), 512);
}

TEST_F(TextureTest, JpegTakesAlphaFromItsCompanionMask) {
  media::writeSolid(path("ship.jpg"), 16, 16, Color(200, 100, 50, 255), true);
  media::writeSolid(path("ship_.jpg"), 16, 16, Color(30, 60, 90, 255), true);
  GLTexture ship(path("ship.jpg"));
  ASSERT_NE(ship.getAlphaMap(), nullptr);
  EXPECT_NEAR(ship.getImage()->getPixel(5, 5).a, 60, 3);  // (30 + 60 + 90) / 3
  EXPECT_NEAR(ship.getAlphaMap()[5 * 16 + 5], 60, 3);

  // Upper-case extensions are found, and the mask keeps the extension's case.
  media::writeSolid(path("Title.JPEG"), 8, 8, Color::white, true);
  media::writeSolid(path("Title_.JPEG"), 8, 8, Color(0, 0, 0, 255), true);
  GLTexture title(path("Title.JPEG"));
  EXPECT_LE(title.getImage()->getPixel(2, 2).a, 3);

  media::writeSolid(path("plain.jpg"), 8, 8, Color(10, 20, 30, 255), true);
  GLTexture plain(path("plain.jpg"));
  EXPECT_EQ(plain.getAlphaMap(), nullptr);
  EXPECT_EQ(plain.getImage()->getPixel(2, 2).a, 255);

  // A PNG never looks for a mask.
  media::writeSolid(path("logo.png"), 8, 8, Color::white);
  media::writeSolid(path("logo_.png"), 8, 8, Color(0, 0, 0, 255));
  GLTexture logo(path("logo.png"));
  EXPECT_EQ(logo.getAlphaMap(), nullptr);
  EXPECT_EQ(GLTexture::maskFileName("a/b.c/ship.jpg"), "a/b.c/ship_.jpg");
}

TEST_F(TextureTest, AnUnusableImageIsNamedOnceAndLeftEmpty) {
  // A PNG header claiming 30000 x 30000 pixels, the rest of the file missing.
  const std::string huge = path("huge.png");
  std::ofstream(huge, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0", 29);
  const struct {
    std::string file;
    std::string said;
  } cases[] = {{path("nothing.png"), "ERROR: Missing image file! [" + path("nothing.png") + "]\n"},
               {huge, "ERROR: image file [" + huge + "] claims 30000 x 30000 pixels"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    testing::internal::CaptureStdout();
    // The program goes on past a picture it cannot use.
    GLTexture texture(c.file);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind(c.said, 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_FALSE(texture.isLoaded());
    EXPECT_EQ(texture.getGLName(), 0u);
    EXPECT_EQ(texture.getImage(), nullptr);
    EXPECT_EQ(texture.getWidth(), 0);
    EXPECT_EQ(texture.getHeight(), 0);
    EXPECT_EQ(texture.getStorageWidth(), 0);
    EXPECT_EQ(texture.getStorageHeight(), 0);
    texture.reload();  // nothing to upload: must not crash
    EXPECT_EQ(texture.getGLName(), 0u);
  }
}

TEST_F(TextureTest, UnloadForgetsTheNameAndReloadUploadsTheKeptImage) {
  GLTexture tex(media::writeSolid(path("r.png"), 10, 10, Color(255, 0, 0, 255)));
  const unsigned int first = tex.getGLName();
  ASSERT_NE(first, 0u);
  tex.unload();
  EXPECT_EQ(tex.getGLName(), 0u);
  EXPECT_FALSE(glIsTexture(first));
  EXPECT_TRUE(tex.isLoaded());  // so reload knows it had been loaded
  tex.unload();                 // twice is harmless
  tex.reload();
  ASSERT_NE(tex.getGLName(), 0u);
  EXPECT_EQ(tex.getStorageWidth(), 16);
  graphics.drawImage(0, 0, &tex, Color::white);
  EXPECT_TRUE(near(media::readPixel(5, 5), Color(255, 0, 0, 255)));
  // Reloading while loaded replaces the upload instead of leaking it.
  const unsigned int second = tex.getGLName();
  tex.reload();
  EXPECT_FALSE(glIsTexture(second) && second != tex.getGLName());

  Texture* copy = tex.clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->getWidth(), 10);
  EXPECT_NE(static_cast<GLTexture*>(copy)->getGLName(), tex.getGLName());
  delete copy;
}

TEST_F(TextureTest, RetentionModesKeepAlphaOrNothing) {
  const std::string file = media::writeImage(path("half.png"), 4, 4, [](int x, int) {
    return x < 2 ? Color(9, 9, 9, 0) : Color(9, 9, 9, 200);
  });
  GLTexture alphaOnly(file, nullptr, GLTexture::KeepAlphaOnly);
  auto* minimal = dynamic_cast<MinimalSurfaceImage*>(alphaOnly.getImage());
  ASSERT_NE(minimal, nullptr);
  EXPECT_TRUE(minimal->isTransparent(0, 0));
  EXPECT_EQ(minimal->getPixel(3, 0).a, 200);
  // Without its pixels a texture reads its file again for a new context.
  alphaOnly.unload();
  alphaOnly.reload();
  EXPECT_NE(alphaOnly.getGLName(), 0u);
  EXPECT_NE(dynamic_cast<MinimalSurfaceImage*>(alphaOnly.getImage()), nullptr);

  GLTexture dropped(file, nullptr, GLTexture::DropImage);
  EXPECT_EQ(dropped.getImage(), nullptr);
  EXPECT_NE(dropped.getGLName(), 0u);
  dropped.unload();
  dropped.reload();
  EXPECT_NE(dropped.getGLName(), 0u);
  EXPECT_EQ(dropped.getImage(), nullptr);

  // A JPEG's mask goes over to the alpha-only image.
  media::writeSolid(path("m.jpg"), 4, 4, Color::white, true);
  media::writeSolid(path("m_.jpg"), 4, 4, Color(0, 0, 0, 255), true);
  GLTexture masked(path("m.jpg"), nullptr, GLTexture::KeepAlphaOnly);
  EXPECT_EQ(masked.getAlphaMap(), nullptr);
  ASSERT_NE(masked.getImage(), nullptr);
  EXPECT_LE(masked.getImage()->getPixel(1, 1).a, 3);
}

TEST_F(TextureTest, DeferredTexturesWaitForLoadDeferred) {
  const std::string file = media::writeSolid(path("later.png"), 4, 4, Color::white);
  DeferableResource::setDeferredLoading(true);
  auto* tex = new GLTexture(file);
  auto* dropped = new GLTexture(file);
  DeferableResource::setDeferredLoading(false);
  EXPECT_FALSE(tex->isLoaded());
  EXPECT_TRUE(tex->isDeferred());
  EXPECT_EQ(DeferableResource::deferredList().size(), 2u);
  delete dropped;  // leaves the list instead of dangling in it
  EXPECT_EQ(DeferableResource::deferredList().size(), 1u);
  EXPECT_TRUE(tex->loadDeferred());
  EXPECT_TRUE(tex->isLoaded());
  EXPECT_FALSE(tex->loadDeferred());
  EXPECT_TRUE(DeferableResource::deferredList().empty());
  delete tex;
}

TEST(SurfaceImages, PixelAccessOutsideTheImageIsSafe) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 3, 32, SDL_PIXELFORMAT_RGBA32);
  SDLSurfaceImage image(s);
  image.setPixel(1, 2, Color(10, 20, 30, 40));
  EXPECT_EQ(image.getPixel(1, 2), Color(10, 20, 30, 40));
  EXPECT_EQ(image.getPixel(4, 0), Color(0, 0, 0, 0));
  EXPECT_EQ(image.getPixel(-1, 0), Color(0, 0, 0, 0));
  EXPECT_EQ(image.getPixel(0, 3), Color(0, 0, 0, 0));
  EXPECT_TRUE(image.isTransparent(100, 100));
  image.setPixel(4, 3, Color::white);  // ignored, no write past the surface
  image.setPixel(-1, -1, Color::white);

  Image* copy = image.clone();
  image.setPixel(1, 2, Color::white);
  EXPECT_EQ(copy->getPixel(1, 2), Color(10, 20, 30, 40));
  EXPECT_EQ(copy->getWidth(), 4);
  delete copy;

  SDLSurfaceImage empty(static_cast<SDL_Surface*>(nullptr));
  EXPECT_EQ(empty.getPixel(0, 0), Color(0, 0, 0, 0));
  Image* emptyCopy = empty.clone();
  EXPECT_EQ(emptyCopy->getWidth(), 0);
  delete emptyCopy;

  // 24-bit pixels are read through the pitch, not as 4 bytes.
  SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 24, SDL_PIXELFORMAT_RGB24);
  SDLSurfaceImage rgbImage(rgb);
  rgbImage.setPixel(2, 1, Color(1, 2, 3, 255));
  EXPECT_EQ(rgbImage.getPixel(2, 1), Color(1, 2, 3, 255));
  EXPECT_EQ(rgbImage.getPixel(1, 1), Color(0, 0, 0, 255));
}

TEST(SurfaceImages, AlphaOnlyImageAnswersOpaqueBlackOutside) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 2, 32, SDL_PIXELFORMAT_RGBA32);
  static_cast<Uint32*>(s->pixels)[1] = SDL_MapRGBA(s->format, 1, 2, 3, 77);
  MinimalSurfaceImage minimal(s);
  SDL_FreeSurface(s);
  EXPECT_EQ(minimal.getPixel(1, 0), Color(0, 0, 0, 77));
  EXPECT_TRUE(minimal.isTransparent(0, 0));
  EXPECT_EQ(minimal.getPixel(2, 0), Color::black);
  EXPECT_FALSE(minimal.isTransparent(5, 5));
  minimal.setPixel(0, 1, Color(0, 0, 0, 9));
  minimal.setPixel(9, 9, Color(0, 0, 0, 9));
  EXPECT_EQ(minimal.getPixel(0, 1).a, 9);
  EXPECT_EQ(minimal.clone(), nullptr);
  EXPECT_EQ(minimal.getSurface(), nullptr);
}

TEST(ImageFilters, IntensityBecomesTheOpacityOfWhite) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 3, 1, 32, SDL_PIXELFORMAT_RGBA32);
  SDLSurfaceImage image(s);
  image.setPixel(0, 0, Color(255, 255, 255, 17));
  image.setPixel(1, 0, Color(0, 0, 0, 255));
  image.setPixel(2, 0, Color(90, 60, 30, 255));
  IntensityAsAlphaImageFilter filter;
  filter.apply(&image);
  EXPECT_EQ(image.getPixel(0, 0), Color(255, 255, 255, 254));  // 765 * 0.3333 truncated
  EXPECT_EQ(image.getPixel(1, 0), Color(255, 255, 255, 0));
  EXPECT_EQ(image.getPixel(2, 0), Color(255, 255, 255, 59));  // 180 * 0.3333 = 59.99
  filter.apply(nullptr);
}

}  // namespace
