#pragma once
#include "Dynamics/Constraints/xConstraintSet.h"

namespace QuillonPHX2D {

class xMaterial;

// A contact for one step: a normal row that only pushes, and a friction row bounded by the
// normal force of the previous sweep.
class QLN_API xContactConstraint : public xConstraintSet {
 public:
  xContactConstraint();

  void initialize(xBody *b0, xBody *b1, xMaterial *m0, xMaterial *m1, const Vec2 &point, const Vec2 &normal,
                  float depth, bool flag);

  int formEquations(xEquationStream &eq, xBodyStream &bodies, float h) override;
  int getMaxDOF() override;
  int getNUE() override;

  const Vec2 &point() const { return point_; }
  const Vec2 &normal() const { return normal_; }
  float depth() const { return depth_; }
  xMaterial *material0() const { return material0_; }
  xMaterial *material1() const { return material1_; }
  const Vec2 &lever0() const { return lever0_; }
  const Vec2 &lever1() const { return lever1_; }

  // Friction coefficient and restitution coefficient of the material pair.
  float frictionCoefficient() const;
  float restitutionCoefficient() const;

 private:
  Vec2 point_;
  Vec2 normal_;
  float depth_;
  xMaterial *material0_;
  xMaterial *material1_;
  Vec2 lever0_;
  Vec2 lever1_;
  bool spareFlag_;
};

}  // namespace QuillonPHX2D
