#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "GameApp.h"
#include "Music.h"
#include "Sound.h"
#include "TestEnv.h"

namespace {

// A 16-bit stereo 44.1 kHz tone of the given length, as a WAV file.
std::string writeTone(const std::string& path, int milliseconds) {
  const int frames = 44100 * milliseconds / 1000;
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i)
    samples[2 * i] = samples[2 * i + 1] =
        static_cast<int16_t>(3000 * std::sin(i * 2 * 3.14159265 * 440 / 44100));
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4); u32(36 + dataBytes); out.write("WAVE", 4);
  out.write("fmt ", 4); u32(16); u16(1); u16(2); u32(44100); u32(44100 * 4); u16(4); u16(16);
  out.write("data", 4); u32(dataBytes);
  out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
  return path;
}

class SoundTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    opened_ = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) == 0;
    if (opened_) Mix_AllocateChannels(16);
  }
  static void TearDownTestSuite() {
    if (opened_) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  void SetUp() override {
    ASSERT_TRUE(opened_) << "the dummy audio driver should open: " << Mix_GetError();
    tone = writeTone(dirs.root() + "/tone.wav", 3000);
  }
  void TearDown() override {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
  }

  static bool opened_;
  testenv::TempUserDirs dirs;
  std::string tone;
};
bool SoundTest::opened_ = false;

TEST_F(SoundTest, PlayingIsReportedOnlyWhileTheApplicationExists) {
  MixSound sound(tone);
  ASSERT_TRUE(sound.isLoaded());
  EXPECT_FALSE(sound.isPlaying());
  sound.stop();  // never played: nothing happens
  sound.fadeOut(100);
  sound.play();
  EXPECT_GE(sound.getChannel(), 0);
  EXPECT_FALSE(sound.isPlaying()) << "no application, no answer";
  {
    GameApp app;
    EXPECT_TRUE(sound.isPlaying());
    sound.stop();
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(Mix_Playing(-1), 0);
    sound.playLooped(-1);
    EXPECT_TRUE(sound.isPlaying());
    sound.fadeOut(500);
    EXPECT_EQ(Mix_FadingChannel(sound.getChannel()), MIX_FADING_OUT);
    sound.stop();
    sound.fadeIn(0, 500);
    EXPECT_EQ(Mix_FadingChannel(sound.getChannel()), MIX_FADING_IN);
  }
}

TEST_F(SoundTest, AChannelTakenOverByAnotherSoundIsLeftAlone) {
  GameApp app;
  MixSound first(tone);
  MixSound second(writeTone(dirs.root() + "/other.wav", 3000));
  first.playOnChannel(3);
  EXPECT_EQ(first.getChannel(), 3);
  second.playOnChannel(3);
  EXPECT_FALSE(first.isPlaying());
  first.stop();
  first.fadeOut(200);
  EXPECT_TRUE(second.isPlaying());
  EXPECT_EQ(Mix_FadingChannel(3), MIX_NO_FADING);
  second.stop();
  EXPECT_FALSE(second.isPlaying());
}

TEST_F(SoundTest, AnUnreadableSoundPlaysNothing) {
  GameApp app;
  testing::internal::CaptureStdout();
  MixSound broken(dirs.root() + "/missing.wav");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("Mix_LoadWAV: ", 0), 0u) << out;
  EXPECT_NE(out.find("[" + dirs.root() + "/missing.wav]"), std::string::npos) << out;
  EXPECT_FALSE(broken.isLoaded());
  broken.play();
  EXPECT_EQ(broken.getChannel(), -1);
  EXPECT_FALSE(broken.isPlaying());
  broken.playOnChannel(2);
  EXPECT_EQ(Mix_Playing(2), 0);
  broken.stop();
}

TEST_F(SoundTest, MusicReplacesWhatPlaysAndFadesOut) {
  MixMusic one(tone);
  MixMusic two(writeTone(dirs.root() + "/two.wav", 3000));
  ASSERT_TRUE(one.isLoaded());
  EXPECT_EQ(one.play(-1), 0);
  EXPECT_TRUE(one.isPlaying());
  EXPECT_EQ(two.play(0), 0);
  EXPECT_TRUE(two.isPlaying());
  two.fadeOut(1000);
  EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
  Mix_HaltMusic();
  one.fadeIn(1000, 0);
  EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);

  MixMusic missing(dirs.root() + "/none.ogg");
  EXPECT_FALSE(missing.isLoaded());
  EXPECT_NE(missing.play(0), 0);
}

}  // namespace
