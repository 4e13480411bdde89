#pragma once
#include <string>

namespace bge {

// Told what a clip is doing; the logo sequence listens to its clips.
class VideoClipListener {
 public:
  enum Event { Ready = 0, Started = 1, Ended = 2, Skipped = 5 };

  virtual ~VideoClipListener() = default;
  virtual void clipEvent(int clipId, int eventCode) = 0;
};

// A clip the logo sequence can play: loaded from a file, then played to its
// end or until the player skips it.
class VideoClip {
 public:
  VideoClip(int id, VideoClipListener* listener) : id_(id), listener_(listener) {}
  virtual ~VideoClip() = default;
  VideoClip(const VideoClip&) = delete;
  VideoClip& operator=(const VideoClip&) = delete;

  virtual void load(const std::string& path) = 0;
  virtual void play() = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
  virtual void stop() = 0;
  virtual void idle() {}

  int getId() const { return id_; }
  VideoClipListener* getListener() const { return listener_; }

 protected:
  void report(int eventCode) {
    if (listener_) listener_->clipEvent(id_, eventCode);
  }

 private:
  int id_;
  VideoClipListener* listener_;  // not owned
};

}  // namespace bge
