#pragma once
// What every reader target shares: a process set up like the game's (content
// beside us, user folders in a private temporary folder, an application with
// fonts and texts, a GL context when a display is there), the input written to
// a file the readers can open, and a Graphics that refuses values no drawing
// should ever get.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Graphics.h"

class SDLGameApp;

namespace fuzz {

// What a target does when the engine hands on something it must not: the
// fuzzer aborts so the input is kept; the regression suite records a failure.
using FindingHandler = void (*)(const std::string& what);
void setFindingHandler(FindingHandler handler);
void finding(const std::string& what);

// Sets the process up once; later calls do nothing. Returns false only when the
// source tree cannot be found.
bool setUp();
// The private folder inputs are written to (it also holds links to the images
// that fonts and animations name relative to their own file).
const std::string& workFolder();
// Writes the bytes to a file of that name in the work folder; returns its path.
std::string writeInput(const uint8_t* data, size_t size, const std::string& name);
// The SDL application of the process, its joystick mapping back at the
// defaults. It is made during setUp, before the game's own application, so
// that one stays the current application for every other reader.
SDLGameApp* sdlApplicationWithDefaultMapping();
// Screens read their files from fixed paths under the source tree. This gives a
// folder that looks like the source tree through links, except that the named
// file (a path from the source tree) is a file of its own; the input is written
// there with writeReplacedContent and read from inside InReplacedTree.
std::string replacedTree(const std::string& file);
void writeReplacedContent(const std::string& file, const uint8_t* data, size_t size);
// Makes the replaced tree of that file the current folder for its lifetime.
class InReplacedTree {
 public:
  explicit InReplacedTree(const std::string& file);
  ~InReplacedTree();
  InReplacedTree(const InReplacedTree&) = delete;
  InReplacedTree& operator=(const InReplacedTree&) = delete;
};
// The bytes as text, for readers that take a document from memory.
std::string asText(const uint8_t* data, size_t size);

// Checks a value that is about to reach drawing or physics.
void requireFinite(float value, const char* what);

// Records nothing, but checks every coordinate, size, angle and scale it gets.
class CheckingGraphics : public Graphics {
 public:
  using Graphics::drawImage;
  using Graphics::drawImageOutline;
  using Graphics::drawImageOutlineTextured;
  using Graphics::fillRect;
  using Graphics::nop;

  int calls() const { return calls_; }

  void loadIdentity() override { ++calls_; }
  void clear() override {}
  void setProjection2D(int, int, int) override {}
  void setProjection3D(int, int, int) override {}
  void nop() override {}
  void fillRect(int x, int y, int width, int height, const Color& color) override;
  void drawRect(float x, float y, float width, float height, float lineWidth, const Color& color,
                bool smooth) override;
  void drawRect(const Rect5& rect, const Color& color, bool smooth) override;
  void drawRect(int x, int y, int width, int height, const Color& color, bool smooth) override;
  void drawCircle(float cx, float cy, float radius, float lineWidth, const Color& color) override;
  void drawEllipse(float cx, float cy, float rx, float ry, float lineWidth,
                   const Color& color) override;
  void drawImage(int x, int y, unsigned int width, unsigned int height, Texture* texture,
                 const SourceRect& source, const Color& color) override;
  void enableBlending(bool) override {}
  void pushMatrix() override;
  void popMatrix() override;
  void drawLine(const Vec2& a, const Vec2& b, float width, bool smooth, const Color& color,
                unsigned short pattern, unsigned short factor) override;
  void drawLine(const Vec3& a, const Vec3& b, float width, bool smooth, const Color& color,
                unsigned short pattern, unsigned short factor) override;
  void setScissor(int, int, int, int) override {}
  void enableScissor(bool, int) override {}
  void translate(float x, float y) override;
  void rotate(float angle, float x, float y, float z) override;
  void scale(float sx, float sy) override;
  void drawImageOutline(int x, int y, Texture* texture, const Color& color, int thickness,
                        float alphaThreshold, int width, int height,
                        const SourceRect& source) override;
  void drawImageOutlineTextured(int x, int y, Texture* mask, Texture* fill, int thickness,
                                float alphaThreshold, int width, int height,
                                const SourceRect& source) override;
  void fillTriangle(const Vec2& a, const Vec2& b, const Vec2& c, const Color& color) override;
  void drawTexturedQuad(Texture* texture, const Vec2& p1, const Vec2& p2, const Vec2& p3,
                        const Vec2& p4, const SourceRect& source, const Color& color) override;

 private:
  void check(float value, const char* what);
  void checkSource(const SourceRect& source);

  int calls_ = 0;
  int stackDepth_ = 0;
};

}  // namespace fuzz
