#include "FrameStep.h"

float physicsStepForFrame(uint32_t dtMs, float timeScale) {
  // The single-precision 0.1 widened to double, as the loop has always used it.
  const double perMs = static_cast<double>(0.1f);
  float step = dtMs == 0 ? 0.01f : static_cast<float>(dtMs * perMs);
  if (!(step > 0.0f && step < 1.6f)) step = 1.33f;
  return step * timeScale;
}
