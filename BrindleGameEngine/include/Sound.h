#pragma once
#include <string>

#include "DeferableResource.h"
#include "ReferenceCountable.h"

struct Mix_Chunk;

// A sound effect. Loop counts follow SDL2_mixer: 0 once, n n+1 times, -1 forever.
class Sound : public ReferenceCountable, public DeferableResource {
 public:
  Sound() = default;
  ~Sound() override = default;

  virtual void play() = 0;
  virtual void playLooped(int loops) = 0;
  virtual void fadeIn(int loops, int milliseconds) = 0;
  virtual void fadeOut(int milliseconds) = 0;
  virtual void stop() = 0;
  virtual bool isPlaying() = 0;
};

// A sample chunk on the mixer's channels. It remembers the channel it last
// started on, and acts on that channel only while it still plays this chunk.
class MixSound : public Sound {
 public:
  explicit MixSound(const std::string& fileName);
  ~MixSound() override;

  bool loadDeferred() override;
  void play() override;
  void playLooped(int loops) override;
  void fadeIn(int loops, int milliseconds) override;
  void fadeOut(int milliseconds) override;
  void stop() override;
  bool isPlaying() override;
  // Plays once on the given channel.
  void playOnChannel(int channel);

  bool isLoaded() const { return chunk_ != nullptr; }
  int getChannel() const { return channel_; }

 private:
  bool load(const std::string& fileName);
  // The remembered channel while it is still playing this sound's chunk, else -1.
  int liveChannel() const;

  Mix_Chunk* chunk_ = nullptr;
  int channel_ = -1;
};
