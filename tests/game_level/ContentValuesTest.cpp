// Values a modder can write that the game cannot play: each is reported once,
// naming file, element and attribute, and one default takes its place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "LevelFiles.h"

using levelfiles::Folder;

namespace {

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string enemy(const std::string& attributes) {
  return "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
         " primitiveType=\"circle\" bodyMass=\"10\" collisionCategory=\"enemy\" material=\"default\""
         " texturePath=\"NONE\" debugRender=\"0\" reward=\"10\" class=\"scout\" " +
         attributes + "/>";
}

std::string tower(const std::string& attributes) {
  return "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"0\" bodyType=\"3DOF\""
         " primitiveType=\"circle\" shapeFeaturesX=\"16\" collisionCategory=\"default\" texturePath=\"NONE\""
         " damage=\"10\" range=\"100\" actionStrategy=\"PERIODIC\" " +
         attributes + "/>";
}

// A level of two waves of the same enemy file (the first walking at `speed`),
// at normal difficulty; `what` reads the value under test from it.
double levelWithEnemy(Folder& f, const std::string& enemyAttributes, const std::function<double(LevelScreen&)>& what,
                      const std::string& funds = "500", const std::string& speed = "4000") {
  f.write("enemy.xml", enemy(enemyAttributes));
  auto wave = [](const std::string& walk) {
    return "<Wave id=\"0\" pathId=\"0\" count=\"1\" spawnDelay=\"100\" speed=\"" + walk +
           "\" enemy=\"{dir}/enemy.xml\"/>";
  };
  const std::string path = f.write(
      "level.xml", "<Stage><InitialFunds credits=\"" + funds +
                       "\"/><Grid levelImage=\"{dir}/grid.png\" cellsX=\"32\" cellsY=\"24\"/>"
                       "<Path id=\"0\" centerLine=\"{dir}/path.xml\"/><Attack id=\"0\">" +
                       wave(speed) + wave("4000") + "</Attack></Stage>");
  LevelScreen level(0, path, MODE_CLASSIC, 1);
  if (!level.loadLevel() || !level.spawner()) return -1e9;
  return what(level);
}

// A description file of these attributes read as the level reads it; `what` picks
// the value under test.
template <class Desc>
double readDesc(Folder& f, const std::string& file, const std::string& xml, const std::function<double(const Desc&)>& what) {
  Desc d;
  d.loadFromFile(f.write(file, xml));
  return what(d);
}
double towerValue(Folder& f, const std::string& attributes, const std::function<double(const xBaseTowerDesc&)>& what) {
  return readDesc<xBaseTowerDesc>(f, "tower.xml", tower(attributes), what);
}

double shipEnergy(LevelScreen& level) { return level.spawner()->attacks().at(0)[1].enemyDesc.energy; }

}  // namespace

TEST(ContentValues, WhatTheGameCannotPlayIsReportedOnceAndReplacedByItsDefault) {
  levelfiles::runner();
  const struct {
    const char* name;
    std::function<double(Folder&)> read;
    double expected;
    const char* file;     // the file the message names
    const char* element;  // and the element and attribute
    const char* attribute;
  } cases[] = {
      // 100 energy at normal difficulty is 85.
      {"enemy energy 0", [](Folder& f) { return levelWithEnemy(f, "energy=\"0\"", shipEnergy); }, 85, "enemy.xml", "Entity",
       "energy=\"0\""},
      {"enemy energy negative", [](Folder& f) { return levelWithEnemy(f, "energy=\"-40\"", shipEnergy); }, 85, "enemy.xml",
       "Entity", "energy=\"-40\""},
      {"enemy energy nan", [](Folder& f) { return levelWithEnemy(f, "energy=\"nan\"", shipEnergy); }, 85, "enemy.xml", "Entity",
       "energy=\"nan\""},
      {"a walk of no time", [](Folder& f) { return levelWithEnemy(
             f, "energy=\"100\"", [](LevelScreen& l) { return l.model().attacks.at(0)[0].speed; }, "500", "0"); }, -1,
       "level.xml", "Wave", "speed=\"0\""},
      {"negative initial funds", [](Folder& f) { return levelWithEnemy(
             f, "energy=\"100\"", [](LevelScreen& l) { return l.economy().credits(); }, "-900"); }, 0,
       "level.xml", "InitialFunds", "credits=\"-900\""},
      {"negative radius",
       [](Folder& f) {
         return readDesc<xSimpleEnemyDesc>(f, "enemy.xml", enemy("shapeFeaturesX=\"-8\""),
                                           [](const xSimpleEnemyDesc& d) { return d.shapeFeatures.x; });
       },
       0, "enemy.xml", "Entity", "shapeFeaturesX=\"-8\""},
      {"negative height",
       [](Folder& f) { return towerValue(f, "shapeFeaturesY=\"-3\"", [](const xBaseTowerDesc& d) { return d.shapeFeatures.y; }); },
       0, "tower.xml", "Entity", "shapeFeaturesY=\"-3\""},
      {"a periodic tower that never reloads",
       [](Folder& f) { return towerValue(f, "reloadDelay=\"0\"", [](const xBaseTowerDesc& d) { return d.reloadDelay; }); },
       1000, "tower.xml", "Entity", "reloadDelay=\"0\""},
      {"a free tower",
       [](Folder& f) {
         return towerValue(f, "reloadDelay=\"500\" price=\"0\"", [](const xBaseTowerDesc& d) { return d.price; });
       },
       100, "tower.xml", "Entity", "price=\"0\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Folder f;
    testing::internal::CaptureStdout();
    const double value = c.read(f);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(c.expected, value) << out;
    EXPECT_EQ(1, count(out, "WARNING")) << out;
    EXPECT_EQ(1, count(out, std::string(c.file) + ": " + c.element + " (line 1): " + c.attribute)) << out;
  }
}
