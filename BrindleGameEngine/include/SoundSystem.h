#pragma once

// Global volumes, 0 to 128 as SDL2_mixer counts them.
class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  virtual void setMusicVolume(int volume) = 0;
  // channel -1 sets every channel.
  virtual void setSoundVolume(int channel, int volume) = 0;
};

class SDLSoundSystem : public SoundSystem {
 public:
  void setMusicVolume(int volume) override;
  void setSoundVolume(int channel, int volume) override;
};
