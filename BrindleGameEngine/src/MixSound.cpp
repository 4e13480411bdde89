#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <vector>

#include "GameApp.h"
#include "RegularFile.h"
#include "Sound.h"

MixSound::MixSound(const std::string& fileName) {
  resourceName_ = fileName;
  if (isDeferredLoadingOn()) {
    defer(fileName);
    return;
  }
  load(fileName);
}

MixSound::~MixSound() {
  if (chunk_) Mix_FreeChunk(chunk_);
}

bool MixSound::load(const std::string& fileName) {
  if (chunk_) Mix_FreeChunk(chunk_);
  chunk_ = nullptr;
  // The mixer decodes the whole effect; the file's bytes are only needed until then.
  std::vector<unsigned char> bytes;
  const bge::FileReadResult read = bge::readRegularFile(fileName, bge::kMaxSoundFileBytes, bytes);
  if (read != bge::FileReadResult::Read) {
    std::printf("Mix_LoadWAV: [%s] %s\n", fileName.c_str(), bge::describeFileRead(read, bge::kMaxSoundFileBytes).c_str());
    return false;
  }
  chunk_ = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (!chunk_) std::printf("Mix_LoadWAV: %s [%s]\n", SDL_GetError(), fileName.c_str());
  return chunk_ != nullptr;
}

bool MixSound::loadDeferred() {
  if (!deferred_) return false;
  clearDeferred();
  return load(resourceName_);
}

void MixSound::play() { playLooped(0); }

void MixSound::playLooped(int loops) {
  channel_ = chunk_ ? Mix_PlayChannelTimed(-1, chunk_, loops, -1) : -1;
}

void MixSound::fadeIn(int loops, int milliseconds) {
  channel_ = chunk_ ? Mix_FadeInChannelTimed(-1, chunk_, loops, milliseconds, -1) : -1;
}

void MixSound::playOnChannel(int channel) {
  channel_ = chunk_ ? Mix_PlayChannelTimed(channel, chunk_, 0, -1) : -1;
}

int MixSound::liveChannel() const {
  if (channel_ < 0 || !chunk_) return -1;
  // Another sound may have taken the channel over since this one started.
  if (Mix_Playing(channel_) == 0 || Mix_GetChunk(channel_) != chunk_) return -1;
  return channel_;
}

void MixSound::fadeOut(int milliseconds) {
  const int channel = liveChannel();
  if (channel >= 0) Mix_FadeOutChannel(channel, milliseconds);
}

void MixSound::stop() {
  const int channel = liveChannel();
  if (channel >= 0) Mix_HaltChannel(channel);
}

bool MixSound::isPlaying() {
  if (!GameApp::instance()) return false;
  return liveChannel() >= 0;
}
