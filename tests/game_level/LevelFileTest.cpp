// The level file and its spline files, element by element, on small documents.
#include <gtest/gtest.h>

#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/enemies/xEnemySpawner.h"
#include "Game/Entities/xExitZoneEntity.h"
#include "Game/LevelSplines.h"
#include "LevelFiles.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;

namespace {

const char* kGrid = "<Grid levelImage=\"{dir}/grid.png\" cellsX=\"32\" cellsY=\"24\"/>";

struct Loaded {
  explicit Loaded(const std::string& path, int mode = MODE_CLASSIC, int difficulty = 1)
      : level(0, path, mode, difficulty) {
    levelfiles::runner();
    ok = level.loadLevel();
  }
  LevelScreen level;
  bool ok = false;
};

template <typename T>
std::vector<T*> entitiesOf(const LevelScreen& level) {
  std::vector<T*> found;
  for (xSharkEntity* e : level.entities())
    if (auto* t = dynamic_cast<T*>(e)) found.push_back(t);
  return found;
}

}  // namespace

TEST(LevelFile, CreditsComeFromTheFileExceptInTheMaximumCreditsMode) {
  levelfiles::runner();
  Folder f;
  const std::string path = f.write("a.xml", std::string("<Stage><InitialFunds credits=\"0\"/>") + kGrid + "</Stage>");
  EXPECT_EQ(0.0, Loaded(path).level.economy().credits());
  EXPECT_EQ(40000.0, Loaded(path, MODE_MAXCREDITS).level.economy().credits());
  const std::string noFunds = f.write("b.xml", std::string("<Stage>") + kGrid + "</Stage>");
  EXPECT_FALSE(Loaded(noFunds).ok);
  EXPECT_FALSE(Loaded(f.write("c.xml", "<Stage><InitialFunds credits=\"10\"/></Stage>")).ok);
  EXPECT_FALSE(Loaded(f.write("d.xml", "<Stage><InitialFunds")).ok);
}

