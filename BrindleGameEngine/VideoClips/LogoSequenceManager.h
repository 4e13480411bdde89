#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "VideoClips/VideoClip.h"

namespace bge {

// Plays the logo screens the configuration lists, one after the other, then
// hands over to the application's first screen. It lives on the heap and
// deletes itself when the last logo is done.
class LogoSequenceManager : public VideoClipListener {
 public:
  using ClipCreator = std::function<VideoClip*(int clipId, VideoClipListener* listener)>;
  // A clip that is a screen goes through the application: we are usually inside
  // its own update, and it may still be on the stack. Others are deleted.
  struct ClipRelease {
    void operator()(VideoClip* clip) const;
  };
  using ClipPtr = std::unique_ptr<VideoClip, ClipRelease>;

  explicit LogoSequenceManager(float setting);
  ~LogoSequenceManager() override;
  LogoSequenceManager(const LogoSequenceManager&) = delete;
  LogoSequenceManager& operator=(const LogoSequenceManager&) = delete;

  void registerCreator(const std::string& type, ClipCreator creator);
  // Starts the next logo, or ends the sequence (and this object) after the last.
  void playNextClip();
  void clipEvent(int clipId, int eventCode) override;

  int getIndex() const { return index_; }
  VideoClip* getCurrentClip() const { return current_; }
  const std::map<std::string, ClipPtr>& getClips() const { return clips_; }
  float getSetting() const { return setting_; }

 private:
  void finish();

  int index_ = -1;
  VideoClip* current_ = nullptr;  // not owned: one of clips_
  std::map<std::string, ClipCreator> creators_;
  // One clip per logo type, made on the first logo of that type.
  std::map<std::string, ClipPtr> clips_;
  float setting_;
};

}  // namespace bge
