#include "Game/Entities/towers/xBaseTowerEntity.h"

#include "AssertReport.h"
#include "Game/InfoPanelText.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xCollisionContext.h"
#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"
#include "DynamicResources/SfxContainer.h"
#include "Font.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/xBaseBrain.h"
#include "Game/LevelForEntities.h"
#include "Game/PlacementGrid.h"
#include "Game/SceneEntityManager.h"
#include "System/DisplayText.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "Graphics.h"
#include "LabelManager.h"
#include "ResourceManager.h"
#include "SafeDelete.h"
#include "SaveGame.h"
#include "WidgetManager.h"
#include "XmlAttributes.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

using namespace QuillonPHX2D;

namespace {

// How long the restore sweep's white square takes to fade.
constexpr int kFlashMs = 128;
// Alpha of the filled range circle; the outline is opaque.
constexpr int kRangeFillAlpha = 16;
// A frame of the game's 16 ms step: a shorter reload would only fire every frame.
constexpr int kShortestReloadMs = 16;
// What a periodic tower given no usable reload waits: a basic turret's second.
constexpr int kDefaultReloadMs = 1000;

const char* const kUpgradePip = "content/images/game/towerupgradeunit.png";
const char* const kBoostRange = "content/images/game/boost_range.png";
const char* const kBoostPower = "content/images/game/boost_power.png";
const char* const kBoostBank = "content/images/game/boost_bank.png";

std::string label(const char* key) {
  GameApp* app = GameApp::instance();
  LabelManager* labels = app ? app->gameMessages() : nullptr;
  return labels ? labels->getLabel(key) : std::string(key);
}

Font* panelFont() {
  GameApp* app = GameApp::instance();
  ResourceManager* r = app ? app->globalResourceManager() : nullptr;
  return r ? r->findFont("FONT_NOTOSANS16") : nullptr;
}

Texture* gameTexture(const char* path) { return obtainEntityTexture(path, 0x2601); }

void reportStrategy(const xBaseTowerDesc& d, const char* which, const std::string& text) {
  bge::errorReport(
      ("tower file " + d.fileForMessages() + ": unknown " + which + " \"" + text + "\"; the tower keeps its default")
          .c_str());
}

GenericEntry<int>* battleAssistant() {
  GameApp* app = GameApp::instance();
  SaveGame* save = app ? app->getSaveGame() : nullptr;
  return save ? save->findEntryAs<GenericEntry<int>>("BATTLE_ASSISTANT") : nullptr;
}

}  // namespace

// --- description ---

xEntity* xBaseTowerDesc::createEntity() {
  xBaseTowerEntity* made = new (std::nothrow) xBaseTowerEntity();
  BGE_REPORT_MSG(made, "no memory for a tower");
  return made;
}

bool xBaseTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xPhysicsPrimitiveEntityDesc::readXml(e, reader);
  if (!e) return true;
  range = reader.readFloat(e, "range", range, 0.0f, 4096.0f);
  damage = reader.readInt(e, "damage", damage, 0);
  targetCapacity = reader.readInt(e, "targetCapacity", targetCapacity, -1);
  energy = reader.readInt(e, "energy", energy, 1);
  info = reader.readString(e, "info", info);
  actionStrategy = reader.readString(e, "actionStrategy", actionStrategy);
  // Only a periodic tower waits between shots, and it cannot fire twice in a frame.
  const bool periodic = actionStrategy == "PERIODIC";
  const int reloadDefault = periodic && reloadDelay < kShortestReloadMs ? kDefaultReloadMs : reloadDelay;
  reloadDelay = reader.readInt(e, "reloadDelay", reloadDefault, periodic ? kShortestReloadMs : 0);
  lockingStrategy = reader.readString(e, "lockingStrategy", lockingStrategy);
  targetSelectionStrategy = reader.readString(e, "targetSelectionStrategy", targetSelectionStrategy);
  quantificationStrategy = reader.readString(e, "quantificationStrategy", quantificationStrategy);
  towerType = reader.readString(e, "towerType", towerType);
  textureButton = reader.readString(e, "textureButton", textureButton);
  sfxLabel = reader.readString(e, "sfxLabel", sfxLabel);
  // A free tower would let a player fill the field.
  price = reader.readDouble(e, "price", price, 1.0, 1e9);
  return true;
}

