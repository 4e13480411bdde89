#include "music/AudioAnalyserWidget.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Graphics.h"
#include "music/FFT.h"

namespace {
constexpr double kTwoPi = 6.2831854820251465;
constexpr double kLowestShownHz = 200.0;
constexpr double kSampleRate = 44100.0;
// Screen units of the frequency axis.
constexpr float kAxisScale = 1.46484375f;

unsigned long powerOfTwoNotBelow(unsigned long n) {
  unsigned long p = 1;
  while (p < n) p <<= 1;
  return p;
}

// The mixer holds one post-mix callback, and the next screen's analyser attaches
// before the last one's is destroyed: one tap feeds every live analyser, and it
// leaves the mixer only with the last of them.
std::mutex g_tapsMutex;
std::vector<SpectrumTapBuffer*> g_taps;

void feedEveryAnalyser(void* /*userData*/, uint8_t* stream, int length) {
  std::lock_guard<std::mutex> lock(g_tapsMutex);
  for (SpectrumTapBuffer* buffer : g_taps) spectrumTap(buffer, stream, length);
}
}  // namespace

void spectrumTap(void* userData, uint8_t* stream, int length) {
  SpectrumTapBuffer* buffer = static_cast<SpectrumTapBuffer*>(userData);
  if (!buffer || !stream || length <= 0) return;
  const size_t count = std::min(static_cast<size_t>(length), SpectrumTapBuffer::kCapacity);
  std::lock_guard<std::mutex> lock(buffer->mutex);
  std::memcpy(buffer->bytes, stream, count);
  buffer->length = count;
}

DFTSpectralAnalayzerWidget::DFTSpectralAnalayzerWidget() = default;

DFTSpectralAnalayzerWidget::~DFTSpectralAnalayzerWidget() {
  // The mixer must stop calling into this object before its memory goes.
  if (tapInstalled_) {
    bool last = false;
    {
      std::lock_guard<std::mutex> lock(g_tapsMutex);
      g_taps.erase(std::remove(g_taps.begin(), g_taps.end(), &tap_), g_taps.end());
      last = g_taps.empty();
    }
    // Outside the lock: the mixer waits for a running callback, which takes it.
    if (last) {
      Mix_HookMusic(nullptr, nullptr);
      Mix_SetPostMix(nullptr, nullptr);
    }
    tapInstalled_ = false;
  }
}

void DFTSpectralAnalayzerWidget::onAttached() { attachTap(); }

void DFTSpectralAnalayzerWidget::attachTap() {
  if (!tapInstalled_) {
    {
      std::lock_guard<std::mutex> lock(g_tapsMutex);
      g_taps.push_back(&tap_);
    }
    Mix_SetPostMix(&feedEveryAnalyser, nullptr);
    tapInstalled_ = true;
  }
  if (transform_.empty()) {
    points_ = powerOfTwoNotBelow(kMinimumPoints);
    transform_.assign(2 * points_ + 1, 0.0);
    samples_.assign(kFrames, 0);
  }
  setEnabled(false);
}

void DFTSpectralAnalayzerWidget::update(int /*dt*/, ScreenBase* /*screen*/) { analyse(); }

void DFTSpectralAnalayzerWidget::analyse() {
  if (!tapInstalled_ || transform_.empty()) return;
  size_t length = 0;
  {
    std::lock_guard<std::mutex> lock(tap_.mutex);
    length = std::min(tap_.length, kAnalysedBytes);
    std::memcpy(chunk_, tap_.bytes, length);
  }
  std::memset(chunk_ + length, 0, kAnalysedBytes - length);

  // Signed 16-bit little-endian stereo frames, mixed down to one channel.
  long long sum = 0;
  for (size_t f = 0; f < kFrames; ++f) {
    const uint8_t* frame = chunk_ + 4 * f;
    const int left = static_cast<int16_t>(static_cast<uint16_t>(frame[0] | (frame[1] << 8)));
    const int right = static_cast<int16_t>(static_cast<uint16_t>(frame[2] | (frame[3] << 8)));
    samples_[f] = (left + right) / 2;
    sum += samples_[f];
  }
  const int mean = static_cast<int>(sum / static_cast<long long>(kFrames));

  // The frames fill the start of the transform and the rest is zero, so transform
  // bin 4k lies exactly on drawn bin k; the window spans all the frames.
  std::fill(transform_.begin(), transform_.end(), 0.0);
  for (size_t f = 0; f < kFrames; ++f) {
    const double w = 0.54 - 0.46 * std::cos(kTwoPi * static_cast<double>(f) /
                                            static_cast<double>(kFrames - 1));
    transform_[2 * f + 1] = std::trunc(static_cast<double>(samples_[f] - mean) * w);
  }
  fft(transform_.data(), points_);
}

int DFTSpectralAnalayzerWidget::magnitudeOfBin(int k) const {
  if (transform_.empty() || k < 0) return 0;
  if (static_cast<double>(k) * kBinHz < kLowestShownHz) return 0;
  const unsigned long stride = points_ / kFrames;
  const unsigned long value = static_cast<unsigned long>(k) * stride;
  if (value >= points_) return 0;
  const double re = transform_[2 * value + 1];
  const double im = transform_[2 * value + 2];
  const double size = std::sqrt(re * re + im * im);
  // Silence would give log10(0); anything this small draws at the bottom anyway.
  if (!(size >= 1.0)) return 0;
  const double magnitude = std::log10(size) * 256.0 - 1024.0;
  return magnitude < 0.0 ? 0 : static_cast<int>(magnitude);
}

float DFTSpectralAnalayzerWidget::xOfBin(int k) {
  const double frequency = static_cast<double>(k) * kBinHz;
  if (frequency <= 0.0) return 100.0f * kAxisScale;
  return static_cast<float>((std::log10(frequency) / std::log10(kSampleRate) * 200.0 + 100.0) *
                            kAxisScale);
}

float DFTSpectralAnalayzerWidget::yOfBin(int k) const {
  return getHeight() - static_cast<float>(magnitudeOfBin(k)) * verticalScale_;
}

void DFTSpectralAnalayzerWidget::draw(Graphics* g, ScreenBase* /*screen*/) {
  const Color cyan(0, 255, 255, 255);
  for (int k = kFirstBin; k <= kLastBin; ++k) {
    const Graphics::Vec2 a(xOfBin(k), yOfBin(k));
    const Graphics::Vec2 b(xOfBin(k + 1), yOfBin(k + 1));
    g->drawLine(a, b, 0.1f, false, cyan, 0, 0);
  }
}
