#include "particles/ParticlePatch.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>

#include "XmlAttributes.h"

namespace {

void readKeyFrame(const bge::XmlReader& xml, const TiXmlElement* e, Color& colour, float& scale,
                  float& angle) {
  if (!e) return;
  colour = xml.readColor(e, "color", colour);
  scale = xml.readFloat(e, "scale", scale);
  angle = xml.readFloat(e, "angle", angle);
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
  // Every value the file leaves out keeps what the patch has; "nan" and "inf"
  // are refused, they would spread into every position.
  const bge::XmlReader xml = bge::XmlReader::forDocumentOf(element, "particles");
  if (const TiXmlElement* physics = element->FirstChildElement("Physics")) {
    configuredForceX_ = xml.readFloat(physics, "fx", configuredForceX_);
    configuredForceY_ = xml.readFloat(physics, "fy", configuredForceY_);
    configuredVelocityX_ = xml.readFloat(physics, "vx", configuredVelocityX_);
    configuredVelocityY_ = xml.readFloat(physics, "vy", configuredVelocityY_);
    forceX_ = configuredForceX_;
    forceY_ = configuredForceY_;
    velocityX_ = configuredVelocityX_;
    velocityY_ = configuredVelocityY_;
    mass_ = xml.readFloat(physics, "mass", mass_);
    gravityX_ = xml.readFloat(physics, "gx", gravityX_);
    gravityY_ = xml.readFloat(physics, "gy", gravityY_);
    startX_ = xml.readFloat(physics, "x", startX_);
    startY_ = xml.readFloat(physics, "y", startY_);
    emissionRange_ = xml.readInt(physics, "emissionRange", emissionRange_);
    // The patch starts out where the file places it.
    x_ = startX_;
    y_ = startY_;
  }
  readKeyFrame(xml, element->FirstChildElement("KeyFrameStart"), startColour_, startScale_,
               startAngle_);
  readKeyFrame(xml, element->FirstChildElement("KeyFrameEnd"), endColour_, endScale_, endAngle_);
  colour_ = startColour_;
  return true;
}

void ParticlePatch::update(int dt) {
  if (!active_ || dt <= 0) return;
  elapsedLife_ += dt;
  const float k = 1.0f / static_cast<float>(dt);
  // A patch without mass is not pushed by forces at all.
  // A mass so small that its inverse overflows counts as none, too.
  float m = mass_ != 0.0f ? 1.0f / mass_ : 0.0f;
  if (!std::isfinite(m)) m = 0.0f;
  const float fx = forceX_ + gravityX_;
  const float fy = forceY_ + gravityY_;
  const float ax = fx * k;
  const float ay = fy * k;
  const float vx = m * ax + velocityX_;
  const float vy = m * ay + velocityY_;
  const float x = vx * k + x_;
  const float y = vy * k + y_;
  // Motion that overflowed would hand infinities and NaNs to drawing: the
  // patch stops where it last was.
  if (!std::isfinite(fx) || !std::isfinite(fy) || !std::isfinite(vx) || !std::isfinite(vy) ||
      !std::isfinite(x) || !std::isfinite(y)) {
    active_ = false;
    return;
  }
  velocityX_ = vx;
  velocityY_ = vy;
  x_ = x;
  y_ = y;
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
