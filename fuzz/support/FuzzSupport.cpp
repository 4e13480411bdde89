#include "FuzzSupport.h"

#include <GL/glew.h>
#include <SDL.h>
#include <unistd.h>

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "AngelFont.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "ProcessExit.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"

#ifndef STARMOOR_SOURCE_DIR
#error "STARMOOR_SOURCE_DIR names the source tree the content is read from"
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STARMOOR_FUZZ_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define STARMOOR_FUZZ_ASAN 1
#endif

#ifdef STARMOOR_FUZZ_ASAN
// Options set in the environment still apply on top of these.
extern "C" const char* __asan_default_options() {
  return "suppressions=" STARMOOR_SOURCE_DIR "/fuzz/asan.supp";
}
#endif

namespace fuzz {

namespace {

namespace fs = std::filesystem;

void abortOnFinding(const std::string& what) {
  std::fprintf(stderr, "FINDING: %s\n", what.c_str());
  std::fflush(nullptr);
  std::abort();
}

FindingHandler g_handler = &abortOnFinding;
std::string g_work;

// The game's own application, without a window: save identifier, fonts and texts.
class FuzzApp : public GameApp {
 public:
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
};

// The SDL application only for the readers it owns (the joystick mappings).
class FuzzSdlApp : public SDLGameApp {
 public:
  void resetJoystickMapping() { joystickMapping_ = JoystickButtonMapping(); }
};

FuzzSdlApp* g_sdlApp = nullptr;

// A reader that ends the program on bad data would take every game with it.
void exitIsAFinding(int code) { finding("the process was ended with code " + std::to_string(code)); }

void removeWorkFolder() {
  std::error_code ec;
  if (!g_work.empty()) fs::remove_all(g_work, ec);
}

// Images that fonts and animations name relative to their own file.
void linkImages(const std::string& folder) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() != ".png") continue;
    fs::create_symlink(fs::absolute(entry.path()), fs::path(g_work) / entry.path().filename(), ec);
  }
}

void openGL() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_Window* window = SDL_CreateWindow("fuzz", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    std::printf("fuzz: no window (%s); textures stay without GL\n", SDL_GetError());
    return;
  }
  if (!SDL_GL_CreateContext(window)) {
    std::printf("fuzz: no GL context (%s)\n", SDL_GetError());
    return;
  }
  glewExperimental = GL_TRUE;
  glewInit();
}

void makeApplication() {
  FuzzApp* app = new FuzzApp();
  app->setScreenSize(1366, 768);
  app->setScaleFactors(1.0f, 1.0f);
  app->createGlobalResourceManager();
  ResourceManager* global = app->globalResourceManager();
  const char* const fonts[][2] = {{"FONT_NOTOSANS16", "content/fonts/NotoSans16.fnt"},
                                  {"FONT_NOTOSANS20", "content/fonts/NotoSans20.fnt"},
                                  {"FONT_NOTOSANS24", "content/fonts/NotoSans24.fnt"},
                                  {"FONT_NOTOSANS46", "content/fonts/NotoSans46.fnt"}};
  for (const auto& font : fonts) global->registerFont(font[0], new AngelFont(font[1], GLTexture::kLinear));
  app->gameMessages()->loadFromXml("content/strings/english.xml");
}

}  // namespace

void setFindingHandler(FindingHandler handler) { g_handler = handler ? handler : &abortOnFinding; }

void finding(const std::string& what) { g_handler(what); }

