#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "PeripheryTestSupport.h"
#include "music/AnnounceMusicTrack.h"
#include "music/AudioAnalyserWidget.h"
#include "music/FFT.h"

namespace {

// One mixer chunk of signed 16-bit stereo: a tone of the given frequency,
// with the right channel in phase and a constant offset added to both.
std::vector<uint8_t> toneChunk(double hz, double amplitude, int frames = 1024, int offset = 0) {
  std::vector<uint8_t> bytes(static_cast<size_t>(frames) * 4);
  for (int f = 0; f < frames; ++f) {
    const double v = amplitude * std::sin(2.0 * M_PI * hz * f / 44100.0) + offset;
    const int16_t s = static_cast<int16_t>(std::lround(v));
    const uint16_t u = static_cast<uint16_t>(s);
    for (int c = 0; c < 2; ++c) {
      bytes[4 * f + 2 * c] = static_cast<uint8_t>(u & 0xFF);
      bytes[4 * f + 2 * c + 1] = static_cast<uint8_t>(u >> 8);
    }
  }
  return bytes;
}

class SpectrumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget_.setRect(0, 0, 600, 200);
    widget_.attachTap();
    widget_.setVerticalScale(0.25f);
  }
  void feed(std::vector<uint8_t> chunk) {
    spectrumTap(widget_.tapBuffer(), chunk.data(), static_cast<int>(chunk.size()));
    widget_.analyse();
  }
  int peakBin() const {
    int best = DFTSpectralAnalayzerWidget::kFirstBin;
    for (int k = DFTSpectralAnalayzerWidget::kFirstBin; k <= DFTSpectralAnalayzerWidget::kLastBin; ++k) {
      if (widget_.magnitudeOfBin(k) > widget_.magnitudeOfBin(best)) best = k;
    }
    return best;
  }

  StandInApp app_;
  DFTSpectralAnalayzerWidget widget_;
};

TEST(FftTest, TransformsOfKnownSequences) {
  // An impulse has a flat spectrum; a single complex exponential one spike.
  const unsigned long n = 16;
  std::vector<double> data(2 * n + 1, 0.0);
  data[1] = 1.0;
  fft(data.data(), n);
  for (unsigned long k = 0; k < n; ++k) {
    EXPECT_NEAR(data[2 * k + 1], 1.0, 1e-9);
    EXPECT_NEAR(data[2 * k + 2], 0.0, 1e-9);
  }
  std::fill(data.begin(), data.end(), 0.0);
  for (unsigned long t = 0; t < n; ++t) {
    // exp(-2 pi i 3 t / n): with the positive exponent it lands in bin 3.
    data[2 * t + 1] = std::cos(2.0 * M_PI * 3.0 * t / n);
    data[2 * t + 2] = -std::sin(2.0 * M_PI * 3.0 * t / n);
  }
  fft(data.data(), n);
  for (unsigned long k = 0; k < n; ++k) {
    const double size = std::hypot(data[2 * k + 1], data[2 * k + 2]);
    EXPECT_NEAR(size, k == 3 ? 16.0 : 0.0, 1e-4) << "bin " << k;
  }
}

TEST_F(SpectrumTest, InstallingTheTapPreparesTheTransformAndIgnoresThePointer) {
  EXPECT_TRUE(widget_.isTapInstalled());
  EXPECT_EQ(widget_.getTransformSize(), 4096u);
  EXPECT_FALSE(widget_.isEnabled());
}

TEST_F(SpectrumTest, AToneOfOneKilohertzPeaksNearX336) {
  feed(toneChunk(1000.0, 12000.0));
  const int k = peakBin();
  EXPECT_NEAR(k * DFTSpectralAnalayzerWidget::kBinHz, 1000.0, 44.0);
  EXPECT_NEAR(DFTSpectralAnalayzerWidget::xOfBin(k), 336.0, 3.0);

  RecordingGraphics g;
  widget_.draw(&g, nullptr);
  ASSERT_EQ(g.callsOf("drawLine").size(), 510u);
  float topY = std::numeric_limits<float>::max(), topX = 0.0f;
  for (const auto& line : g.callsOf("drawLine")) {
    EXPECT_EQ(line.color.r, 0);
    EXPECT_EQ(line.color.g, 255);
    EXPECT_EQ(line.color.b, 255);
    EXPECT_FLOAT_EQ(line.extra, 0.1f);
    if (line.y < topY) {
      topY = line.y;
      topX = line.x;
    }
  }
  EXPECT_NEAR(topX, 336.0f, 3.0f);
  EXPECT_LT(topY, 200.0f - 100.0f) << "a loud tone rises well above the bottom edge";
}

