#pragma once
// Tuning the contact rows of the 2D world and of the game's 3D world share.

namespace QuillonPHX2D {

// Fastest the overlap push-out of a contact may get, per unit of time: a deep overlap comes
// apart over a few steps instead of firing the bodies apart.
constexpr float kContactMaxOverlapSpeed = 1.0f;
// Softness of friction rows, ten times that of 2D normal rows: it calms the stick-slip chatter
// of bodies at rest.
constexpr float kContactFrictionSoftness = 1e-04f;

}  // namespace QuillonPHX2D