bool setUp() {
  static bool done = false;
  static bool ok = false;
  if (done) return ok;
  done = true;
  if (chdir(STARMOOR_SOURCE_DIR) != 0) {
    std::fprintf(stderr, "fuzz: cannot enter %s\n", STARMOOR_SOURCE_DIR);
    return false;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/starmoor-fuzz-XXXXXX";
  if (!mkdtemp(&pattern[0])) return false;
  g_work = pattern;
  std::atexit(removeWorkFolder);
  fs::create_directories(g_work + "/data");
  fs::create_directories(g_work + "/config");
  setenv("XDG_DATA_HOME", (g_work + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (g_work + "/config").c_str(), 1);
  linkImages("content/fonts");
  linkImages("content/images/menus/demo/anim");

  setProcessExitHook(&exitIsAFinding);
  openGL();
  g_sdlApp = new FuzzSdlApp();
  makeApplication();
  ok = true;
  return ok;
}

const std::string& workFolder() { return g_work; }

std::string replacedTree(const std::string& file) {
  static std::map<std::string, std::string> trees;
  auto found = trees.find(file);
  if (found != trees.end()) return found->second;
  const std::string root = g_work + "/tree" + std::to_string(trees.size());
  std::error_code ec;
  fs::path source = STARMOOR_SOURCE_DIR;
  fs::path target = root;
  fs::create_directories(target, ec);
  // Down the file's folders: each is a real folder whose other entries link back.
  for (const fs::path& part : fs::path(file)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(source, ec)) {
      if (entry.path().filename() != part) fs::create_symlink(entry.path(), target / entry.path().filename(), ec);
    }
    source /= part;
    target /= part;
    if (fs::is_directory(source)) fs::create_directory(target, ec);
  }
  trees[file] = root;
  return root;
}

void writeReplacedContent(const std::string& file, const uint8_t* data, size_t size) {
  std::ofstream out(replacedTree(file) + "/" + file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

InReplacedTree::InReplacedTree(const std::string& file) {
  if (chdir(replacedTree(file).c_str()) != 0) finding("cannot enter the replaced tree of " + file);
}

InReplacedTree::~InReplacedTree() {
  if (chdir(STARMOOR_SOURCE_DIR) != 0) finding("cannot go back to the source tree");
}

std::string writeInput(const uint8_t* data, size_t size, const std::string& name) {
  const std::string path = g_work + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (size > 0) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

SDLGameApp* sdlApplicationWithDefaultMapping() {
  assert(g_sdlApp != nullptr);
  g_sdlApp->resetJoystickMapping();
  return g_sdlApp;
}

std::string asText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

void requireFinite(float value, const char* what) {
  if (!std::isfinite(value)) finding(std::string("non-finite value reached ") + what);
}

// --- CheckingGraphics ---

void CheckingGraphics::check(float value, const char* what) {
  ++calls_;
  requireFinite(value, what);
}

void CheckingGraphics::checkSource(const SourceRect& s) {
  check(s.left, "a source rectangle");
  check(s.right, "a source rectangle");
  check(s.top, "a source rectangle");
  check(s.bottom, "a source rectangle");
}

void CheckingGraphics::fillRect(int, int, int, int, const Color&) { ++calls_; }

void CheckingGraphics::drawRect(float x, float y, float width, float height, float lineWidth,
                                const Color&, bool) {
  check(x, "drawRect");
  check(y, "drawRect");
  check(width, "drawRect");
  check(height, "drawRect");
  check(lineWidth, "drawRect");
}

void CheckingGraphics::drawRect(const Rect5& r, const Color&, bool) {
  check(r.x, "drawRect");
  check(r.y, "drawRect");
  check(r.width, "drawRect");
  check(r.height, "drawRect");
}

void CheckingGraphics::drawRect(int, int, int, int, const Color&, bool) { ++calls_; }

void CheckingGraphics::drawCircle(float cx, float cy, float radius, float lineWidth, const Color&) {
  check(cx, "drawCircle");
  check(cy, "drawCircle");
  check(radius, "drawCircle");
  check(lineWidth, "drawCircle");
}

void CheckingGraphics::drawEllipse(float cx, float cy, float rx, float ry, float lineWidth,
                                   const Color&) {
  check(cx, "drawEllipse");
  check(cy, "drawEllipse");
  check(rx, "drawEllipse");
  check(ry, "drawEllipse");
  check(lineWidth, "drawEllipse");
}

void CheckingGraphics::drawImage(int, int, unsigned int, unsigned int, Texture*,
                                 const SourceRect& source, const Color&) {
  checkSource(source);
  check(getDepth(), "an image's depth");
}

void CheckingGraphics::pushMatrix() {
  ++calls_;
  ++stackDepth_;
  // OpenGL's modelview stack holds 32 matrices; deeper pushes are lost.
  if (stackDepth_ > 32) finding("the matrix stack grew past 32");
}

void CheckingGraphics::popMatrix() {
  ++calls_;
  if (--stackDepth_ < 0) finding("a matrix was popped that was never pushed");
}

void CheckingGraphics::drawLine(const Vec2& a, const Vec2& b, float width, bool, const Color&,
                                unsigned short, unsigned short) {
  check(a.x, "drawLine");
  check(a.y, "drawLine");
  check(b.x, "drawLine");
  check(b.y, "drawLine");
  check(width, "drawLine");
}

void CheckingGraphics::drawLine(const Vec3& a, const Vec3& b, float width, bool, const Color&,
                                unsigned short, unsigned short) {
  check(a.x, "drawLine");
  check(a.y, "drawLine");
  check(a.z, "drawLine");
  check(b.x, "drawLine");
  check(b.y, "drawLine");
  check(b.z, "drawLine");
  check(width, "drawLine");
}

void CheckingGraphics::translate(float x, float y) {
  check(x, "translate");
  check(y, "translate");
}

void CheckingGraphics::rotate(float angle, float x, float y, float z) {
  check(angle, "rotate");
  check(x, "rotate");
  check(y, "rotate");
  check(z, "rotate");
}

void CheckingGraphics::scale(float sx, float sy) {
  check(sx, "scale");
  check(sy, "scale");
}

void CheckingGraphics::drawImageOutline(int, int, Texture*, const Color&, int, float alphaThreshold,
                                        int, int, const SourceRect& source) {
  check(alphaThreshold, "drawImageOutline");
  checkSource(source);
}

void CheckingGraphics::drawImageOutlineTextured(int, int, Texture*, Texture*, int,
                                                float alphaThreshold, int, int,
                                                const SourceRect& source) {
  check(alphaThreshold, "drawImageOutlineTextured");
  checkSource(source);
}

void CheckingGraphics::fillTriangle(const Vec2& a, const Vec2& b, const Vec2& c, const Color&) {
  check(a.x, "fillTriangle");
  check(a.y, "fillTriangle");
  check(b.x, "fillTriangle");
  check(b.y, "fillTriangle");
  check(c.x, "fillTriangle");
  check(c.y, "fillTriangle");
}

void CheckingGraphics::drawTexturedQuad(Texture*, const Vec2& p1, const Vec2& p2, const Vec2& p3,
                                        const Vec2& p4, const SourceRect& source, const Color&) {
  for (const Vec2* p : {&p1, &p2, &p3, &p4}) {
    check(p->x, "drawTexturedQuad");
    check(p->y, "drawTexturedQuad");
  }
  checkSource(source);
}

}  // namespace fuzz
