#pragma once
// Fakes shared by this suite: an application whose screens get textures that
// need no GL, and a Graphics that writes down what was drawn.
#include <string>
#include <vector>

#include "Font.h"
#include "GameApp.h"
#include "GameState.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "Texture.h"

class StandInTexture : public Texture {
 public:
  StandInTexture(int w, int h) {
    width_ = w;
    height_ = h;
    storageWidth_ = w;
    storageHeight_ = h;
    loaded_ = true;
  }
  bool loadDeferred() override { return false; }
  void bind() override {}
  void reload() override {}
  void unload() override {}
  Texture* clone() override { return new StandInTexture(width_, height_); }
};

class StandInFont : public Font {
 public:
  struct Text {
    int x, y;
    std::string text;
    Color color;
  };
  explicit StandInFont(int lineHeight) { lineHeight_ = lineHeight; }
  bool loadDeferred() override { return false; }
  int textWidth(const std::string& text) override { return static_cast<int>(text.size()) * 8; }
  void drawTextToTarget(FontDrawTarget*, int, int, const std::string&, int, int) override {}
  void drawText(Graphics*, int x, int y, const std::string& text, const Color& color) override {
    texts.push_back({x, y, text, color});
  }
  void reloadPages() override {}
  void unloadPages() override {}
  Point2i caretPosition(const std::string&, int, const QuillonPHX2D::Vec2&, int) override {
    return Point2i();
  }
  std::vector<Text> texts;
};

// Textures by name without touching a file or the GPU.
class StandInResources : public ResourceManager {
 public:
  explicit StandInResources(std::vector<std::string>* created) : created_(created) {}
  Texture* createTexture(const std::string& fileName) override {
    if (created_) created_->push_back(fileName);
    return new StandInTexture(320, 200);
  }

 private:
  std::vector<std::string>* created_;
};

class StandInApp : public GameApp {
 public:
  StandInApp() { setScreenSize(1366, 768); }
  ResourceManager* createResourceManager() override { return new StandInResources(&textures); }
  void enterFirstScreen() override { ++firstScreens; }

  // One frame as the loop runs it: active states update, then queued states go.
  void frame(int dt) {
    const std::vector<GameState*> snapshot = states();
    for (GameState* s : snapshot) {
      if (isOnStack(s) && s->isActive()) s->update(dt);
    }
    deleteQueuedStates();
  }

  std::vector<std::string> textures;
  int firstScreens = 0;
};

class DrawLog : public Graphics {
 public:
  struct Image {
    int x, y;
    Texture* texture;
    Color color;
  };
  struct Line {
    Vec2 a, b;
    float width;
    Color color;
  };
  struct Fill {
    int x, y, w, h;
    Color color;
  };
  std::vector<Image> images;
  std::vector<Line> lines;
  std::vector<Fill> fills;

  void loadIdentity() override {}
  void clear() override {}
  void setProjection2D(int, int, int) override {}
  void setProjection3D(int, int, int) override {}
  void nop() override {}
  using Graphics::fillRect;
  void fillRect(int x, int y, int w, int h, const Color& c) override { fills.push_back({x, y, w, h, c}); }
  void drawRect(float, float, float, float, float, const Color&, bool) override {}
  void drawRect(const Rect5&, const Color&, bool) override {}
  void drawRect(int, int, int, int, const Color&, bool) override {}
  void drawCircle(float, float, float, float, const Color&) override {}
  void drawEllipse(float, float, float, float, float, const Color&) override {}
  using Graphics::drawImage;
  void drawImage(int x, int y, unsigned int, unsigned int, Texture* t, const SourceRect&,
                 const Color& c) override {
    images.push_back({x, y, t, c});
  }
  void enableBlending(bool) override {}
  void pushMatrix() override {}
  void popMatrix() override {}
  void drawLine(const Vec2& a, const Vec2& b, float w, bool, const Color& c, unsigned short,
                unsigned short) override {
    lines.push_back({a, b, w, c});
  }
  void drawLine(const Vec3&, const Vec3&, float, bool, const Color&, unsigned short,
                unsigned short) override {}
  void setScissor(int, int, int, int) override {}
  void enableScissor(bool, int) override {}
  void translate(float, float) override {}
  void rotate(float, float, float, float) override {}
  void scale(float, float) override {}
  using Graphics::drawImageOutline;
  void drawImageOutline(int, int, Texture*, const Color&, int, float, int, int,
                        const SourceRect&) override {}
  using Graphics::drawImageOutlineTextured;
  void drawImageOutlineTextured(int, int, Texture*, Texture*, int, float, int, int,
                                const SourceRect&) override {}
  void fillTriangle(const Vec2&, const Vec2&, const Vec2&, const Color&) override {}
  void drawTexturedQuad(Texture*, const Vec2&, const Vec2&, const Vec2&, const Vec2&,
                        const SourceRect&, const Color&) override {}
};
