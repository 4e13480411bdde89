#include "Game/Entities/towers/xBaseSupportTowerEntity.h"

#include "AssertReport.h"
#include "Game/InfoPanelText.h"

#include <algorithm>
#include <sstream>

#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "CollisionContext/xCollisionContext.h"
#include "Font.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "GameApp.h"
#include "Graphics.h"
#include "LabelManager.h"
#include "ResourceManager.h"
#include "Store/CStatsAndAchievements.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

namespace {

// A tower body is a 28-pixel square; it counts as in range once its inscribed
// circle touches the range circle.
constexpr float kTowerBodyRadius = 14.0f;

bool isActor(const xShape* s) {
  return s && s->getCollisionCategory() && s->getCollisionCategory()->categoryID() == "actor";
}

}  // namespace

void xBaseSupportTowerEntity::update(int dt, ScreenBase*) {
  if (flashing_) {
    xBaseTowerEntity::update(dt, nullptr);
    return;
  }
  // A support tower's own range is never boosted.
  rangeFactor_ = 1.0f;
  energy_ = energyUnscaled_ * energyFactor_;
  if (repair_ > 0.0f) applyEnergyFactor(repair_);
  effectiveDamage_ = static_cast<float>(damage_) * damageFactor_;
  effectiveRange_ = range_ * rangeFactor_;
  // A bank unit in range adds interest every frame; nothing else clears it for a
  // tower that does not fight, so it is cleared here instead of growing unbounded.
  lastInterestBonus_ = interestBonus_;
  interestBonus_ = 0;
}

bool xBaseSupportTowerEntity::notifyCollision(xShape* own, xShape* other, const Vec2&, float, const Vec2&) {
  if (own && own == rangeSensor_.get() && isActor(other) && other->getOwner() != this) {
    if (auto* e = dynamic_cast<xSharkEntity*>(other->getOwner())) copyTargets(e);
  }
  return false;
}

void xBaseSupportTowerEntity::collectTargets() {
  // Standing towers are static bodies whose contacts the world may never report:
  // the sensor asks the world what it overlaps as well.
  if (rangeSensor_ && g_ptrSDK && g_ptrSDK->collisionContext()) {
    xArray<xShape*> found;
    xCategoryNamed actors("actor");
    g_ptrSDK->collisionContext()->collisionSpace()->getClosest(found, rangeSensor_.get(), true, actors);
    const Vec3 me = rangeSensor_->absPlacement();
    for (int i = 0; i < found.size(); ++i) {
      xShape* s = found[i];
      if (s == rangeSensor_.get() || !isActor(s) || s->getOwner() == this) continue;
      const Vec3 p = s->absPlacement();
      if (qlnLenV2(Vec2(p.x - me.x, p.y - me.y)) > effectiveRange_ + kTowerBodyRadius) continue;
      if (auto* e = dynamic_cast<xSharkEntity*>(s->getOwner())) copyTargets(e);
    }
  }
  candidates_.clear();
  SceneEntityManager* manager = sceneEntityManager_;
  for (xSharkEntity* c : contacts_) {
    if (!manager || !manager->findLiveEntity(c)) continue;
    if (c->categoryName() == "actor") candidates_.push_back(c);
  }
  contacts_.clear();
  contactSet_.clear();
}

std::vector<xBaseTowerEntity*> xBaseSupportTowerEntity::towersInRange() const {
  std::vector<xBaseTowerEntity*> towers;
  for (xSharkEntity* c : candidates_)
    if (auto* t = dynamic_cast<xBaseTowerEntity*>(c); t && t != this) towers.push_back(t);
  return towers;
}

void xBaseSupportTowerEntity::saveAndResetOwnFactors() {
  lastRangeFactor_ = rangeFactor_;
  rangeFactor_ = 1.0f;
  lastDamageFactor_ = damageFactor_;
  damageFactor_ = 1.0f;
  lastEnergyFactor_ = energyFactor_;
  energyFactor_ = 1.0f;
  lastRepair_ = repair_;
  repair_ = 0.0f;
}

void xBaseSupportTowerEntity::applySupport() { saveAndResetOwnFactors(); }

void xBaseSupportTowerEntity::resetFactors() {
  rangeFactor_ = damageFactor_ = energyFactor_ = 1.0f;
  repair_ = 0.0f;
}

void xBaseSupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseTowerEntity::notifyCreated(desc);
  // No targeting strategy: the command panel shows no strategy buttons.
  targetSelection_ = -1;
}

std::string towerLabel(const char* key) {
  GameApp* app = GameApp::instance();
  LabelManager* labels = app ? app->gameMessages() : nullptr;
  return labels ? labels->getLabel(key) : std::string(key);
}

xEntity* nameNewTower(xBaseTowerEntity* tower, const char* nameLabel, const char* statistic, const Color& fill,
                      const Color& name, const Color& range) {
  if (!BGE_REPORT_MSG(tower, (std::string("no memory for a tower ") + nameLabel).c_str())) return nullptr;
  if (statistic && g_statsAndAchievements) g_statsAndAchievements->addStat(statistic);
  tower->nameFromLabel(towerLabel(nameLabel));
  tower->setColours(fill, name, range);
  return tower;
}

int xBaseSupportTowerEntity::upgrade() {
  const int damage = xBaseTowerEntity::upgrade();
  if (upgradeStatistic_ && upgradeLevel_ == kMaxUpgradeLevel && theLevel().countsTopUpgrades() &&
      g_statsAndAchievements)
    g_statsAndAchievements->addStat(upgradeStatistic_);
  return damage;
}

void xBaseSupportTowerEntity::infoText(Graphics* g, const Rect5& area) {
  drawPlainTowerInfo(g, area, name_, boostLabel_ ? towerLabel(boostLabel_) + ": " + infoValue() : std::string(), energy_,
                     energyMaxScaled_, info_);
}

void drawPlainTowerInfo(Graphics* g, const Rect5& area, const std::string& name, const std::string& boostLine,
                        float energy, float energyMax, const std::string& infoKey) {
  GameApp* app = GameApp::instance();
  ResourceManager* r = app ? app->globalResourceManager() : nullptr;
  Font* f = r ? r->findFont("FONT_NOTOSANS16") : nullptr;
  if (!f || !g) return;
  InfoPanelText text(g, f, area);
  text.row(name, Color(255, 255, 255, 255));
  std::istringstream figures(boostLine);
  for (std::string line; std::getline(figures, line);) text.row(line, Color(0, 255, 255, 255));
  text.row(xBaseTowerEntity::energyLine(energy, energyMax), Color::scaleRgb(Color(0, 255, 0, 255), 0.8f));
  text.wrapped(towerLabel(infoKey.c_str()), Color(255, 255, 255, 255));
}
