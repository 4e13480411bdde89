#include "music/FFT.h"

#include <cmath>
#include <utility>

#include "AssertReport.h"

namespace {
// 2 pi as the float the analyser has always used.
constexpr double kTwoPi = 6.2831854820251465;
}  // namespace

void fft(double* data, unsigned long n) {
  // The transform's length must be a power of two.
  if (!BGE_REPORT(n > 0 && (n & (n - 1)) == 0)) return;
  const unsigned long size = n << 1;

  // Bit-reversal permutation of the complex values.
  unsigned long j = 1;
  for (unsigned long i = 1; i < size; i += 2) {
    if (j > i) {
      std::swap(data[j], data[i]);
      std::swap(data[j + 1], data[i + 1]);
    }
    unsigned long m = n;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }

  // Butterflies, the span doubling each stage; the twiddle follows a recurrence.
  unsigned long span = 2;
  while (size > span) {
    const unsigned long step = span << 1;
    const double theta = kTwoPi / static_cast<double>(span);
    const double half = std::sin(0.5 * theta);
    const double wpr = -2.0 * half * half;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (unsigned long m = 1; m < span; m += 2) {
      for (unsigned long i = m; i <= size; i += step) {
        const unsigned long k = i + span;
        const double tr = wr * data[k] - wi * data[k + 1];
        const double ti = wr * data[k + 1] + wi * data[k];
        data[k] = data[i] - tr;
        data[k + 1] = data[i + 1] - ti;
        data[i] += tr;
        data[i + 1] += ti;
      }
      const double previous = wr;
      wr = wr * wpr - wi * wpi + wr;
      wi = wi * wpr + previous * wpi + wi;
    }
    span = step;
  }
}
