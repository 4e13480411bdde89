// Joints belong to the shared library; the game neither builds nor uses them.
#if !defined(QLN_GAME_BUILD)
#include "Dynamics/Joints/xConstraintLimit.h"

#include <cmath>

#include "Dynamics/Bodies/xBody.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xEquationStream.h"

namespace QuillonPHX2D {
namespace {

// Limits wider than a turn: a fresh limit holds nothing until it is set.
constexpr float kOpenLimit = 185.0f;
// Limit rows are nearly rigid, as contacts are.
constexpr float kLimitSoftness = 1e-05f;
// Share of a limit or motor position error corrected per unit of time: gentle, so a limit
// catches a joint without a kick.
constexpr float kErrorFactor = 0.2f;
// The angular motor row gives a little, so a motor against a limit does not fight it rigidly.
constexpr float kMotorSoftness = 0.01f;
// A motor this close to its position (speed per unit of time) writes no row: it has arrived.
constexpr float kArrivedSpeed = 0.001f;

float wrap2Pi(float x) {
  float r = std::fmod(x, xConstraintLimit::kTwoPi);
  if (r < 0.0f) r += xConstraintLimit::kTwoPi;
  if (r >= xConstraintLimit::kTwoPi) r = 0.0f;
  return r;
}

void angularCoefficients(xEquationStream &eq, int row, xBody *dst) {
  eq.jacobianA(row, 2) = 1.0f;
  if (dst && dst->getDOF() > 2) eq.jacobianB(row, 2) = -1.0f;
}

void linearCoefficients(xEquationStream &eq, int row, xBody *dst, const Vec2 &axis) {
  eq.jacobianA(row, 0) = axis.x;
  eq.jacobianA(row, 1) = axis.y;
  if (dst) {
    eq.jacobianB(row, 0) = -axis.x;
    eq.jacobianB(row, 1) = -axis.y;
  }
}

}  // namespace

xConstraintLimit::xConstraintLimit()
    : lower_(-kOpenLimit),
      upper_(kOpenLimit),
      softness_(kLimitSoftness),
      factor_(kErrorFactor),
      motorForce_(0.0f),
      velocity_(0.0f),
      motorPosition_(kNotSet) {}

void xConstraintLimit::angEquLimit(xEquationStream &eq, xBody *, xBody *dst, float a, int &rows, float h) {
  float invH = 1.0f / h;
  float e = wrap2Pi(a - lower_);
  float range = upper_ - lower_;
  if (range < e) {
    int r = eq.nextRow + rows;
    angularCoefficients(eq, r, dst);
    float d = e - range;     // past the upper limit
    float w = kTwoPi - e;    // short of the lower limit
    eq.target(r) = invH * factor_ * (d < w ? -d : w);
    if (upper_ == lower_) {
      eq.lowerBound(r) = -QLN_MAX;
      eq.upperBound(r) = QLN_MAX;
    } else if (d < w) {
      eq.lowerBound(r) = -QLN_MAX;
      eq.upperBound(r) = 0.0f;
    } else {
      eq.lowerBound(r) = 0.0f;
      eq.upperBound(r) = QLN_MAX;
    }
    eq.softness(r) = softness_;
    ++rows;
  }
  if (motorForce_ > 0.0f) {
    float speed = velocity_;
    if (range < kTwoPi) {
      if (speed > 0.0f && speed > invH * std::fabs(e - range)) speed = invH * std::fabs(e - range);
      if (speed < 0.0f && -speed > invH * std::fabs(e)) speed = -invH * std::fabs(e);
    }
    if (hasMotorPosition()) {
      float t = wrap2Pi(motorPosition_ - a + QLN_PI);
      float err = factor_ * invH * (t - QLN_PI);
      float cap = std::fabs(velocity_);
      speed = qlnClamp(err, -cap, cap);
      if (std::fabs(speed) < kArrivedSpeed) return;
    }
    int r = eq.nextRow + rows;
    angularCoefficients(eq, r, dst);
    eq.lowerBound(r) = -motorForce_;
    eq.upperBound(r) = motorForce_;
    eq.target(r) = speed;
    eq.softness(r) = kMotorSoftness;
    ++rows;
  }
}

void xConstraintLimit::linEquLimit(xEquationStream &eq, xBody *, xBody *dst, const Vec2 &axis, float c, int &rows,
                                   float h) {
  float invH = 1.0f / h;
  if (!(c > lower_ && c < upper_) && lower_ <= upper_) {
    int r = eq.nextRow + rows;
    linearCoefficients(eq, r, dst, axis);
    float error;
    if (c <= lower_) {
      eq.lowerBound(r) = 0.0f;
      eq.upperBound(r) = QLN_MAX;
      error = lower_ - c;
    } else {
      eq.lowerBound(r) = -QLN_MAX;
      eq.upperBound(r) = 0.0f;
      error = upper_ - c;
    }
    eq.target(r) = error * invH * factor_;
    eq.softness(r) = factor_;
    ++rows;
  }
  if (motorForce_ > 0.0f) {
    float speed = c > lower_ ? velocity_ : invH * (lower_ - c);
    if (c >= upper_) speed = invH * (upper_ - c);
    if (hasMotorPosition()) {
      float err = (motorPosition_ - c) * invH * factor_;
      speed = qlnClamp(err, -velocity_, velocity_);
      if (std::fabs(speed) < kArrivedSpeed) return;
    }
    int r = eq.nextRow + rows;
    linearCoefficients(eq, r, dst, axis);
    eq.lowerBound(r) = -motorForce_;
    eq.upperBound(r) = motorForce_;
    eq.target(r) = speed;
    eq.softness(r) = factor_;
    ++rows;
  }
}

}  // namespace QuillonPHX2D
#endif