std::string xBaseTowerDesc::priceText() const {
  return label(towerType.c_str()) + "\n" + label("LABEL_PRICE") + ": " + amountText(price) + "\n" +
         label(info.c_str());
}

// --- entity ---

xBaseTowerEntity::xBaseTowerEntity() { createBrain(); }

xBaseTowerEntity::~xBaseTowerEntity() {
  // In this order, and before the primitive entity lets go of the tower's own shape.
  rangeSensor_.reset();
  brain_.reset();
  flashSequence_.reset();
}

void xBaseTowerEntity::createBrain() {
  brain_.reset();
  brain_ = std::make_unique<xBaseBrain>(this);
}

void xBaseTowerEntity::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntity::notifyCreated(desc);
  auto* d = dynamic_cast<xBaseTowerDesc*>(desc);
  if (!BGE_REPORT_MSG(d, "a tower made from a description that is not a tower file's")) return;
  energyUnscaled_ = static_cast<float>(d->energy);
  energyMax_ = d->energy;
  energyMaxScaled_ = static_cast<float>(energyMax_);
  energy_ = energyMaxScaled_;
  damage_ = static_cast<float>(d->damage);
  range_ = d->range;
  effectiveRange_ = range_;
  effectiveDamage_ = damage_;
  price_ = d->price;
  texturePath_ = d->texturePath;

  xPrimitiveShapeDesc sensor;
  sensor.setEnvelope(new xPrimitiveCircle(range_));
  sensor.setMaterial(xMaterialDispatcher::Instance()->defaultMaterial());
  rangeSensor_.reset(sensor.createShape());
  if (rangeSensor_) {
    rangeSensor_->setOwner(this);
    rangeSensor_->setCollisionCategory("physics_query_target");
    if (shape_) {
      rangeSensor_->setAscendant(shape_.get());
      rangeSensor_->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));
    } else {
      rangeSensor_->setAbsPlacement(placement_);
    }
    rangeSensor_->initialize();
  }

  if (!BGE_REPORT_MSG(brain_, ("tower file " + d->fileForMessages() + ": the tower has no brain to aim").c_str()))
    return;
  if (d->actionStrategy == "CONTINUOUS") brain_->actionStrategy = kActionContinuous;
  else if (d->actionStrategy == "PERIODIC") {
    brain_->actionStrategy = kActionPeriodic;
    reloadDelay_ = baseReloadDelay_ = d->reloadDelay;
    brain_->startCycle(reloadDelay_);
  } else if (d->actionStrategy == "ONCE") brain_->actionStrategy = kActionOnce;
  else reportStrategy(*d, "actionStrategy", d->actionStrategy);

  if (d->lockingStrategy == "ON") brain_->lockingStrategy = kLockingOn;
  else if (d->lockingStrategy == "OFF") brain_->lockingStrategy = kLockingOff;
  else reportStrategy(*d, "lockingStrategy", d->lockingStrategy);

  static const char* const kSelections[] = {"DISTANT", "CLOSEST", "WEAKEST", "STRONGEST",
                                            "FIRST",   "LAST",    "SLOWEST", "FASTEST"};
  const auto* found = std::find(std::begin(kSelections), std::end(kSelections), d->targetSelectionStrategy);
  if (found != std::end(kSelections)) {
    brain_->targetSelectionStrategy = static_cast<int>(found - std::begin(kSelections));
    targetSelection_ = brain_->targetSelectionStrategy;
  } else {
    reportStrategy(*d, "targetSelectionStrategy", d->targetSelectionStrategy);
  }

  if (d->quantificationStrategy == "ALL") targetCapacity_ = -1;
  else if (d->quantificationStrategy == "FIXED") targetCapacity_ = d->targetCapacity;
  else reportStrategy(*d, "quantificationStrategy", d->quantificationStrategy);

  info_ = d->info;
  sfxLabel_ = d->sfxLabel;
  GenericEntry<int>* assistant = battleAssistant();
  if (BGE_REPORT_MSG(assistant, "the save game has no BATTLE_ASSISTANT entry") && !sfxLabel_.empty() &&
      assistant->getValue() == 1)
    SfxContainer::instance()->playSound(sfxLabel_);

  flashSequence_ = std::make_unique<TinyActionSequence>(false);
  flashSequence_->addAction(new TinySetter<int>(&flashAlpha_, 255));
  flashSequence_->addAction(
      new TinyRelIncrementator<int>(TinyTimer(kFlashMs), &flashAlpha_, -255, linearOperatorFunction, 1.0f));
  flashSequence_->addAction(new TinySetter<int>(&flashAlpha_, 0));
}

