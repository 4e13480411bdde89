// The steps every attack tower shares: the instant hit, the missile salvo, the
// top-upgrade statistic, beams and the roll image.
#include <cstdlib>
#include <filesystem>

#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "GameApp.h"
#include "Graphics.h"
#include "LabelManager.h"
#include "Store/CStatsAndAchievements.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"

using namespace QuillonPHX2D;

namespace {

// Instant hits land harder while the game runs fast, so a hurried wave is not lost
// to the frames the fast clock skips between shots.
constexpr float kFastSpeedBonus = 1.25f;
// A salvo's missiles leave side by side, 16 px apart, starting 8 px left of centre.
constexpr float kSalvoStart = -8.0f;
constexpr float kSalvoSpacing = 16.0f;
constexpr int kJitter = 16;
// One turn of a roll image.
constexpr int kRollMs = 12000;

bool reachedCapacity(size_t index, int capacity) { return capacity > 0 && static_cast<int>(index) >= capacity; }

}  // namespace

void xBaseTowerEntity::finishAttackTower(const char* nameLabel, const char* upgradeStat) {
  GameApp* app = GameApp::instance();
  if (app && app->gameMessages()) name_ = app->gameMessages()->getLabel(nameLabel);
  setColours(Color(0, 255, 255, 255), Color(255, 0, 0, 255), Color(0, 255, 255, 255));
  upgradeStat_ = upgradeStat;
}

void xBaseTowerEntity::playShot(const char* sound, int channel) const {
  if (selected_ || theLevel().shotsAudible()) SfxContainer::instance()->playSoundOnChannel(sound, channel);
}

int xBaseTowerEntity::takeWholeDamage() {
  damageCarry_ += effectiveDamage_;
  const int whole = static_cast<int>(damageCarry_);
  damageCarry_ -= static_cast<float>(whole);
  return whole;
}

int xBaseTowerEntity::shotDamage(int whole, const xSimpleEnemy& enemy, const ShotRule& rule) const {
  int damage = whole;
  if (rule.favouredClass && enemy.className() == rule.favouredClass)
    damage = static_cast<int>(static_cast<float>(damage) * rule.favouredFactor);
  if (theLevel().speedFactor() < 1.0f) damage = static_cast<int>(static_cast<float>(damage) * kFastSpeedBonus);
  return damage;
}

bool xBaseTowerEntity::landHit(xSimpleEnemy& enemy, int damage, bool scores) {
  // Read before the hit: a destroyed ship queues its own removal inside it.
  const Vec3 at = enemy.absPlacement();
  if (!enemy.takeDamage(damage, effectiveInterest_)) return false;
  if (scores) theLevel().addScore(upgradeLevel_ * damage);
  shots_.push_back(Vec2(at.x, at.y));
  return true;
}

void xBaseTowerEntity::instantHits(const std::vector<xSharkEntity*>& targets, const ShotRule& rule,
                                   std::vector<xSharkEntity*>& shotList) {
  int whole = -1;  // taken on the step's first hit
  for (size_t i = 0; i < targets.size(); ++i) {
    if (reachedCapacity(i, targetCapacity_)) break;
    auto* enemy = dynamic_cast<xSimpleEnemy*>(targets[i]);
    if (!enemy) continue;
    if (whole < 0) whole = takeWholeDamage();
    shotList.push_back(enemy);
    playShot(rule.sound, rule.channel);
    landHit(*enemy, shotDamage(whole, *enemy, rule), true);
  }
}

void xBaseTowerEntity::launchSalvo(const std::vector<xSharkEntity*>& targets, int missileKind, const char* sound,
                                   int channel, bool jitter, float catcherBonus, std::vector<xSharkEntity*>* salvo) {
  LevelForEntities& level = theLevel();
  const Vec3 at = absPlacement();
  for (size_t i = 0; i < targets.size(); ++i) {
    if (reachedCapacity(i, targetCapacity_)) break;
    auto* enemy = dynamic_cast<xSimpleEnemy*>(targets[i]);
    if (!enemy) continue;
    if (salvo) salvo->push_back(enemy);
    Vec2 from(at.x + kSalvoStart + static_cast<float>(i) * kSalvoSpacing, at.y);
    if (jitter) {
      from.x += static_cast<float>(std::rand() % kJitter);
      from.y += static_cast<float>(std::rand() % kJitter);
    }
    playShot(sound, channel);
    float factor = damageFactor_;
    if (enemy->className() == "catcher") factor *= catcherBonus;
    level.launchMissile(from, this, missileKind, enemy, factor);
  }
}

void xBaseTowerEntity::countTopUpgrade(const char* statKey) const {
  if (upgradeLevel_ < kMaxUpgradeLevel || !theLevel().countsTopUpgrades()) return;
  if (g_statsAndAchievements) g_statsAndAchievements->addStat(statKey);
}

void xBaseTowerEntity::showUpgradeArt() {
  const size_t dot = texturePath_.rfind(".png");
  if (dot == std::string::npos || upgradeLevel_ <= 0) return;
  const std::string path = texturePath_.substr(0, dot) + "_" + std::to_string(upgradeLevel_) + ".png";
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return;
  if (Texture* t = obtainEntityTexture(path, 0x2600)) texture_ = t;
}

bool xBaseTowerEntity::targetPoint(const xSharkEntity* target, Vec2& out) const {
  if (!target || !sceneEntityManager_ || !sceneEntityManager_->findLiveEntity(target)) return false;
  xSharkEntity* live = sceneEntityManager_->findLiveEntity(target);
  const Vec3 p = live->absPlacement();
  out = Vec2(p.x - getX(), p.y - getY());
  return true;
}

void drawBeam(Graphics* g, const Vec2& from, const Vec2& to, const BeamStroke* strokes, int count) {
  for (int i = 0; i < count; ++i) g->drawLine(from, to, strokes[i].width, true, strokes[i].colour, 0, 0);
}

// --- roll image ---

TowerRoll::TowerRoll(const std::string& kind)
    : key_("TEX_" + kind + "_ROLL"), file_("content/images/game/towers/" + kind + "_roll.png") {
  auto* turn = new TinyActionSequence(false);
  turn->addAction(new TinySetter<float>(&angle_, 0.0f));
  turn->addAction(new TinyRelIncrementator<float>(TinyTimer(kRollMs), &angle_, 360.0f, linearOperatorFunction, 1.0f));
  action_ = std::make_unique<TinyLoopAction>(turn, -1);
  action_->start(nullptr, -1);
}

TowerRoll::~TowerRoll() = default;

void TowerRoll::update(int dt) {
  if (action_ && action_->isRunning()) action_->update(dt);
}

void TowerRoll::draw(Graphics* g) const {
  // The level's catalogue has it; without one (the runner) the file is loaded once.
  Texture* t = levelTexture(key_);
  if (!t) t = obtainEntityTexture(file_, 0x2601);
  if (!t) return;
  g->pushMatrix();
  g->translate(16.0f, 16.0f);
  g->rotate(angle_, 0.0f, 0.0f, 1.0f);
  g->translate(-static_cast<float>(t->getWidth()) * 0.5f, -static_cast<float>(t->getHeight()) * 0.5f);
  g->drawImage(0, 0, t, Color(255, 255, 255, 255));
  g->popMatrix();
}
