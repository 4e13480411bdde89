// Ships and towers against a small level of the test's own, standing behind the
// interface entities reach the level through: what each tells the level, and how
// often, is what the level's lives, kills, credits and statistics are made of.
#include <gtest/gtest.h>

#include <vector>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelForEntities.h"
#include "LevelFiles.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;

namespace {

// Keeps what the entities tell it; whether it is a raided station is the test's.
class StandInLevel : public EmptyLevel {
 public:
  bool raidsStation() const override { return raided; }
  void addScore(int points) override { score += points; }
  void bookKill(int points, float reward) override {
    ++kills;
    score += points;
    credits += reward;
  }
  void loseLife() override { ++livesLost; }
  void loseLives(int count) override { livesLost += count; }
  void finishLevel() override { ++finished; }
  void onTowerGone(xBaseTowerEntity* tower) override { gone.push_back(tower); }
  void onTowersSold(int count, double refund) override {
    sold += count;
    credits += refund;
  }
  void onTowerPicked(xBaseTowerEntity* tower) override { picked.push_back(tower); }

  bool raided = false;
  int livesLost = 0;
  int finished = 0;
  int kills = 0;
  int score = 0;
  double credits = 0.0;
  int sold = 0;
  std::vector<xBaseTowerEntity*> gone;
  std::vector<xBaseTowerEntity*> picked;
};

// A world of its own for the entities, the collision names the game's content uses.
void newWorld() {
  levelfiles::runner();
  levelrunner::ensureCollisionCatalogue();
  qlnCreateQuillonSDK();
}

xSimpleEnemy* makeShip(xSimpleEnemyDesc& desc, int behaviour) {
  desc.behavior = behaviour;
  auto* ship = dynamic_cast<xSimpleEnemy*>(g_ptrSDK->createEntity(&desc));
  if (ship) ship->followPath({Vec2(0, 300), Vec2(200, 300), Vec2(400, 300)}, 1000);
  return ship;
}

}  // namespace

TEST(StandInLevel, EachShipAtTheExitCostsOneLifeAKillPaysOnceAndARaidedStationLosesNothingAtItsExit) {
  newWorld();
  Folder f;
  StandInLevel level;
  xSimpleEnemyDesc desc;
  ASSERT_TRUE(desc.loadFromFile(f.dir() + "/enemy.xml"));

  xSimpleEnemy* walker = makeShip(desc, kWalkShootActors);
  ASSERT_NE(nullptr, walker);
  walker->actionFinished(xSimpleEnemy::kWalkEnded);
  EXPECT_EQ(1, level.livesLost);
  EXPECT_TRUE(walker->isWalking()) << "a ship that got through comes round again";
  walker->actionFinished(xSimpleEnemy::kWalkEnded);
  EXPECT_EQ(2, level.livesLost);
  EXPECT_EQ(0, level.finished);

  // Destroyed with a bank's 50% interest: the kill is booked once, its reward raised by
  // the interest, and a hit on the wreck pays nothing more.
  EXPECT_TRUE(walker->takeDamage(100, 0.5f));
  EXPECT_FALSE(walker->takeDamage(100, 0.5f));
  EXPECT_EQ(1, level.kills);
  EXPECT_DOUBLE_EQ(15.0, level.credits);

  xSimpleEnemy* ender = makeShip(desc, kWalkEndsLevel);
  ASSERT_NE(nullptr, ender);
  ender->actionFinished(xSimpleEnemy::kWalkEnded);
  EXPECT_EQ(1, level.finished);
  EXPECT_EQ(2, level.livesLost) << "a ship that ends the level takes no life as well";

  level.raided = true;
  xSimpleEnemy* raider = makeShip(desc, kWalkShootStationParts);
  ASSERT_NE(nullptr, raider);
  raider->actionFinished(xSimpleEnemy::kWalkEnded);
  raider->actionFinished(xSimpleEnemy::kWalkEnded);
  EXPECT_EQ(2, level.livesLost) << "on a raided station the exit costs nothing";
  EXPECT_TRUE(raider->isWalking()) << "a raider comes round to shoot again";

  for (xSimpleEnemy* ship : {walker, ender, raider}) g_ptrSDK->destroyEntity(ship);
}

TEST(StandInLevel, ATowerSoldOrDestroyedLeavesTheFieldOnceAndOnlyASaleIsCountedAndPaid) {
  newWorld();
  StandInLevel level;
  xBaseTowerDesc desc;
  ASSERT_TRUE(desc.loadFromFile("content/config/Entities/towers/base-001.xml"));
  auto* sold = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(&desc));
  auto* destroyed = dynamic_cast<xBaseTowerEntity*>(g_ptrSDK->createEntity(&desc));
  ASSERT_TRUE(sold && destroyed);

  sold->sell(75.0);
  sold->sell(75.0);
  sold->takeDamage(100000);
  EXPECT_EQ(std::vector<xBaseTowerEntity*>{sold}, level.gone);
  EXPECT_EQ(1, level.sold);
  EXPECT_DOUBLE_EQ(75.0, level.credits);

  destroyed->takeDamage(100000);
  destroyed->sell(75.0);
  EXPECT_EQ((std::vector<xBaseTowerEntity*>{sold, destroyed}), level.gone);
  EXPECT_EQ(1, level.sold) << "a destroyed tower is neither sold nor paid for";
  EXPECT_DOUBLE_EQ(75.0, level.credits);

  // A click on a tower is the level's to answer: the tower changes nothing itself.
  destroyed->toggleSelected();
  EXPECT_EQ(std::vector<xBaseTowerEntity*>{destroyed}, level.picked);

  for (xBaseTowerEntity* tower : {sold, destroyed}) g_ptrSDK->destroyEntity(tower);
}