void xBaseTowerEntity::setTargetSelection(int strategy) {
  targetSelection_ = strategy;
  if (brain_) brain_->targetSelectionStrategy = strategy;
}

void xBaseTowerEntity::setSensorRadius(float radius) {
  auto* ps = dynamic_cast<xPrimitiveShape*>(rangeSensor_.get());
  auto* circle = ps ? dynamic_cast<xPrimitiveCircle*>(ps->getEnvelope()) : nullptr;
  if (!circle) return;
  circle->setRadius(radius);
  // Placing the sensor again makes the world take its new size.
  rangeSensor_->setAbsPlacement(rangeSensor_->absPlacement());
}

bool xBaseTowerEntity::notifyCollision(xShape* own, xShape* other, const Vec2&, float, const Vec2&) {
  if (own && own == rangeSensor_.get() && other && other->getCollisionCategory() &&
      other->getCollisionCategory()->categoryID() == "enemy") {
    if (auto* e = dynamic_cast<xSharkEntity*>(other->getOwner())) copyTargets(e);
  }
  return false;
}

void xBaseTowerEntity::copyTargets(xSharkEntity* contact) {
  if (contact && contactSet_.insert(contact)) contacts_.push_back(contact);
}

void xBaseTowerEntity::collectTargets() {
  // The sensor also asks the world what it overlaps: a catalogue that lets the
  // sensor pass through enemies without reporting contacts must not blind it.
  if (rangeSensor_ && g_ptrSDK && g_ptrSDK->collisionContext()) {
    xArray<xShape*>& found = sensed_;
    found.fastClear();
    xCategoryNamed enemies("enemy");
    g_ptrSDK->collisionContext()->collisionSpace()->getClosest(found, rangeSensor_.get(), true, enemies);
    const Vec3 me = rangeSensor_->absPlacement();
    auto* ps = dynamic_cast<xPrimitiveShape*>(rangeSensor_.get());
    auto* circle = ps ? dynamic_cast<xPrimitiveCircle*>(ps->getEnvelope()) : nullptr;
    const float reach = circle ? circle->getRadius() : effectiveRange_;
    for (int i = 0; i < found.size(); ++i) {
      xShape* s = found[i];
      if (s == rangeSensor_.get() || !s->getCollisionCategory() || s->getCollisionCategory()->categoryID() != "enemy")
        continue;
      auto* sp = dynamic_cast<xPrimitiveShape*>(s);
      auto* theirCircle = sp ? dynamic_cast<xPrimitiveCircle*>(sp->getEnvelope()) : nullptr;
      const float theirs = theirCircle ? theirCircle->getRadius() : 0.0f;
      const Vec3 p = s->absPlacement();
      if (qlnLenV2(Vec2(p.x - me.x, p.y - me.y)) > reach + theirs) continue;
      if (auto* e = dynamic_cast<xSharkEntity*>(s->getOwner())) copyTargets(e);
    }
  }
  candidates_.clear();
  SceneEntityManager* manager = sceneEntityManager_;
  for (xSharkEntity* c : contacts_) {
    if (!manager || !manager->findLiveEntity(c)) continue;
    if (c->categoryName() == "enemy") candidates_.push_back(c);
  }
  contacts_.clear();
  contactSet_.clear();
}

