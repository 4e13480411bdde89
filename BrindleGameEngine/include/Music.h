#pragma once
#include <string>
#include <vector>

#include "DeferableResource.h"
#include "ReferenceCountable.h"

typedef struct _Mix_Music Mix_Music;

// A music stream; the mixer plays one at a time.
class Music : public ReferenceCountable, public DeferableResource {
 public:
  Music() = default;
  ~Music() override = default;

  // Stops the current music and plays this one; returns the mixer's result.
  virtual int play(int loops) = 0;
  virtual void fadeIn(int /*milliseconds*/, int /*loops*/) {}
  virtual void fadeOut(int /*milliseconds*/) {}
};

class MixMusic : public Music {
 public:
  explicit MixMusic(const std::string& fileName);
  ~MixMusic() override;

  bool loadDeferred() override;
  int play(int loops) override;
  // Fades in without stopping what plays first.
  void fadeIn(int milliseconds, int loops) override;
  // Fades whatever music is playing.
  void fadeOut(int milliseconds) override;
  // Whether any music is playing.
  bool isPlaying() const;
  bool isLoaded() const { return loaded_; }

 private:
  bool load(const std::string& fileName);

  Mix_Music* music_ = nullptr;
  std::vector<unsigned char> bytes_;  // the file, which the music streams from
  bool loaded_ = false;
};
