#pragma once
// Helpers every suite may use: a temporary folder that stands in for the user's
// data and config folders, and a hidden OpenGL window for tests that draw.
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testenv {

// Creates a fresh folder and points XDG_DATA_HOME and XDG_CONFIG_HOME into it;
// restores the old values and removes the folder on destruction.
class TempUserDirs {
 public:
  TempUserDirs() {
    char tmpl[] = "/tmp/starmoor-test-XXXXXX";
    const char* made = mkdtemp(tmpl);
    root_ = made ? made : "/tmp";
    save("XDG_DATA_HOME", oldData_, hadData_);
    save("XDG_CONFIG_HOME", oldConfig_, hadConfig_);
    std::filesystem::create_directories(root_ + "/data");
    std::filesystem::create_directories(root_ + "/config");
    setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
  }
  ~TempUserDirs() {
    restore("XDG_DATA_HOME", oldData_, hadData_);
    restore("XDG_CONFIG_HOME", oldConfig_, hadConfig_);
    std::error_code ec;
    if (root_.rfind("/tmp/starmoor-test-", 0) == 0) std::filesystem::remove_all(root_, ec);
  }
  TempUserDirs(const TempUserDirs&) = delete;
  TempUserDirs& operator=(const TempUserDirs&) = delete;

  const std::string& root() const { return root_; }
  std::string data() const { return root_ + "/data"; }
  std::string config() const { return root_ + "/config"; }

 private:
  static void save(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    if (v) value = v;
  }
  static void restore(const char* name, const std::string& value, bool had) {
    if (had) setenv(name, value.c_str(), 1); else unsetenv(name);
  }
  std::string root_, oldData_, oldConfig_;
  bool hadData_ = false, hadConfig_ = false;
};

// A hidden 1366x768 window with a compatibility GL context and an 8-bit stencil.
// Tests that need it call SetUpTestSuite/TearDownTestSuite through GLTest below.
class GLContext {
 public:
  bool open(int w = 1366, int h = 768) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow("test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) return false;
    context_ = SDL_GL_CreateContext(window_);
    return context_ != nullptr;
  }
  void close() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  SDL_Window* window() const { return window_; }

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

}  // namespace testenv