void xBaseTowerEntity::update(int dt, ScreenBase*) {
  if (flashing_) {
    if (flashSequence_ && flashSequence_->isRunning()) flashSequence_->update(dt);
    return;
  }
  energy_ = energyUnscaled_ * energyFactor_;
  if (repair_ > 0.0f) applyEnergyFactor(repair_);
  effectiveDamage_ = damage_ * damageFactor_;
  effectiveRange_ = range_ * rangeFactor_;
  effectiveInterest_ = static_cast<float>(interestBonus_) / 100.0f + interestBase_;
  collectTargets();
  if (brain_) attack(brain_->think(candidates_, dt));
  lastRangeFactor_ = rangeFactor_;
  lastInterestBonus_ = interestBonus_;
  lastDamageFactor_ = damageFactor_;
  lastEnergyFactor_ = energyFactor_;
  lastRepair_ = repair_;
  rangeFactor_ = damageFactor_ = energyFactor_ = 1.0f;
  interestBonus_ = 0;
  repair_ = 0.0f;
}

void xBaseTowerEntity::applyEnergyFactor(float repairAmount) {
  energyMaxScaled_ = energyFactor_ * static_cast<float>(energyMax_);
  const float maxUnscaled = static_cast<float>(energyMax_);
  if (energyUnscaled_ == maxUnscaled) {
    energy_ = energyMaxScaled_;
  } else if (energyUnscaled_ < maxUnscaled) {
    energy_ += repairAmount;
    energyUnscaled_ += repairAmount / std::max(energyFactor_, 1e-3f);
    if (energyUnscaled_ > maxUnscaled) {
      energy_ = energyMaxScaled_;
      energyUnscaled_ = maxUnscaled;
    }
  }
}

void xBaseTowerEntity::takeDamage(int amount) {
  if (dead_) return;
  energy_ -= static_cast<float>(amount);
  // A factor that content or a support chain drives to zero must not divide by it.
  energyUnscaled_ -= static_cast<float>(amount) / std::max(energyFactor_, 1e-3f);
  if (energy_ <= 0.0f) destroy();
}

void xBaseTowerEntity::destroy() {
  if (dead_) return;
  dead_ = true;
  SfxContainer::instance()->playSound("SFX_SHIP_EXPLODE");
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  theLevel().onTowerGone(this);
}

void xBaseTowerEntity::sell(double refund) {
  if (dead_) return;
  dead_ = true;
  if (sceneEntityManager_) sceneEntityManager_->scheduleRemoval(this, true);
  LevelForEntities& level = theLevel();
  level.onTowerGone(this);
  level.onTowersSold(1, refund);
}

int xBaseTowerEntity::cellIndex() const {
  return PlacementGrid::cellAt(getX(), getY());
}

int xBaseTowerEntity::upgrade() {
  upgradeLevel_ = std::min(upgradeLevel_ + 1, kMaxUpgradeLevel);
  damage_ = upgradedDamage(damage_, upgradeLevel_);
  range_ = upgradedRange(range_, upgradeLevel_);
  if (upgradeStat_) {
    countTopUpgrade(upgradeStat_);
    showUpgradeArt();
  }
  return static_cast<int>(damage_);
}

void xBaseTowerEntity::toggleSelected() { theLevel().onTowerPicked(this); }

void xBaseTowerEntity::mousePressed(const PointingDeviceEvent&) { toggleSelected(); }

void xBaseTowerEntity::startFlash() {
  if (flashing_) return;
  flashing_ = true;
  if (flashSequence_) flashSequence_->start(nullptr, -1);
}

void xBaseTowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  // Support towers and beacons gather towers, never ships: nothing to do for them.
  (void)targets;
}

// --- drawing ---

