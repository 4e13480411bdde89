#include <SDL_mixer.h>

#include <cstdio>

#include "Music.h"
#include "RegularFile.h"

MixMusic::MixMusic(const std::string& fileName) {
  resourceName_ = fileName;
  if (isDeferredLoadingOn()) {
    defer(fileName);
    return;
  }
  load(fileName);
}

MixMusic::~MixMusic() {
  if (music_) Mix_FreeMusic(music_);
}

bool MixMusic::load(const std::string& fileName) {
  if (music_) Mix_FreeMusic(music_);
  music_ = nullptr;
  loaded_ = false;
  bytes_.clear();
  const bge::FileReadResult read = bge::readRegularFile(fileName, bge::kMaxMusicFileBytes, bytes_);
  if (read != bge::FileReadResult::Read) {
    std::printf("ERROR: music file %s %s\n", fileName.c_str(), bge::describeFileRead(read, bge::kMaxMusicFileBytes).c_str());
    return false;
  }
  // The mixer streams from these bytes for as long as the music lives.
  music_ = Mix_LoadMUS_RW(SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size())), 1);
  loaded_ = music_ != nullptr;
  if (!loaded_) {
    std::printf("ERROR: music file %s could not be loaded: %s\n", fileName.c_str(), Mix_GetError());
    bytes_.clear();
    bytes_.shrink_to_fit();
  }
  return loaded_;
}

bool MixMusic::loadDeferred() {
  if (!deferred_) return false;
  clearDeferred();
  return load(resourceName_);
}

int MixMusic::play(int loops) {
  Mix_HaltMusic();
  return Mix_PlayMusic(music_, loops);
}

void MixMusic::fadeIn(int milliseconds, int loops) { Mix_FadeInMusic(music_, loops, milliseconds); }

void MixMusic::fadeOut(int milliseconds) { Mix_FadeOutMusic(milliseconds); }

bool MixMusic::isPlaying() const { return Mix_PlayingMusic() != 0; }
