#include "Game/Entities/enemies/xEnemySpawner.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "AssertReport.h"
#include "Game/LevelForEntities.h"
#include "Game/SceneEntityManager.h"
#include "SafeDelete.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"

using namespace QuillonPHX2D;

namespace {

// Endless mode makes every ship of the next record this much tougher.
constexpr float kEndlessEnergyGrowth = 1.18f;

float speedFactorNow() {
  return theLevel().speedFactor();
}

}  // namespace

SpawningAction::~SpawningAction() = default;

std::vector<Vec2> PathDescription::pointsForSide(int lane) const {
  auto it = points.find(lane);
  return it == points.end() ? std::vector<Vec2>() : it->second;
}

xEnemySpawner::xEnemySpawner(const AttackMap& attacks, SceneEntityManager* manager, bool endless)
    : manager_(manager), attacks_(attacks), endless_(endless) {
  applyDifficulty();
}

xEnemySpawner::~xEnemySpawner() {
  clearActions();
  retired_.clear();
}

void xEnemySpawner::clearActions() {
  for (std::unique_ptr<SpawningAction>& a : spawnActions_) {
    // A timer may be reporting right now: it is deleted when its report is over.
    if (dispatching_ > 0) retired_.push_back(std::move(a));
    else a.reset();
  }
  spawnActions_.clear();
}

float difficultyFactor(int difficulty) {
  switch (difficulty) {
    case 0: return 0.75f;
    case 1: return 0.85f;
    case 2: return 1.3f;
    default: return 1.0f;
  }
}

bool difficultyScalesReward(int difficulty) { return difficulty == 0 || difficulty == 2; }

void xEnemySpawner::applyDifficulty() {
  const int difficulty = theLevel().difficulty();
  // Waves share enemy files: each is read once, so a bad value in it is reported once.
  std::map<std::string, xSimpleEnemyDesc> read;
  for (auto& attack : attacks_) {
    for (WaveDescription& record : attack.second) {
      auto known = read.find(record.enemy);
      if (known == read.end()) {
        xSimpleEnemyDesc desc;
        desc.complete = desc.loadFromFile(record.enemy) && desc.complete;
        known = read.emplace(record.enemy, desc).first;
      }
      record.enemyDesc = known->second;
      if (!record.enemyDesc.complete) {
        // One bad enemy file costs its own record, not the level: it spawns nothing.
        std::printf("WARNING: level: wave %d of attack %d: enemy file \"%s\" did not load; its ships are skipped\n",
                    record.id, attack.first, record.enemy.c_str());
        record.count = 0;
      }
      xSimpleEnemyDesc& d = record.enemyDesc;
      const float factor = difficultyFactor(difficulty);
      d.energy = static_cast<int>(d.energy * factor);
      if (difficultyScalesReward(difficulty)) d.reward = static_cast<int>(factor * d.reward);
      // Scaled down, a frail ship still takes one hit to go.
      d.energy = std::max(1, d.energy);
    }
  }
}

void xEnemySpawner::startTimer(SpawningAction& action, int delayMs) {
  action.timer.reset();
  TinyActionSequence* seq = new TinyActionSequence(false);
  seq->addAction(new TinyActionDelay(TinyTimer(delayMs)));
  action.timer.reset(seq);
  action.timer->start(action.listener, action.actionId);
}

void xEnemySpawner::restoreWave(int wave) {
  currentWave_ = wave;
  enemiesLeft_ = 0;
  clearActions();
}

bool xEnemySpawner::startNextWave() {
  ++currentWave_;
  ++wavesStarted_;
  auto it = attacks_.find(currentWave_);
  if (it == attacks_.end()) {
    if (!endless_) return false;
    ++cycles_;
    currentWave_ = 0;
    it = attacks_.find(0);
    if (it == attacks_.end()) {
      // An endless level without a first attack has nothing to repeat.
      BGE_REPORT_MSG(false, "an endless level without attack 0 has no wave to repeat");
      return false;
    }
  }
  enemiesLeft_ = 0;
  clearActions();
  const std::vector<WaveDescription>& records = it->second;
  for (size_t i = 0; i < records.size(); ++i) {
    auto action = std::make_unique<SpawningAction>();
    action->index = static_cast<int>(i);
    action->remaining = records[i].count;
    action->spawnDelay = records[i].spawnDelay;
    action->enemyDesc = records[i].enemyDesc;
    action->actionId = (currentWave_ + 1) * 100 + static_cast<int>(i);
    action->listener = this;
    enemiesLeft_ += records[i].count;
    startTimer(*action, static_cast<int>(records[i].spawnDelay * speedFactorNow()));
    spawnActions_.push_back(std::move(action));
  }
  theLevel().announceNewShip();
  return true;
}