// The widget manager draws a widget in its own frame: (0, 0) is the cell's corner.
void xBaseTowerEntity::draw(Graphics* g, ScreenBase*) {
  if (flashing_) {
    g->fillRect(bodyRect_, Color(255, 255, 255, flashAlpha_));
    return;
  }
  if (!texture_) {
    g->fillRect(bodyRect_, fillColour_);
    if (Font* f = panelFont()) f->drawTextAligned(g, bodyRect_, name_, nameColour_, 2, 2, false);
  } else {
    g->drawImage(0, 0, texture_, Color(255, 255, 255, 255));
  }
  if (Texture* pip = gameTexture(kUpgradePip))
    for (int i = 0; i < upgradeLevel_; ++i) g->drawImage(11 * i, -2, pip, Color(255, 255, 255, 255));
  if (WidgetManager* m = getManager()) m->addToLayer(this, renderingPriority_);
}

void xBaseTowerEntity::drawLayer(Graphics* g, ScreenBase*) {
  if (flashing_) return;
  if (selected_ && rangeSensor_) {
    g->fillCircle(16.0f, 16.0f, effectiveRange_, 0.0f,
                  Color(rangeColour_.r, rangeColour_.g, rangeColour_.b, kRangeFillAlpha));
    g->drawCircle(16.0f, 16.0f, effectiveRange_, 1.0f, rangeColour_);
  }
  if (!isSupportTower()) {
    const Color white(255, 255, 255, 255);
    if (lastRangeFactor_ > 1.0f)
      if (Texture* t = gameTexture(kBoostRange)) g->drawImage(1, 18, t, white);
    if (lastDamageFactor_ > 1.0f)
      if (Texture* t = gameTexture(kBoostPower)) g->drawImage(13, 18, t, white);
    if (lastInterestBonus_ > 0)
      if (Texture* t = gameTexture(kBoostBank)) g->drawImage(22, 18, t, white);
  }
}

void xBaseTowerEntity::infoText(Graphics* g, const Rect5& area) {
  Font* f = panelFont();
  if (!f) return;
  // What the tower really deals, and would after its next upgrade (TowerFigures):
  // left what it does now, right in orange what the next upgrade makes of it.
  const TowerState now = towerState(*this);
  const TowerFigures shown = towerFigures(now);
  const int boost = static_cast<int>(std::lround(lastDamageFactor_ * 100.0f)) - 100;
  const bool upgradable = upgradeLevel_ < kMaxUpgradeLevel;
  const TowerFigures next = upgradable ? towerFigures(upgradedState(now)) : shown;
  const Color orange(255, 170, 0, 255);
  InfoPanelText text(g, f, area);
  const Color cyan(0, 255, 255, 255);
  text.row(name_, Color(255, 255, 255, 255), upgradable ? label("AFTER_UPGRADE") : std::string(), orange);
  // The boosts of the support stations around it show only while it has them, on
  // the rows that are there anyway: a longer description fills the panel.
  text.row(label("DAMAGE") + ": " + figureText(shown.dps) + "/s" + (boost > 0 ? " +" + percentText(boost) : ""), cyan,
           upgradable ? label("DAMAGE") + ": " + figureText(next.dps) + "/s" : std::string(), orange);
  text.row(label("RANGE") + ": " + amountText(shown.range) + "m", Color(255, 0, 255, 255),
           upgradable ? label("RANGE") + ": " + amountText(next.range) + "m" : std::string(), orange);
  text.row(energyLine(lastEnergyFactor_ * energyUnscaled_, energyMaxScaled_), Color(0, 255, 0, 255),
           lastInterestBonus_ > 0 ? label("LABEL_TOWER_INTEREST") + ": +" + percentText(lastInterestBonus_) : std::string(),
           Color(255, 255, 0, 255));
  text.wrapped(label(info_.c_str()), Color(255, 255, 255, 255));
}

std::string xBaseTowerEntity::energyLine(float energy, float energyMax) {
  return label("ENERGY") + ": " + amountText(energy) + " / " + amountText(energyMax);
}