TEST(LevelFile, GridCellsFollowTheImageAlphaAndAlwaysNumber32By24WithNoCellPastAnEdge) {
  levelfiles::runner();
  Folder f;
  f.writeGrid(5, 2);
  Loaded l(f.write("a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid + "</Stage>"));
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(768u, l.level.grid().cells().size());
  EXPECT_EQ(-1, l.level.grid().cells()[2 * 32 + 5]);
  EXPECT_EQ(0, l.level.grid().cells()[2 * 32 + 4]);
  EXPECT_EQ(0, l.level.grid().cells()[2 * 32 + 6]);
  // One step past an edge is off the grid, not a cell of the next or the last row.
  EXPECT_EQ(2 * 32 + 31, PlacementGrid::index(31, 2));
  EXPECT_EQ(23 * 32, PlacementGrid::index(0, 23));
  const int pastAnEdge[][2] = {{32, 1}, {-1, 3}, {4, 24}, {4, -1}};
  for (const auto& cell : pastAnEdge)
    EXPECT_EQ(-1, PlacementGrid::index(cell[0], cell[1])) << cell[0] << ", " << cell[1];
  // Every other size would let the placement code index past the grid.
  Loaded small(f.write("b.xml", "<Stage><InitialFunds credits=\"1\"/>"
                                "<Grid levelImage=\"{dir}/grid.png\" cellsX=\"4\" cellsY=\"300\"/></Stage>"));
  ASSERT_TRUE(small.ok);
  EXPECT_EQ(768u, small.level.grid().cells().size());
}

TEST(LevelFile, SplinesThatDescribeNoCurveAreRefusedAndTheOtherPathsStay) {
  levelfiles::runner();
  Folder f;
  f.write("zero.xml", "<Spline n=\"2\" t=\"1\" resolution=\"0\"><ControlPoint x=\"0\" y=\"0\"/>"
                      "<ControlPoint x=\"10\" y=\"0\"/></Spline>");
  f.write("order.xml", "<Spline n=\"2\" t=\"4\" resolution=\"10\"><ControlPoint x=\"0\" y=\"0\"/>"
                       "<ControlPoint x=\"10\" y=\"0\"/></Spline>");
  f.write("one.xml", "<Spline n=\"1\" t=\"0\" resolution=\"10\"><ControlPoint x=\"5\" y=\"5\"/></Spline>");
  // n claims more points than there are: the points read count.
  f.write("liar.xml", "<Spline n=\"40\" t=\"1\" resolution=\"10\"><ControlPoint x=\"0\" y=\"0\"/>"
                      "<ControlPoint x=\"100\" y=\"0\"/><ControlPoint x=\"100\" y=\"100\"/></Spline>");
  // A curve on one spot, or sampled once, gives a ship nowhere to fly.
  f.write("spot.xml", "<Spline n=\"2\" t=\"1\" resolution=\"10\"><ControlPoint x=\"7\" y=\"7\"/>"
                      "<ControlPoint x=\"7\" y=\"7\"/></Spline>");
  f.write("once.xml", "<Spline n=\"2\" t=\"1\"><ControlPoint x=\"0\" y=\"0\"/><ControlPoint x=\"9\" y=\"0\"/></Spline>");
  // Two points in a row on one spot leave the centre line but no side to offset to.
  f.write("stutter.xml", "<Spline n=\"3\" t=\"1\" resolution=\"10\"><ControlPoint x=\"0\" y=\"0\"/>"
                         "<ControlPoint x=\"0\" y=\"0\"/><ControlPoint x=\"90\" y=\"0\"/></Spline>");
  Loaded l(f.write("a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid +
                                "<Path id=\"1\" centerLine=\"{dir}/zero.xml\"/>"
                                "<Path id=\"2\" centerLine=\"{dir}/order.xml\"/>"
                                "<Path id=\"3\" centerLine=\"{dir}/one.xml\"/>"
                                "<Path id=\"4\" centerLine=\"{dir}/liar.xml\" sides=\"LEFT\" distance=\"5\"/>"
                                "<Path id=\"5\" centerLine=\"{dir}/path.xml\"/>"
                                "<Path id=\"6\" centerLine=\"{dir}/spot.xml\"/>"
                                "<Path id=\"7\" centerLine=\"{dir}/once.xml\"/>"
                                "<Path id=\"8\" centerLine=\"{dir}/stutter.xml\" sides=\"BOTH\" distance=\"5\"/>"
                                "</Stage>"));
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(3u, l.level.model().paths.size());
  EXPECT_EQ(10u, l.level.getPathDescription(8).pointsForSide(0).size());
  EXPECT_TRUE(l.level.getPathDescription(8).pointsForSide(1).empty());
  const PathDescription liar = l.level.getPathDescription(4);
  ASSERT_EQ(10u, liar.pointsForSide(0).size());
  EXPECT_EQ(100.0f, liar.pointsForSide(0).back().y);
  EXPECT_EQ(10u, liar.pointsForSide(1).size());
  EXPECT_TRUE(liar.pointsForSide(2).empty());
  EXPECT_EQ(500u, l.level.getPathDescription(5).finePoints.at(0).size());
  EXPECT_TRUE(l.level.getPathDescription(9).points.empty());
  // A path file that cannot be read ends the reading of paths.
  Loaded missing(f.write("b.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid +
                                      "<Path id=\"1\" centerLine=\"{dir}/nothing.xml\"/>"
                                      "<Path id=\"5\" centerLine=\"{dir}/path.xml\"/></Stage>"));
  EXPECT_TRUE(missing.level.model().paths.empty());
}

TEST(LevelFile, SideLinesOffsetTheControlPolygon) {
  const std::vector<Vec2> p = {Vec2(0, 0), Vec2(10, 0), Vec2(20, 5), Vec2(30, 5)};
  // Distance 0 and gentle turns: p0, p0, p1, p3.
  const std::vector<Vec2> same = offsetControlPolygon(p, 0.0f);
  ASSERT_EQ(4u, same.size());
  EXPECT_EQ(p[0].x, same[1].x);
  EXPECT_EQ(p[1].x, same[2].x);
  EXPECT_EQ(p[3].x, same[3].x);
  // Left of travel on a screen whose y grows downward is up.
  const std::vector<Vec2> left = offsetControlPolygon(p, 4.0f);
  EXPECT_NEAR(-4.0f, left[0].y, 1e-5f);
  // A turn of 90 degrees or more uses the unnormalised sum of both directions.
  const std::vector<Vec2> corner = offsetControlPolygon({Vec2(0, 0), Vec2(10, 0), Vec2(10, 10)}, 1.0f);
  EXPECT_NEAR(11.0f, corner[1].x, 1e-5f);
  EXPECT_NEAR(-1.0f, corner[1].y, 1e-5f);
  // Two points on one spot give no direction to move by.
  EXPECT_TRUE(offsetControlPolygon({Vec2(1, 1), Vec2(1, 1), Vec2(5, 5)}, 2.0f).empty());
}

TEST(LevelFile, ExitZonesSitOnTheirAreaCentreAsBoxesOrCircles) {
  levelfiles::runner();
  Folder f;
  f.write("round.xml", "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"0\" bodyType=\"3DOF\""
                       " primitiveType=\"circle\" texturePath=\"NONE\"/>");
  Loaded l(f.write("a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid +
                                "<ExitZone template=\"{dir}/exit.xml\" area=\"Rect(900, 200, 40, 100)\"/>"
                                "<ExitZone template=\"{dir}/round.xml\" area=\"Rect(100, 50, 30, 30)\"/>"
                                "<ExitZone template=\"{dir}/missing.xml\" area=\"Rect(1, 1, 1, 1)\"/></Stage>"));
  const auto zones = entitiesOf<xExitZoneEntity>(l.level);
  ASSERT_EQ(2u, zones.size());
  EXPECT_EQ(900.0f, zones[0]->absPlacement().x);
  EXPECT_EQ(200.0f, zones[0]->absPlacement().y);
  EXPECT_EQ(nullptr, zones[0]->body());
  auto* box = dynamic_cast<xPrimitiveBox*>(static_cast<xPrimitiveShape*>(zones[0]->shape())->getEnvelope());
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(40.0f, box->getWidth());
  auto* circle = dynamic_cast<xPrimitiveCircle*>(static_cast<xPrimitiveShape*>(zones[1]->shape())->getEnvelope());
  ASSERT_NE(nullptr, circle);
  EXPECT_EQ(30.0f, circle->getRadius());
}

TEST(LevelFile, StationPartsArePlacedTurnedAndSpun) {
  levelfiles::runner();
  Folder f;
  f.write("part.xml", "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
                      " primitiveType=\"box\" shapeFeaturesX=\"40\" shapeFeaturesY=\"20\" texturePath=\"NONE\""
                      " collisionCategory=\"station_part\" energy=\"400\" behavior=\"5\"/>");
  f.write("orbit.xml", "<Spline n=\"3\" t=\"1\" resolution=\"20\"><ControlPoint x=\"0.5\" y=\"0.5\"/>"
                       "<ControlPoint x=\"0.6\" y=\"0.5\"/><ControlPoint x=\"0.6\" y=\"0.6\"/></Spline>");
  Loaded l(f.write("a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid +
                                "<StationParts><Part entityFile=\"{dir}/part.xml\" x=\"300\" y=\"200\" angle=\"90\""
                                " angVel=\"45\"/>"
                                "<Part entityFile=\"{dir}/part.xml\" x=\"1\" y=\"2\" angle=\"9000\""
                                " spline=\"{dir}/orbit.xml\" delay=\"5000\"/>"
                                "<Part entityFile=\"{dir}/nothing.xml\" x=\"1\" y=\"2\"/></StationParts></Stage>"));
  const auto parts = entitiesOf<xSimpleEnemy>(l.level);
  ASSERT_EQ(2u, parts.size());
  EXPECT_EQ(300.0f, parts[0]->absPlacement().x);
  EXPECT_NEAR(1.5707964f, parts[0]->absPlacement().z, 1e-5f);
  EXPECT_EQ(400, parts[0]->energy());
  // An angle beyond a full turn is refused: the part stands unturned on its walk.
  EXPECT_TRUE(parts[1]->isWalking());
  EXPECT_EQ(20u, parts[1]->pathPoints().size());
  EXPECT_NEAR(512.0f, parts[1]->pathPoints().front().x, 1e-3f);
  EXPECT_NEAR(384.0f, parts[1]->pathPoints().front().y, 1e-3f);
}

TEST(LevelFile, TimerAndForcedTypeSetTheGameplayType) {
  levelfiles::runner();
  Folder f;
  const std::string head = std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid;
  Loaded timer(f.write("a.xml", head + "<Timer delay=\"90\"/></Stage>"));
  EXPECT_EQ(kGameplayTimer, timer.level.model().gameplayType);
  EXPECT_EQ(90000, timer.level.model().timerLimitMs);
  Loaded forced(f.write("b.xml", head + "<Timer delay=\"90\"/><ForceGameplayType type=\"STATION_PART_STATIC\"/></Stage>"));
  EXPECT_EQ(kGameplayStationStatic, forced.level.model().gameplayType);
  Loaded unknown(f.write("c.xml", head + "<ForceGameplayType type=\"SOMETHING\"/></Stage>"));
  EXPECT_EQ(kGameplayClassic, unknown.level.model().gameplayType);
}

TEST(LevelFile, AttacksKeepTheirFirstListAndABadEnemyFileCostsOnlyItsRecord) {
  levelfiles::runner();
  Folder f;
  f.write("broken.xml", "<Entity descriptionName=\"somethingElse\"/>");
  const std::string late = "<Wave id=\"0\" pathId=\"0\" count=\"1\" enemy=\"{dir}/enemy.xml\"/></Attack>";
  const std::string path = f.write(
      "a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid +
                   "<Path id=\"0\" centerLine=\"{dir}/path.xml\" sides=\"LEFT\"/>"
                   "<Attack id=\"0\"><Wave id=\"0\" pathId=\"0\" count=\"2\" spawnDelay=\"100\""
                   " enemy=\"{dir}/broken.xml\"/><Wave id=\"1\" pathId=\"0\" count=\"3\" spawnDelay=\"100\""
                   " pathSubId=\"LEFT\" enemy=\"{dir}/enemy.xml\"/></Attack>"
                   "<Attack id=\"0\"><Wave id=\"9\"/></Attack>"
                   "<Attack id=\"1\">" + late + "<Attack id=\"2147483647\">" + late + "<Attack id=\"-7\">" + late +
                   "<Attack id=\"3\">" + late + "</Stage>");
  // Waves play attacks 0, 1, 2 ... in turn: the others would never come, and are named.
  testing::internal::CaptureStdout();
  Loaded l(path);
  const std::string said = testing::internal::GetCapturedStdout();
  for (const char* id : {"2147483647", "-7", "3"})
    EXPECT_NE(std::string::npos, said.find(path + ": Attack (line 1): attack " + id + " is left out")) << said;
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(2u, l.level.model().attacks.size());
  const std::vector<WaveDescription>& first = l.level.model().attacks.at(0);
  ASSERT_EQ(2u, first.size());
  EXPECT_EQ("LEFT", first[1].pathSubId);
  EXPECT_EQ(100, first[1].spawnDelay);
  EXPECT_EQ(-1, first[1].speed);
  xEnemySpawner* spawner = l.level.spawner();
  ASSERT_NE(nullptr, spawner);
  EXPECT_EQ(0, spawner->attacks().at(0)[0].count);
  EXPECT_EQ(3, spawner->attacks().at(0)[1].count);
  EXPECT_EQ(0, l.level.flow().nextWave());
  // The preview shows what the spawner sends: the repeated attack is not among it.
  ASSERT_EQ(3u, l.level.model().enemyCatalogue.size());
  EXPECT_EQ("scout", l.level.model().enemyCatalogue[1].className);
  EXPECT_EQ(0, l.level.model().enemyCatalogue[0].count);
}

TEST(LevelFile, TheCatalogueScalesEnergyBySinglePrecisionFactors) {
  levelfiles::runner();
  Folder f;
  const std::string path = f.write(
      "a.xml", std::string("<Stage><InitialFunds credits=\"1\"/>") + kGrid + "<Path id=\"0\" centerLine=\"{dir}/path.xml\"/>"
                   "<Attack id=\"0\"><Wave id=\"0\" pathId=\"0\" count=\"4\" enemy=\"{dir}/enemy.xml\"/></Attack></Stage>");
  // What the spawner gives the ships: 100 x 1.3f is 130 in single precision.
  const int expected[] = {75, 85, 130};
  for (int difficulty : {0, 1, 2}) {
    Loaded l(path, MODE_CLASSIC, difficulty);
    ASSERT_EQ(1u, l.level.model().enemyCatalogue.size());
    EXPECT_EQ(expected[difficulty], l.level.model().enemyCatalogue[0].energy);
    EXPECT_EQ(4, l.level.model().enemyCatalogue[0].count);
  }
}
