// Contacts are sampled once per physics step and the tunnelling switch lets every move
// through, so a shot that moves farther in one step than its target is thick can pass
// it unseen. This flies every shipped shot in the level's world at the longest step a
// frame makes at fast speed and compares its longest step with the thinnest thing it
// must hit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "LevelFiles.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
namespace fs = std::filesystem;

namespace {

// The longest frame at normal speed is 15 ms (0.1 per ms); fast forward scales it by 1 / 0.36.
constexpr float kWorstStep = 1.5f / 0.36f;
// Launches: velocity and a one-step push along the aim. Enemies fire their shots at
// 0.25 and 15; the player's shots get at most 1.0 and 25 (the patrol ship's launch).
struct Launch {
  float velocity, push;
};
constexpr Launch kEnemyLaunch{0.25f, 15.0f};
constexpr Launch kPlayerLaunch{1.0f, 25.0f};

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.path().extension() == ".xml") files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Across its thinnest side: a circle's diameter or a box's shorter side.
float thickness(const xPhysicsPrimitiveEntityDesc& d) {
  if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Circle) return 2.0f * d.shapeFeatures.x;
  if (d.primitiveType == xPhysicsPrimitiveEntityDesc::Box) return std::min(d.shapeFeatures.x, d.shapeFeatures.y);
  return 1e9f;
}

float thinnest(const std::vector<std::string>& folders, const std::string& category) {
  float thin = 1e9f;
  for (const std::string& folder : folders) {
    for (const std::string& file : filesIn(folder)) {
      xSimpleEnemyDesc d;
      if (d.loadFromFile(file) && d.collisionCategory == category) thin = std::min(thin, thickness(d));
    }
  }
  return thin;
}

}  // namespace

TEST(ShippedShots, NoShotStepsFartherThanItsThinnestTargetIsThick) {
  levelfiles::runner();
  LevelScreen level(0, "", MODE_CLASSIC, 1);
  level.init();  // the level's physics settings
  const std::string entities = "content/config/Entities/";
  const float enemies = thinnest({entities + "enemies"}, "enemy");
  // Enemy shots must hit station parts and towers (their files as they ship).
  const float parts = std::min(thinnest({entities + "station"}, "station_part"), thinnest({entities + "towers"}, "actor"));
  const std::vector<std::string> shots = filesIn(entities + "bullets");
  ASSERT_FALSE(shots.empty());
  ASSERT_LT(enemies, 1e8f);
  for (const std::string& file : shots) {
    xPhysicsPrimitiveEntityDesc d;
    ASSERT_TRUE(d.loadFromFile(file)) << file;
    const bool players = d.collisionCategory == "player_bullet";
    const float target = players ? enemies : parts;
    const Launch launch = players ? kPlayerLaunch : kEnemyLaunch;
    auto* shot = dynamic_cast<xPhysicsPrimitiveEntity*>(g_ptrSDK->createEntity(&d));
    ASSERT_TRUE(shot && shot->body()) << file;
    shot->setAbsPlacement(Vec3(0.0f, 0.0f, 0.0f));
    const Vec2 aim = qlnNormalizeV2(Vec2(3.0f, 4.0f));
    shot->body()->setVelocity(aim * launch.velocity);
    shot->body()->addForce(aim * launch.push);
    float longest = 0.0f;
    for (int step = 0; step < 120; ++step) {
      const Vec3 before = shot->absPlacement();
      g_ptrSDK->updateF(kWorstStep);
      const Vec3 after = shot->absPlacement();
      longest = std::max(longest, qlnLenV2(Vec2(after.x - before.x, after.y - before.y)));
    }
    std::printf("%s: longest step %.2f px, thinnest target %.1f px\n", file.c_str(), longest, target);
    EXPECT_GT(longest, 0.0f) << file << " never moved";
    EXPECT_LT(longest, target) << file << " steps " << longest << " px; its thinnest target is " << target;
    g_ptrSDK->destroyEntity(shot);
  }
}
