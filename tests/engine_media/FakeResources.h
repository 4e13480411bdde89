#pragma once
// Resources that need neither GL nor the mixer, counting their own deletion.
#include "Font.h"
#include "Music.h"
#include "Sound.h"
#include "Texture.h"

struct DeleteLog {
  int textures = 0, fonts = 0, music = 0, sounds = 0;
  int textureUnloads = 0, textureReloads = 0, fontUnloads = 0, fontReloads = 0;
};

class FakeTexture : public Texture {
 public:
  FakeTexture(int w, int h, int storageW, int storageH, DeleteLog* log = nullptr) : log_(log) {
    width_ = w;
    height_ = h;
    storageWidth_ = storageW;
    storageHeight_ = storageH;
    loaded_ = true;
  }
  ~FakeTexture() override { if (log_) ++log_->textures; }
  bool loadDeferred() override { return false; }
  void bind() override {}
  void reload() override { if (log_) ++log_->textureReloads; }
  void unload() override { if (log_) ++log_->textureUnloads; }
  Texture* clone() override { return new FakeTexture(width_, height_, storageWidth_, storageHeight_); }

 private:
  DeleteLog* log_;
};

class FakeFont : public Font {
 public:
  explicit FakeFont(DeleteLog* log) : log_(log) {}
  ~FakeFont() override { ++log_->fonts; }
  bool loadDeferred() override { return false; }
  int textWidth(const std::string&) override { return 0; }
  void drawTextToTarget(FontDrawTarget*, int, int, const std::string&, int, int) override {}
  void drawText(Graphics*, int, int, const std::string&, const Color&) override {}
  void reloadPages() override { ++log_->fontReloads; }
  void unloadPages() override { ++log_->fontUnloads; }
  Point2i caretPosition(const std::string&, int, const QuillonPHX2D::Vec2&, int) override {
    return Point2i();
  }

 private:
  DeleteLog* log_;
};

class FakeMusic : public Music {
 public:
  explicit FakeMusic(DeleteLog* log) : log_(log) {}
  ~FakeMusic() override { ++log_->music; }
  bool loadDeferred() override { return false; }
  int play(int) override { return 0; }

 private:
  DeleteLog* log_;
};

class FakeSound : public Sound {
 public:
  explicit FakeSound(DeleteLog* log) : log_(log) {}
  ~FakeSound() override { ++log_->sounds; }
  bool loadDeferred() override { return false; }
  void play() override {}
  void playLooped(int) override {}
  void fadeIn(int, int) override {}
  void fadeOut(int) override {}
  void stop() override {}
  bool isPlaying() override { return false; }

 private:
  DeleteLog* log_;
};
