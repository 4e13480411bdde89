#include "tinyaction/TinyActionOperatorFunction.h"

#include <cmath>

#include "AssertReport.h"

double linearOperatorFunction(float elapsed, float duration, float /*factor*/) {
  const double result = static_cast<double>(elapsed) / static_cast<double>(duration);
  if (!std::isfinite(result)) bge::assertReport("_finite(result)", "_finite(result)", __FILE__, __LINE__);
  return result;
}

double exponentialOperatorFunction(float elapsed, float duration, float /*factor*/) {
  static const double ln2 = std::log(2.0);
  return std::exp(static_cast<double>(elapsed) / static_cast<double>(duration) * ln2) - 1.0;
}

double logarithmicOperatorFunction(float elapsed, float duration, float /*factor*/) {
  const double x = static_cast<double>(elapsed) / static_cast<double>(duration);
  return std::log(x * 1.718281828 + 2.0 - 1.0);
}
