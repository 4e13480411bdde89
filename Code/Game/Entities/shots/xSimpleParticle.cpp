#include "Game/Entities/shots/xSimpleParticle.h"

#include <cmath>
#include <new>

#include "AssertReport.h"
#include "Collision/Shapes/xShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "ConfigFile.h"
#include "DesignSize.h"
#include "Dynamics/Bodies/xBody.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "Graphics.h"
#include "MyApp.h"
#include "SafeDelete.h"
#include "Texture.h"
#include "XmlAttributes.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"

using namespace QuillonPHX2D;

namespace {

// The design area particles stay in: they bounce back at its edges.
// A particle fades over three quarters of its life setting.
constexpr float kFadeShare = 0.75f;
constexpr int kMaxFadeMs = 60000;

// The level's game speed; the intro and other screens without a level run at normal speed.
float speedFactorNow() {
  return levelRunning() ? theLevel().speedFactor() : 1.0f;
}

}  // namespace

// --- description ---

xEntity* xSimpleParticleEntityDesc::createEntity() {
  xSimpleParticle* made = new (std::nothrow) xSimpleParticle();
  BGE_REPORT_MSG(made, "no memory for a particle");
  return made;
}

bool xSimpleParticleEntityDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  // The base reports its own failures; the particle's attributes are read regardless.
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  type = reader.readInt(e, "type", type);
  startScale = reader.readFloat(e, "startScale", startScale);
  endScale = reader.readFloat(e, "endScale", endScale);
  return true;
}

// --- entity ---

int xSimpleParticle::lifeSetting() {
  const MyApp* app = MyApp::instance();
  const ConfigFile* parameters = app ? app->gameParameters() : nullptr;
  return parameters ? parameters->read<int>("Gameplay.particleLife", kDefaultLifeMs) : kDefaultLifeMs;
}

int xSimpleParticle::live_ = 0;

xSimpleParticle::xSimpleParticle() {
  ++live_;
  const double lifeMs = static_cast<double>(lifeSetting()) * speedFactorNow() * kFadeShare;
  // A life of no time (or a negative setting) still fades over one step, so the end
  // of the fade is always told after the particle is on the scene; a huge setting
  // stops at a minute rather than overflowing.
  fadeMs_ = lifeMs < 1.0 ? 1 : lifeMs > kMaxFadeMs ? kMaxFadeMs : static_cast<int>(lifeMs);
  TinyActionSequence* fade = new TinyActionSequence(false);
  fade->addAction(new TinyRelIncrementator<int>(TinyTimer(fadeMs_), &alpha_, -255, linearOperatorFunction, 1.0f));
  fade_.reset(fade);
  fade_->start(this, 0);
}

xSimpleParticle::~xSimpleParticle() {
  --live_;
}

void xSimpleParticle::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  const auto* d = dynamic_cast<const xSimpleParticleEntityDesc*>(desc);
  if (!d) return;
  type_ = d->type;
  const float change = d->endScale - d->startScale;
  // Scales far apart in a file would give an endless size; such a particle keeps its own.
  if (type_ == xSimpleParticleEntityDesc::kScaling && std::isfinite(change)) {
    TinyActionSequence* scaling = new TinyActionSequence(false);
    scaling->addAction(new TinyRelIncrementator<float>(TinyTimer(kScaleMs), &scale_, change,
                                                       linearOperatorFunction, 1.0f));
    scaling_.reset(scaling);
    scaling_->start(nullptr, -1);
  }
}

void xSimpleParticle::update(int dt, ScreenBase*) {
  if (!isActive()) return;
  if (body_) {
    Vec2 v = body_->getVelocity() * kDrag;
    const Vec3 p = body_->absPlacement();
    // Only the direction turns: a particle beyond an edge keeps flipping until it is back.
    if (p.x < 0.0f || p.x > bge::kDesignWidth) v.x = -v.x;
    if (p.y < 0.0f || p.y > bge::kDesignHeight) v.y = -v.y;
    body_->setVelocity(v);
  }
  if (fade_) fade_->update(dt);
  if (alpha_ < 0) alpha_ = 0;
  if (scaling_) scaling_->update(dt);
  imageColor_.a = static_cast<unsigned char>(alpha_ > 255 ? 255 : alpha_);
}

void xSimpleParticle::draw(Graphics* g, ScreenBase*) {
  if (!isActive() || !texture_) return;
  // A particle shrunk to nothing shows nothing; the matrix stack undoes the
  // transform, so no step divides by the scale.
  if (!(scale_ > 0.0f || scale_ < 0.0f)) return;
  const Vec3 p = absPlacement();
  g->pushMatrix();
  g->translate(p.x, p.y);
  g->rotate(qlnRadToDeg(p.z), 0.0f, 0.0f, 1.0f);
  g->scale(scale_, scale_);
  g->translate(-texture_->getWidth() * 0.5f, -texture_->getHeight() * 0.5f);
  g->drawImage(0, 0, texture_, imageColor_);
  g->popMatrix();
}

void xSimpleParticle::actionFinished(int) {
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
}

bool xSimpleParticle::notifyCollision(xShape*, xShape* other, const Vec2&, float, const Vec2&) {
  const xCollisionCategory* c = other ? other->getCollisionCategory() : nullptr;
  if (c && c->categoryID() == "bulletkillzone" && sceneEntityManager_ &&
      !sceneEntityManager_->isScheduledForRemoval(this))
    sceneEntityManager_->scheduleRemoval(this, true);
  return false;
}
