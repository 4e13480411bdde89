#include "Game/Entities/towers/T1TowerEntity.h"

#include <cstdio>
#include <new>

#include "DynamicResources/SfxContainer.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/LevelScreen.h"
#include "GameApp.h"
#include "Graphics.h"
#include "LabelManager.h"

using namespace QuillonPHX2D;

namespace {

const char* const kFavouredClass = "scout";
constexpr float kFavouredFactor = 1.25f;
// Instant hits land harder while the game runs fast, so a hurried wave is not lost
// to frames skipped between shots.
constexpr float kFastSpeedBonus = 1.25f;
const char* const kShotSound = "SFX_PLAYER_SHOOT_2";
constexpr int kShotChannel = 0;

}  // namespace

xEntity* xT1TowerDesc::createEntity() {
  xT1TowerEntity* ppeNew = new (std::nothrow) xT1TowerEntity();
  if (!ppeNew) {
    std::printf("ERROR: T1TowerEntity: ppeNew != NULL\n");
    return nullptr;
  }
  GameApp* app = GameApp::instance();
  if (app && app->gameMessages()) ppeNew->nameFromLabel(app->gameMessages()->getLabel("TOWER_NAME_T1"));
  ppeNew->setColours(Color(0, 255, 255, 255), Color(255, 0, 0, 255), Color(0, 255, 255, 255));
  return ppeNew;
}

void xT1TowerEntity::attack(const std::vector<xSharkEntity*>& targets) {
  shotList_.clear();
  LevelScreen* level = LevelScreen::current();
  for (size_t i = 0; i < targets.size(); ++i) {
    if (targetCapacity_ > 0 && static_cast<int>(i) >= targetCapacity_) break;
    xSharkEntity* target = targets[i];
    if (!target) continue;
    shotList_.push_back(target);
    if (selected_ || !level || level->shotsAudible())
      SfxContainer::instance()->playSoundOnChannel(kShotSound, kShotChannel);
    int damage = static_cast<int>(effectiveDamage_);
    auto* enemy = dynamic_cast<xSimpleEnemy*>(target);
    if (enemy && enemy->className() == kFavouredClass)
      damage = static_cast<int>(static_cast<float>(damage) * kFavouredFactor);
    if (level && level->speedFactor() < 1.0f) damage = static_cast<int>(static_cast<float>(damage) * kFastSpeedBonus);
    if (!enemy) continue;
    const Vec3 at = enemy->absPlacement();
    if (enemy->takeDamage(damage, effectiveInterest_) && level) {
      level->addScore(upgradeLevel_ * damage);
      shots_.push_back(Vec2(at.x, at.y));
    }
  }
}

void xT1TowerEntity::drawLayer(Graphics* g, ScreenBase* screen) {
  SceneEntityManager* manager = sceneEntityManager_;
  const Vec2 centre(16.0f, 16.0f);
  const Vec2 origin(getX(), getY());
  struct Stroke {
    float width;
    Color colour;
  };
  const Stroke beam[] = {{8.0f, Color(0, 255, 255, 128)},
                         {4.5f, Color(0, 255, 255, 160)},
                         {2.0f, Color(0, 255, 255, 190)},
                         {1.0f, Color(255, 255, 255, 255)}};
  // Drawn in the tower's own frame (the widget manager has moved there).
  if (!flashing_) {
    for (xSharkEntity* target : shotList_) {
      if (!manager || !manager->findLiveEntity(target)) continue;
      const Vec3 p = target->absPlacement();
      const Vec2 to(p.x - origin.x, p.y - origin.y);
      for (const Stroke& s : beam) g->drawLine(centre, to, s.width, true, s.colour, 0, 0);
    }
    for (const Vec2& kill : shots_)
      g->drawLine(centre, kill - origin, 12.0f, true, Color(255, 255, 255, 255), 0, 0);
  }
  shots_.clear();
  xBaseTowerEntity::drawLayer(g, screen);
}