// Samples are signed: a tone around a negative offset is still the same tone,
// and the offset itself (0 Hz) is not shown.
TEST_F(SpectrumTest, SignedSamplesAroundAnOffsetGiveTheSamePeak) {
  feed(toneChunk(2500.0, 9000.0, 1024, -15000));
  EXPECT_NEAR(peakBin() * DFTSpectralAnalayzerWidget::kBinHz, 2500.0, 44.0);
}

// The window spans every sample: far from the tone the spectrum is at least
// 40 dB (2 decades, 512 units) below the peak.
TEST_F(SpectrumTest, LeakageFarFromTheToneStaysLow) {
  feed(toneChunk(1000.0, 12000.0));
  const int k = peakBin();
  const int peak = widget_.magnitudeOfBin(k);
  for (int b = DFTSpectralAnalayzerWidget::kFirstBin; b <= DFTSpectralAnalayzerWidget::kLastBin; ++b) {
    if (std::abs(b - k) < 10) continue;
    EXPECT_LE(widget_.magnitudeOfBin(b), peak - 512) << "bin " << b;
  }
}

TEST_F(SpectrumTest, SilenceAndLowBinsDrawOnTheBottomEdge) {
  feed(std::vector<uint8_t>(4096, 0));
  RecordingGraphics g;
  widget_.draw(&g, nullptr);
  for (const auto& line : g.callsOf("drawLine")) {
    EXPECT_FLOAT_EQ(line.y, 200.0f);
    EXPECT_FALSE(std::isnan(line.h));
  }
  feed(toneChunk(100.0, 15000.0));  // below 200 Hz: never shown
  for (int b = 1; b <= 4; ++b) EXPECT_FLOAT_EQ(widget_.yOfBin(b), 200.0f) << "bin " << b;
}

TEST_F(SpectrumTest, TheTapNeverWritesPastItsBuffer) {
  std::vector<uint8_t> huge(SpectrumTapBuffer::kCapacity * 3, 0x7F);
  spectrumTap(widget_.tapBuffer(), huge.data(), static_cast<int>(huge.size()));
  EXPECT_EQ(widget_.tapBuffer()->length, SpectrumTapBuffer::kCapacity);
  spectrumTap(widget_.tapBuffer(), huge.data(), -5);
  EXPECT_EQ(widget_.tapBuffer()->length, SpectrumTapBuffer::kCapacity);
  widget_.analyse();
  // A short chunk leaves the rest of the analysed frames silent, not stale.
  feed(toneChunk(1000.0, 12000.0, 256));
  EXPECT_NEAR(peakBin() * DFTSpectralAnalayzerWidget::kBinHz, 1000.0, 90.0);
}

TEST(SpectrumBeforeTapTest, NothingIsAnalysedOrDrawnAboveTheEdge) {
  DFTSpectralAnalayzerWidget widget;
  widget.setRect(0, 0, 100, 50);
  widget.analyse();
  RecordingGraphics g;
  widget.draw(&g, nullptr);
  for (const auto& line : g.callsOf("drawLine")) EXPECT_FLOAT_EQ(line.y, 50.0f);
}

// Whether the mixer hands the analyser a chunk within a second (the dummy driver
// mixes in real time).
bool receivesSamples(DFTSpectralAnalayzerWidget& widget) {
  SpectrumTapBuffer* tap = widget.tapBuffer();
  {
    std::lock_guard<std::mutex> lock(tap->mutex);
    tap->length = 0;
  }
  for (int waited = 0; waited < 1000; waited += 10) {
    SDL_Delay(10);
    std::lock_guard<std::mutex> lock(tap->mutex);
    if (tap->length > 0) return true;
  }
  return false;
}

