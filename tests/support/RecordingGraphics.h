#pragma once
// A Graphics that draws nothing and remembers every primitive call, so layout
// and drawing code can be checked without a GL context. It follows the matrix
// calls too, so a call's position on screen and the nesting are known.
#include <array>
#include <string>
#include <vector>

#include "Graphics.h"

struct GraphicsCall {
  std::string op;
  float x = 0, y = 0, w = 0, h = 0;  // position and size, as the slot got them
  float extra = 0;                   // angle, line width, thickness ...
  Texture* texture = nullptr;
  SourceRect source;
  Color color;
  float screenX = 0, screenY = 0;  // x and y through the translations and scales in force
  float z = 0;                     // the drawing depth in force
};

class RecordingGraphics : public Graphics {
 public:
  using Graphics::drawImage;
  using Graphics::drawImageOutline;
  using Graphics::drawImageOutlineTextured;
  using Graphics::drawRect;
  using Graphics::fillRect;
  using Graphics::nop;

  std::vector<GraphicsCall> calls;

  // Matrix state: what translate and scale have made of the origin, and the
  // push depth (the deepest reached, too).
  float offsetX() const { return ox_; }
  float offsetY() const { return oy_; }
  float scaleX() const { return sx_; }
  float scaleY() const { return sy_; }
  int depth() const { return static_cast<int>(stack_.size()); }
  int maxDepth() const { return maxDepth_; }

  std::vector<GraphicsCall> callsOf(const std::string& op) const {
    std::vector<GraphicsCall> out;
    for (const GraphicsCall& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }

  void loadIdentity() override { add("loadIdentity"); }
  void clear() override { add("clear"); }
  void setProjection2D(int w, int h, int) override { add("setProjection2D", 0, 0, w, h); }
  void setProjection3D(int w, int h, int) override { add("setProjection3D", 0, 0, w, h); }
  void nop() override {}
  void fillRect(int x, int y, int w, int h, const Color& c) override {
    add("fillRect", x, y, w, h).color = c;
  }
  void drawRect(float x, float y, float w, float h, float lw, const Color& c, bool) override {
    GraphicsCall& call = add("drawRectF", x, y, w, h);
    call.extra = lw;
    call.color = c;
  }
  void drawRect(const Rect5& r, const Color& c, bool s) override {
    drawRect(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.width),
             static_cast<int>(r.height), c, s);
  }
  void drawRect(int x, int y, int w, int h, const Color& c, bool) override {
    add("drawRect", x, y, w, h).color = c;
  }
  void drawCircle(float cx, float cy, float r, float, const Color&) override {
    add("drawCircle", cx, cy, r, r);
  }
  void drawEllipse(float cx, float cy, float rx, float ry, float, const Color&) override {
    add("drawEllipse", cx, cy, rx, ry);
  }
  void drawImage(int x, int y, unsigned int w, unsigned int h, Texture* t, const SourceRect& s,
                 const Color& c) override {
    GraphicsCall& call = add("drawImage", x, y, static_cast<float>(w), static_cast<float>(h));
    call.texture = t;
    call.source = s;
    call.color = c;
  }
  void enableBlending(bool on) override { add("enableBlending").extra = on ? 1.0f : 0.0f; }
  void pushMatrix() override {
    add("pushMatrix");
    stack_.push_back({ox_, oy_, sx_, sy_});
    if (depth() > maxDepth_) maxDepth_ = depth();
  }
  void popMatrix() override {
    add("popMatrix");
    if (stack_.empty()) return;
    ox_ = stack_.back()[0];
    oy_ = stack_.back()[1];
    sx_ = stack_.back()[2];
    sy_ = stack_.back()[3];
    stack_.pop_back();
  }
  void drawLine(const Vec2& a, const Vec2& b, float w, bool, const Color& c, unsigned short,
                unsigned short) override {
    GraphicsCall& call = add("drawLine", a.x, a.y, b.x, b.y);
    call.extra = w;
    call.color = c;
  }
  void drawLine(const Vec3& a, const Vec3& b, float w, bool, const Color& c, unsigned short,
                unsigned short) override {
    GraphicsCall& call = add("drawLine3", a.x, a.y, b.x, b.y);
    call.extra = w;
    call.color = c;
  }
  void setScissor(int x, int y, int w, int h) override { add("setScissor", x, y, w, h); }
  void enableScissor(bool on, int) override { add("enableScissor").extra = on ? 1.0f : 0.0f; }
  void translate(float x, float y) override {
    add("translate", x, y);
    ox_ += x * sx_;
    oy_ += y * sy_;
  }
  void rotate(float angle, float, float, float) override { add("rotate").extra = angle; }
  void scale(float sx, float sy) override {
    add("scale", sx, sy);
    sx_ *= sx;
    sy_ *= sy;
  }
  void drawImageOutline(int x, int y, Texture* t, const Color& c, int thickness, float,
                        int w, int h, const SourceRect& s) override {
    GraphicsCall& call = add("drawImageOutline", x, y, w, h);
    call.texture = t;
    call.source = s;
    call.color = c;
    call.extra = static_cast<float>(thickness);
  }
  void drawImageOutlineTextured(int x, int y, Texture* mask, Texture*, int thickness, float,
                                int w, int h, const SourceRect& s) override {
    GraphicsCall& call = add("drawImageOutlineTextured", x, y, w, h);
    call.texture = mask;
    call.source = s;
    call.extra = static_cast<float>(thickness);
  }
  void fillTriangle(const Vec2& a, const Vec2& b, const Vec2&, const Color& c) override {
    add("fillTriangle", a.x, a.y, b.x, b.y).color = c;
  }
  void drawTexturedQuad(Texture* t, const Vec2& p1, const Vec2&, const Vec2& p3, const Vec2&,
                        const SourceRect& s, const Color& c) override {
    GraphicsCall& call = add("drawTexturedQuad", p1.x, p1.y, p3.x, p3.y);
    call.texture = t;
    call.source = s;
    call.color = c;
  }

 private:
  template <typename A = float, typename B = float, typename C = float, typename D = float>
  GraphicsCall& add(const std::string& op, A x = 0, B y = 0, C w = 0, D h = 0) {
    GraphicsCall call;
    call.op = op;
    call.x = static_cast<float>(x);
    call.y = static_cast<float>(y);
    call.w = static_cast<float>(w);
    call.h = static_cast<float>(h);
    call.screenX = ox_ + call.x * sx_;
    call.screenY = oy_ + call.y * sy_;
    call.z = getDepth();
    calls.push_back(call);
    return calls.back();
  }

  float ox_ = 0.0f;
  float oy_ = 0.0f;
  float sx_ = 1.0f;
  float sy_ = 1.0f;
  int maxDepth_ = 0;
  std::vector<std::array<float, 4>> stack_;
};
