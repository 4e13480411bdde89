// Image files are measured from their headers before any pixel is decoded: a
// damaged or hostile header is refused by name, fast and without the memory
// its claimed size would take.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>

#include "GLTexture.h"
#include "ImageFile.h"
#include "MediaTestSupport.h"
#include "TestEnv.h"

namespace {

uint32_t crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string bigEndian(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string chunk(const std::string& type, const std::string& data) {
  return bigEndian(static_cast<uint32_t>(data.size())) + type + data + bigEndian(crc32(type + data));
}

// A well-formed 74-byte PNG whose header claims the given size: checksums right,
// so a decoder believes it and makes the whole picture before running out of data.
std::string pngClaiming(uint32_t width, uint32_t height) {
  const std::string header = bigEndian(width) + bigEndian(height) + std::string("\x08\x06\x00\x00\x00", 5);
  const std::string data("\x78\x9c\x63\x60\x18\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 17);
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", data) + chunk("IEND", "");
}

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

long residentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST(ImageFile, AHugeHeaderIsRefusedByNameQuicklyAndWithBoundedMemory) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.root() + "/huge.png";
  const std::string png = pngClaiming(30000, 30000);
  ASSERT_EQ(png.size(), 74u);
  write(path, png);

  // Measured in a child of its own, whose peak memory the parent can read.
  const long before = residentKb();
  int pipeFds[2];
  ASSERT_EQ(0, pipe(pipeFds));
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[0]);
    bge::ImageProblem problem;
    SDL_Surface* surface = bge::loadImageSurface(path, &problem);
    const ssize_t n = ::write(pipeFds[1], problem.text.data(), problem.text.size());
    _exit(surface == nullptr && n >= 0 ? 0 : 1);
  }
  close(pipeFds[1]);
  int status = 0;
  rusage usage {};
  ASSERT_EQ(child, wait4(child, &status, 0, &usage));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char text[512] = {0};
  const ssize_t got = read(pipeFds[0], text, sizeof text - 1);
  close(pipeFds[0]);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
  ASSERT_GT(got, 0);
  EXPECT_STREQ(text, "claims 30000 x 30000 pixels, over the limit of 8192 a side; not loaded");
  EXPECT_LT(usage.ru_maxrss, before + 64 * 1024) << "kB at peak";
  EXPECT_LT(seconds, 2.0);

  // A picture at the limit's edge of a side still loads, and the texture path
  // names the refused file rather than calling it missing.
  SDL_Surface* wide = SDL_CreateRGBSurfaceWithFormat(0, 8192, 1, 32, SDL_PIXELFORMAT_RGBA32);
  ASSERT_NE(wide, nullptr);
  ASSERT_EQ(0, IMG_SavePNG(wide, (dirs.root() + "/wide.png").c_str()));
  SDL_FreeSurface(wide);
  SDL_Surface* loaded = bge::loadImageSurface(dirs.root() + "/wide.png");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->w, 8192);
  SDL_FreeSurface(loaded);
}

class ImageFileTexture : public media::GLSuite {};

TEST_F(ImageFileTexture, ADamagedFileIsNotReportedAsMissing) {
  testenv::TempUserDirs dirs;
  const struct {
    const char* name;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"cut.png", pngClaiming(16, 16).substr(0, 20), "is damaged: its PNG header gives no picture size"},
      {"zero.png", pngClaiming(0, 16), "is damaged: its PNG header gives no picture size"},
      {"rows.png", pngClaiming(16, 16), "is damaged: "},
      {"text.png", "hello", "is not a PNG, JPEG, WEBP or BMP image"},
      {"cut.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10), "is damaged: its JPEG header"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dirs.root() + "/" + c.name;
    write(path, c.bytes);
    bge::ImageProblem problem;
    EXPECT_EQ(bge::loadImageSurface(path, &problem), nullptr);
    EXPECT_FALSE(problem.missing);
    EXPECT_EQ(problem.text.rfind(c.said, 0), 0u) << problem.text;

    testing::internal::CaptureStdout();
    GLTexture texture(path);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Missing image file"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("ERROR: image file [" + path + "] " + c.said, 0), 0u) << out;
    EXPECT_FALSE(texture.isLoaded());
  }

  bge::ImageProblem problem;
  EXPECT_EQ(bge::loadImageSurface(dirs.root() + "/none.png", &problem), nullptr);
  EXPECT_TRUE(problem.missing);
  EXPECT_EQ(bge::loadImageSurface(dirs.root(), &problem), nullptr);
  EXPECT_EQ(problem.text.rfind("is not a regular file", 0), 0u) << problem.text;
}

}  // namespace