// A screen's analyser attaches before the one of the screen it replaces is
// destroyed, in either order of leaving: every analyser still alive keeps hearing.
TEST(SpectrumTapTest, AnAnalyserGoingLeavesTheOthersTheirTap) {
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_AUDIO)) << SDL_GetError();
  ASSERT_EQ(0, Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024)) << Mix_GetError();
  auto* first = new DFTSpectralAnalayzerWidget();
  first->attachTap();
  auto* second = new DFTSpectralAnalayzerWidget();
  second->attachTap();
  EXPECT_TRUE(receivesSamples(*first));
  delete first;
  EXPECT_TRUE(receivesSamples(*second)) << "the first analyser took the second one's tap with it";
  auto* third = new DFTSpectralAnalayzerWidget();
  third->attachTap();
  delete third;
  EXPECT_TRUE(receivesSamples(*second)) << "the latest analyser took the older one's tap with it";
  delete second;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

class AnnounceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_announceFont = &font_;
    g_announceBanner = &banner_;
  }
  void TearDown() override {
    g_announceFont = nullptr;
    g_announceBanner = nullptr;
  }
  StandInFont font_{20};
  StandInTexture banner_{256, 128};
};

TEST_F(AnnounceTest, BannerSlidesInHoldsAndSlidesOut) {
  AnnounceMusicTrack announce("Orbit Choir", "Night Shift");
  EXPECT_EQ(announce.getX(), 0.0f);
  EXPECT_EQ(announce.getY(), 600.0f);
  EXPECT_EQ(announce.getWidth(), 256.0f);
  EXPECT_EQ(announce.getHeight(), 128.0f);
  EXPECT_FALSE(announce.isEnabled());

  auto bannerX = [&]() {
    RecordingGraphics g;
    announce.draw(&g, nullptr);
    EXPECT_EQ(g.callsOf("drawImage").size(), 1u);
    return g.callsOf("drawImage").empty() ? 9999 : g.callsOf("drawImage")[0].x;
  };
  EXPECT_EQ(bannerX(), -255);
  int now = 0;
  bool held = false;
  while (announce.isRunning() && now < 10000) {
    announce.update(16, nullptr);
    now += 16;
    const int x = bannerX();
    EXPECT_GE(x, -255);
    EXPECT_LE(x, 0);
    if (now >= 512 + 3 * 16 && now <= 6596 - 16) {
      EXPECT_EQ(x, 0) << "at " << now << " ms";
    }
    if (x == 0) held = true;
  }
  EXPECT_TRUE(held);
  EXPECT_EQ(bannerX(), -255);
  EXPECT_EQ(announce.getAlpha(), 0);
  EXPECT_GE(now, 7108);
  EXPECT_LE(now, 7108 + 4 * 16);
}

TEST_F(AnnounceTest, TextsGoInTheirColoursAndOnlyBothTextsBringTheBanner) {
  AnnounceMusicTrack both("Orbit Choir", "Night Shift");
  for (int i = 0; i < 60; ++i) both.update(16, nullptr);
  RecordingGraphics g;
  both.draw(&g, nullptr);
  ASSERT_EQ(font_.texts.size(), 2u);
  EXPECT_EQ(font_.texts[0].text, "Orbit Choir");
  EXPECT_EQ(font_.texts[0].x, AnnounceMusicTrack::kTextX);
  EXPECT_EQ(font_.texts[0].y, AnnounceMusicTrack::kTextTop);
  EXPECT_EQ(font_.texts[0].color.g, 200);
  EXPECT_EQ(font_.texts[0].color.a, 255);
  EXPECT_EQ(font_.texts[1].text, "Night Shift");
  EXPECT_EQ(font_.texts[1].y, font_.texts[0].y + font_.getLineHeight()) << "a line apart: no overprint";
  EXPECT_EQ(font_.texts[1].color.r, 255);
  EXPECT_EQ(font_.texts[1].color.g, 0);
  EXPECT_EQ(font_.texts[1].color.b, 255);
  EXPECT_EQ(g.callsOf("drawImage").size(), 1u);

  font_.texts.clear();
  AnnounceMusicTrack authorOnly("A", "");
  RecordingGraphics g2;
  authorOnly.draw(&g2, nullptr);
  EXPECT_TRUE(g2.callsOf("drawImage").empty());
  ASSERT_EQ(font_.texts.size(), 1u);
  EXPECT_EQ(font_.texts[0].text, "A");

  font_.texts.clear();
  AnnounceMusicTrack none("", "");
  RecordingGraphics g3;
  none.draw(&g3, nullptr);
  EXPECT_TRUE(g3.callsOf("drawImage").empty());
  EXPECT_TRUE(font_.texts.empty());
}

}  // namespace
