#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "Widget.h"

// What the mixer's post-mix tap writes on the audio thread and the analyser
// reads on the main thread; the lock keeps a frame from seeing half a chunk.
struct SpectrumTapBuffer {
  // Larger than any chunk the mixer hands over at our settings (4096 bytes).
  static constexpr size_t kCapacity = 16384;

  std::mutex mutex;
  uint8_t bytes[kCapacity] = {};
  size_t length = 0;
};

// Copies one mixed chunk into an analyser's buffer, at most its capacity; the
// mixer's post-mix tap calls it for every analyser attached.
void spectrumTap(void* userData, uint8_t* stream, int length);

// Draws the spectrum of the music being played as a cyan line over a
// logarithmic frequency axis, rising from the widget's bottom edge.
class DFTSpectralAnalayzerWidget : public Widget {
 public:
  // Bytes of mixed output analysed each frame: one mixer chunk of 1024
  // stereo frames of signed 16-bit samples.
  static constexpr size_t kAnalysedBytes = 4096;
  static constexpr size_t kFrames = kAnalysedBytes / 4;
  static constexpr unsigned long kMinimumPoints = 4096;
  // Every drawn bin is this many transform bins apart, so a bin is
  // 44100 / 1024 Hz wide whatever the transform size.
  static constexpr double kBinHz = 44100.0 / 1024.0;
  static constexpr int kFirstBin = 1;
  static constexpr int kLastBin = 510;

  DFTSpectralAnalayzerWidget();
  ~DFTSpectralAnalayzerWidget() override;

  // Installs the tap when the widget joins a screen; the tap stays for the
  // other analysers when this one is destroyed.
  void onAttached() override;
  void attachTap();
  // Once a frame: transforms the latest chunk.
  void update(int dt, ScreenBase* screen) override;
  void analyse();
  void draw(Graphics* g, ScreenBase* screen) override;

  void setVerticalScale(float scale) { verticalScale_ = scale; }
  float getVerticalScale() const { return verticalScale_; }
  unsigned long getTransformSize() const { return points_; }
  bool isTapInstalled() const { return tapInstalled_; }
  SpectrumTapBuffer* tapBuffer() { return &tap_; }

  // Magnitude of drawn bin k (0 below 200 Hz or before any sound).
  int magnitudeOfBin(int k) const;
  // Where bin k is drawn, in the widget's own coordinates.
  static float xOfBin(int k);
  float yOfBin(int k) const;

 private:
  SpectrumTapBuffer tap_;
  unsigned long points_ = 0;
  std::vector<double> transform_;  // 2 * points_ + 1 doubles, values from [1] on
  std::vector<int> samples_;
  uint8_t chunk_[kAnalysedBytes] = {};
  float verticalScale_ = 1.0f;
  bool tapInstalled_ = false;
};
