#include "particles/ParticlePatch.h"

#include <tinyxml.h>

#include "LayoutValues.h"

namespace {

void readFloat(const TiXmlElement* e, const char* name, float& field) {
  float value = 0.0f;
  if (e->QueryFloatAttribute(name, &value) == TIXML_SUCCESS) field = value;
}

void readInt(const TiXmlElement* e, const char* name, int& field) {
  int value = 0;
  if (e->QueryIntAttribute(name, &value) == TIXML_SUCCESS) field = value;
}

void readColour(const TiXmlElement* e, Color& field) {
  if (const char* text = e->Attribute("color")) field = parseColor(text);
}

void readKeyFrame(const TiXmlElement* e, Color& colour, float& scale, float& angle) {
  if (!e) return;
  readColour(e, colour);
  readFloat(e, "scale", scale);
  readFloat(e, "angle", angle);
}

uint8_t blend(uint8_t from, uint8_t to, float fraction) {
  const float value = static_cast<float>(from) +
                      (static_cast<float>(to) - static_cast<float>(from)) * fraction;
  return static_cast<uint8_t>(value);
}

}  // namespace

ParticlePatch::ParticlePatch(int lifeMs) : lifeMs_(lifeMs) {}

bool ParticlePatch::readFromXml(const TiXmlElement* element) {
  if (!element) return false;
  if (const TiXmlElement* physics = element->FirstChildElement("Physics")) {
    readFloat(physics, "fx", configuredForceX_);
    readFloat(physics, "fy", configuredForceY_);
    readFloat(physics, "vx", configuredVelocityX_);
    readFloat(physics, "vy", configuredVelocityY_);
    forceX_ = configuredForceX_;
    forceY_ = configuredForceY_;
    velocityX_ = configuredVelocityX_;
    velocityY_ = configuredVelocityY_;
    readFloat(physics, "mass", mass_);
    readFloat(physics, "gx", gravityX_);
    readFloat(physics, "gy", gravityY_);
    readFloat(physics, "x", startX_);
    readFloat(physics, "y", startY_);
    readInt(physics, "emissionRange", emissionRange_);
    // The patch starts out where the file places it.
    x_ = startX_;
    y_ = startY_;
  }
  readKeyFrame(element->FirstChildElement("KeyFrameStart"), startColour_, startScale_,
               startAngle_);
  readKeyFrame(element->FirstChildElement("KeyFrameEnd"), endColour_, endScale_, endAngle_);
  colour_ = startColour_;
  return true;
}

void ParticlePatch::update(int dt) {
  if (!active_ || dt <= 0) return;
  elapsedLife_ += dt;
  const float k = 1.0f / static_cast<float>(dt);
  // A patch without mass is not pushed by forces at all.
  const float m = mass_ != 0.0f ? 1.0f / mass_ : 0.0f;
  forceX_ += gravityX_;
  forceY_ += gravityY_;
  const float ax = forceX_ * k;
  const float ay = forceY_ * k;
  velocityX_ = m * ax + velocityX_;
  velocityY_ = m * ay + velocityY_;
  x_ = velocityX_ * k + x_;
  y_ = velocityY_ * k + y_;
  // The force is divided by the time step at every update.
  forceX_ = ax;
  forceY_ = ay;
  updateColour();
}

void ParticlePatch::updateColour() {
  float fraction = 1.0f;
  if (lifeMs_ > 0) fraction = static_cast<float>(elapsedLife_) / static_cast<float>(lifeMs_);
  if (fraction < 0.0f) fraction = 0.0f;
  if (fraction > 1.0f) fraction = 1.0f;
  colour_.r = blend(startColour_.r, endColour_.r, fraction);
  colour_.g = blend(startColour_.g, endColour_.g, fraction);
  colour_.b = blend(startColour_.b, endColour_.b, fraction);
  colour_.a = blend(startColour_.a, endColour_.a, fraction);
}
