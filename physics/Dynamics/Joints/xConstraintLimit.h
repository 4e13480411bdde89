#pragma once
#include "Foundation/Math/QlnMath.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

class xBody;
class xEquationStream;

// Limit and motor settings of a joint axis; writes the limit row and the motor row.
class QLN_API xConstraintLimit {
 public:
  static constexpr float kNotSet = -QLN_MAX;
  static constexpr float kTwoPi = QLN_2PI;

  xConstraintLimit();

  void setLimits(float lower, float upper) { lower_ = lower; upper_ = upper; }
  void setSoftness(float s) { softness_ = s; }
  void setFactor(float f) { factor_ = f; }
  void setMotorForce(float f) { motorForce_ = f; }
  void setVelocity(float v) { velocity_ = v; }
  void setMotorAngPos(float p) { motorPosition_ = p; }
  void setMotorLinPos(float p) { motorPosition_ = p; }

  float lower() const { return lower_; }
  float upper() const { return upper_; }
  float softness() const { return softness_; }
  float factor() const { return factor_; }
  float motorForce() const { return motorForce_; }
  float velocity() const { return velocity_; }
  float motorPosition() const { return motorPosition_; }
  bool hasMotorPosition() const { return motorPosition_ > kNotSet; }
  bool areAngularLimitsValid() const { return upper_ - lower_ < kTwoPi; }

  // Rows on an angle a, written at the stream's next row + rows; rows is increased per row.
  void angEquLimit(xEquationStream &eq, xBody *src, xBody *dst, float a, int &rows, float h);
  // Rows along an axis at position c.
  void linEquLimit(xEquationStream &eq, xBody *src, xBody *dst, const Vec2 &axis, float c, int &rows, float h);

 private:
  float lower_;
  float upper_;
  float softness_;
  float factor_;
  float motorForce_;
  float velocity_;
  float motorPosition_;
};

}  // namespace QuillonPHX2D
