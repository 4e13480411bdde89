#pragma once
#include "Foundation/Math/QlnMath.h"

namespace QuillonPHX2D {

// The island's bodies as the solver sees them: three columns (x, y, angle) per body,
// at column 3 x island index.
class QLN_API xBodyStream {
 public:
  xBodyStream();

  // Room for `columns` per-body columns and `positionRows` position rows; grows only.
  void resize(int columns, int positionRows);
  // Zeroes the inverse-mass and position matrices and the saved-force and velocity vectors.
  void clear();

  xMatrix inverseMass;  // 3n rows x 3: 1/mass, 1/mass, 1/inertia on the diagonal of each block
  xMatrix positions;    // n rows x 3: x, y, angle
  xVector forces;       // external force and torque plus the constraint forces of the sweeps
  xVector savedForces;  // the bodies' own force and torque at the start of solve
  xVector velocities;   // vx, vy, angular velocity
  Vec2 gravity;

 private:
  int sizedColumns_;
  int sizedPositionRows_;
};

}  // namespace QuillonPHX2D