bool xEnemySpawner::wholeWaveSpawned() const {
  for (const auto& action : spawnActions_)
    if (action->remaining >= 0) return false;
  return true;
}

void xEnemySpawner::update(int dt) {
  // Index walk over a list a report may replace: a replaced list ends the pass.
  std::vector<SpawningAction*> walked;
  for (const auto& action : spawnActions_) walked.push_back(action.get());
  ++dispatching_;
  for (size_t i = 0; i < walked.size() && i < spawnActions_.size() && spawnActions_[i].get() == walked[i]; ++i) {
    SpawningAction* action = walked[i];
    if (action->timer && action->timer->isRunning()) action->timer->update(dt);
  }
  --dispatching_;
  if (dispatching_ == 0) {
    retired_.clear();
  }
}

void xEnemySpawner::onAction(int id) {
  if (id < 100) return;
  const int idWave = id - (currentWave_ + 1) * 100;
  if (!BGE_REPORT_MSG(idWave >= 0 && idWave < static_cast<int>(spawnActions_.size()),
                      ("spawn timer " + std::to_string(id) + " belongs to no record of wave " +
                       std::to_string(currentWave_))
                          .c_str()))
    return;
  SpawningAction& action = *spawnActions_[idWave];
  --action.remaining;
  --enemiesLeft_;
  if (action.remaining < 0) {
    if (endless_) endlessEnergy_ = static_cast<int>(endlessEnergy_ * kEndlessEnergyGrowth);
    // The level may start the next wave from here, which replaces this very
    // action: the replaced ones wait in retired_ until the timers' pass is over.
    ++dispatching_;
    theLevel().onWaveSpawned();
    --dispatching_;
    return;
  }
  auto attack = attacks_.find(currentWave_);
  if (attack == attacks_.end() || idWave >= static_cast<int>(attack->second.size())) return;
  spawn(action, attack->second[idWave]);
  action.timer->start(action.listener, action.actionId);
}

void xEnemySpawner::spawn(SpawningAction& action, const WaveDescription& record) {
  LevelForEntities& level = theLevel();
  const PathDescription path = level.getPathDescription(record.pathId);
  int lane = -1;
  if (record.pathSubId.empty()) lane = PathDescription::Centre;
  else if (record.pathSubId == "LEFT") lane = PathDescription::Left;
  else if (record.pathSubId == "RIGHT") lane = PathDescription::Right;
  const std::vector<Vec2> points = lane >= 0 ? path.pointsForSide(lane) : std::vector<Vec2>();
  if (points.empty()) {
    // The level file reader leaves such waves out; attacks handed over otherwise are
    // bad content all the same.
    if (unusablePaths_.insert({record.pathId, record.pathSubId}).second)
      BGE_ERROR_MSG(false, ("level: path " + std::to_string(record.pathId) + " lane \"" + record.pathSubId +
                            "\" has no points: its ships are not sent")
                               .c_str());
    return;
  }
  if (endless_) {
    action.enemyDesc.energy = endlessEnergy_;
    action.enemyDesc.reward = static_cast<int>(static_cast<uint32_t>(wavesStarted_)) + 5;
  }
  if (!g_ptrSDK) return;
  auto* enemy = dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&action.enemyDesc));
  if (!enemy) return;
  enemy->followPath(points, record.speed);
  enemy->setId(spawnCounter_++);
  if (manager_) manager_->addEntity(enemy, true);
  level.countSpawn();
}

void xEnemySpawner::applyGameSpeed(float factor) {
  for (const auto& action : spawnActions_) {
    if (!action->timer || !action->timer->isRunning()) continue;
    startTimer(*action, static_cast<int>(action->spawnDelay * factor));
  }
}

float xEnemySpawner::waveProgress() const {
  if (attacks_.empty()) return 0.0f;
  const float p = static_cast<float>(currentWave_ + 1) / static_cast<float>(attacks_.size());
  return p > 0.0f ? p : 0.0f;
}

std::vector<int> xEnemySpawner::nextWavePathIds() const {
  std::vector<int> ids;
  auto it = attacks_.find(currentWave_ + 1);
  if (it == attacks_.end()) return ids;
  for (const WaveDescription& record : it->second) ids.push_back(record.pathId);
  return ids;
}
