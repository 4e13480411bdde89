// The game's content readers: entity description files and level files with their
// spline files.
#include <string>

#include "FuzzSupport.h"
#include "Game/Entities/drones/PatrolShipEntity.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "Game/Entities/towers/SupportTowerEntities.h"
#include "Game/Entities/xExitZoneEntity.h"
#include "Game/LevelScreen.h"
#include "LevelRunner.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace fuzz {

namespace {

// Builds an entity from the description, lets the world step once with it and takes
// it out again: whatever the file said must neither crash nor put a NaN into the world.
void buildAndDestroy(xPhysicsPrimitiveEntityDesc& desc) {
  using namespace QuillonPHX2D;
  QuillonPHX2D::xEntity* e = g_ptrSDK->createEntity(&desc);
  if (!e) return;
  auto* entity = dynamic_cast<xSharkEntity*>(e);
  if (entity) {
    const Vec3 p = entity->absPlacement();
    requireFinite(p.x, "an entity's x");
    requireFinite(p.y, "an entity's y");
    CheckingGraphics g;
    entity->drawLayer(&g, nullptr);
  }
  g_ptrSDK->destroyEntity(e);
}

}  // namespace

void fuzzEntityFile(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "entity.xml");
  levelrunner::ensureCollisionCatalogue();
  QuillonPHX2D::qlnCreateQuillonSDK();
  xSimpleEnemyDesc enemy;
  enemy.loadFromFile(path);
  buildAndDestroy(enemy);
  xPlayerBulletEntityDesc playerShot;
  playerShot.loadFromFile(path);
  buildAndDestroy(playerShot);
  xEnemyBulletEntityDesc enemyShot;
  enemyShot.loadFromFile(path);
  buildAndDestroy(enemyShot);
  xExitZoneEntityDesc zone;
  zone.loadFromFile(path);
  buildAndDestroy(zone);
  xPatrolShipDesc patrolShip;
  patrolShip.loadFromFile(path);
  buildAndDestroy(patrolShip);
  // The support kinds' own attributes; the rest is the tower reader's.
  xS1SupportTowerDesc s1;
  xS2SupportTowerDesc s2;
  xS3SupportTowerDesc s3;
  xS4SupportTowerDesc s4;
  xS5SupportTowerDesc s5;
  for (xBaseTowerDesc* support : {static_cast<xBaseTowerDesc*>(&s1), static_cast<xBaseTowerDesc*>(&s2),
                                  static_cast<xBaseTowerDesc*>(&s3), static_cast<xBaseTowerDesc*>(&s4),
                                  static_cast<xBaseTowerDesc*>(&s5)})
    support->loadFromFile(path);
  requireFinite(s1.damageUpgradeFactor, "a damage factor");
  requireFinite(s2.energyUpgradeHealer, "a repair amount");
  requireFinite(s3.energyUpgradeFactor, "an energy factor");
  requireFinite(s4.rangeUpgradeFactor, "a range factor");
  QuillonPHX2D::qlnDestroyQuillonSDK();
}

// The input is a level file, optionally followed by a NUL byte, one byte that
// chooses the game mode and the difficulty, and a spline file that the level names
// as FUZZSPLINE.
void fuzzLevelFile(const uint8_t* data, size_t size) {
  levelrunner::ensureCollisionCatalogue();
  std::string text = asText(data, size);
  std::string spline;
  const size_t cut = text.find('\0');
  int choice = 0;
  if (cut != std::string::npos) {
    spline = text.substr(cut + 1);
    text.erase(cut);
    if (!spline.empty()) {
      choice = static_cast<unsigned char>(spline[0]) % 18;
      spline.erase(0, 1);
    }
  }
  const std::string splinePath = writeInput(reinterpret_cast<const uint8_t*>(spline.data()), spline.size(), "spline.xml");
  for (size_t at = text.find("FUZZSPLINE"); at != std::string::npos; at = text.find("FUZZSPLINE", at))
    text.replace(at, 10, splinePath);
  const std::string path = writeInput(reinterpret_cast<const uint8_t*>(text.data()), text.size(), "level.xml");
  {
    LevelScreen level(0, path, choice % 6, choice / 6);
    level.loadLevel();
    level.buildPathMarkers();
    level.sendNextWave();
    for (int frame = 0; frame < 40; ++frame) level.updateScreen(16);
  }
  QuillonPHX2D::qlnDestroyQuillonSDK();
}

}  // namespace fuzz
