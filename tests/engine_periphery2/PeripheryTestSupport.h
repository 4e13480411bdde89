#pragma once
// Fakes shared by this suite: an application whose screens get textures that
// need no GL; drawing is recorded by the shared RecordingGraphics.
#include <string>
#include <vector>

#include "Font.h"
#include "GameApp.h"
#include "GameState.h"
#include "RecordingGraphics.h"
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

