#pragma once
#include "Color.h"

class TiXmlElement;

// A single moving point whose colour runs from a start colour to an end colour
// over its life. Described by a particle element:
//   <Physics fx fy vx vy mass gx gy x y emissionRange/>
//   <KeyFrameStart color="Color(r, g, b, a)" scale angle/>
//   <KeyFrameEnd color="Color(r, g, b, a)" scale angle/>
// Every attribute is optional and leaves its field as it was.
class ParticlePatch {
 public:
  explicit ParticlePatch(int lifeMs = 0);
  virtual ~ParticlePatch() = default;
  ParticlePatch(const ParticlePatch&) = delete;
  ParticlePatch& operator=(const ParticlePatch&) = delete;

  // False when there is no element to read.
  virtual bool readFromXml(const TiXmlElement* element);
  // Moves the point by dt milliseconds; does nothing while inactive or for dt <= 0.
  virtual void update(int dt);
  virtual void setActive(bool active) { active_ = active; }

  // Current colour from the fraction of the life elapsed (the end colour once the
  // life is over, or when the patch has no life).
  void updateColour();

  bool isActive() const { return active_; }
  const Color& colour() const { return colour_; }
  float x() const { return x_; }
  float y() const { return y_; }
  float forceX() const { return forceX_; }
  float forceY() const { return forceY_; }
  float velocityX() const { return velocityX_; }
  float velocityY() const { return velocityY_; }
  int elapsedLife() const { return elapsedLife_; }
  int life() const { return lifeMs_; }
  float mass() const { return mass_; }
  float startX() const { return startX_; }
  float startY() const { return startY_; }
  const Color& startColour() const { return startColour_; }
  const Color& endColour() const { return endColour_; }
  float startScale() const { return startScale_; }
  float startAngle() const { return startAngle_; }
  float endScale() const { return endScale_; }
  float endAngle() const { return endAngle_; }
  int emissionRange() const { return emissionRange_; }

 private:
  bool active_ = false;
  Color colour_;
  float x_ = 0.0f;
  float y_ = 0.0f;
  Color startColour_;
  float startScale_ = 1.0f;
  float startAngle_ = 0.0f;
  float startX_ = 0.0f;
  float startY_ = 0.0f;
  Color endColour_;
  float endScale_ = 1.0f;
  float endAngle_ = 0.0f;
  int elapsedLife_ = 0;
  int emissionRange_ = 0;
  float configuredForceX_ = 0.0f;
  float configuredForceY_ = 0.0f;
  float configuredVelocityX_ = 0.0f;
  float configuredVelocityY_ = 0.0f;
  float forceX_ = 0.0f;
  float forceY_ = 0.0f;
  float velocityX_ = 0.0f;
  float velocityY_ = 0.0f;
  float mass_ = 1.0f;
  float gravityX_ = 0.0f;
  float gravityY_ = 0.0f;
  int lifeMs_ = 0;
};
