// Checks the shipped campaign, level and entity files: what they name exists, the missions
// unlock in order, the placement image keeps every path clear, and the game's readers take
// every file without a message.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Foundation/Math/QlnFunctions.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/shots/xEnemyBulletEntity.h"
#include "Game/Entities/shots/xPlayerBulletEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"
#include "Game/Entities/xExitZoneEntity.h"
#include "LevelRunner.h"

namespace fs = std::filesystem;
using QuillonPHX2D::Vec2;

namespace {

const std::string kRoot = STARMOOR_SOURCE_DIR;
constexpr int kMissions = 45;
constexpr int kFieldW = 1024, kFieldH = 768, kCellsX = 32, kCellsY = 24;
std::string full(const std::string& rel) { return kRoot + "/" + rel; }

// The runner opens the application once per test program (and works from the source folder).
levelrunner::Runner& runner() {
  static levelrunner::Runner r;
  return r;
}

bool load(TiXmlDocument& doc, const std::string& rel) {
  return doc.LoadFile(full(rel).c_str());
}

std::string attr(const TiXmlElement* e, const char* name) {
  const char* v = e->Attribute(name);
  return v ? v : "";
}

double num(const TiXmlElement* e, const char* name) {
  double v = 0;
  return e->QueryDoubleAttribute(name, &v) == TIXML_SUCCESS ? v : NAN;
}

std::string missionFile(int id) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "content/levels/mission_%02d.xml", id);
  return buf;
}

// A spline file sampled the way the level reads a path's centre line.
std::vector<Vec2> centreLine(const std::string& rel) {
  TiXmlDocument doc;
  if (!load(doc, rel)) return {};
  const TiXmlElement* s = doc.RootElement();
  std::vector<Vec2> pts;
  for (const TiXmlElement* c = s->FirstChildElement("ControlPoint"); c; c = c->NextSiblingElement("ControlPoint"))
    pts.push_back(Vec2(float(num(c, "x")), float(num(c, "y"))));
  EXPECT_EQ(int(num(s, "n")), int(pts.size())) << rel;
  EXPECT_LE(int(num(s, "t")) + 1, int(pts.size())) << rel;
  if (pts.size() < 2) return {};
  return QuillonPHX2D::qlnBSpline2D(int(pts.size()) - 1, int(num(s, "t")) + 1, pts.data(), int(num(s, "resolution")));
}

// Buildable flags of the 32 x 24 cells, sampled at each cell's centre as the level does.
std::vector<bool> buildableCells(const std::string& rel, int cellW, int cellH) {
  std::vector<bool> cells;
  SDL_Surface* raw = IMG_Load(full(rel).c_str());
  if (!raw) return cells;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(raw);
  if (!rgba) return cells;
  for (int r = 0; r < kCellsY; ++r)
    for (int c = 0; c < kCellsX; ++c) {
      int x = c * cellW + cellW / 2, y = r * cellH + cellH / 2;
      if (x >= rgba->w || y >= rgba->h) return {};
      const Uint8* px = static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch + x * 4;
      cells.push_back(px[3] != 0);
    }
  SDL_FreeSurface(rgba);
  return cells;
}

bool onField(const Vec2& p) { return p.x >= 0 && p.y >= 0 && p.x < kFieldW && p.y < kFieldH; }

}  // namespace

TEST(CampaignFiles, FortyFiveMissionsUnlockOneAfterAnother) {
  for (int id = 0; id < kMissions; ++id) {
    SCOPED_TRACE(missionFile(id));
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    const TiXmlElement* stage = doc.RootElement();
    ASSERT_STREQ(stage->Value(), "Stage");
    EXPECT_GE(num(stage, "music"), 0.0);
    EXPECT_EQ(attr(stage, "enabled"), id == 0 ? "true" : "false");
    const TiXmlElement* reward = stage->FirstChildElement("Reward");
    ASSERT_NE(reward, nullptr);
    ASSERT_NE(reward->FirstChildElement(), nullptr);
    EXPECT_GT(num(reward->FirstChildElement(), "amount"), 0.0);
    const TiXmlElement* unlock = stage->FirstChildElement("UnlockMissions");
    if (id == kMissions - 1) {
      EXPECT_EQ(unlock, nullptr);
    } else {
      ASSERT_NE(unlock, nullptr);
      EXPECT_EQ(attr(unlock, "missions"), std::to_string(id + 1));
    }
    char shot[64];
    std::snprintf(shot, sizeof shot, "content/images/mission/shots/mission_%02d.png", id);
    EXPECT_TRUE(fs::exists(full(shot)));
  }
}

TEST(LevelFiles, NamedFilesExistAndThePlacementImageKeepsEveryPathClear) {
  int filled = 0;
  for (int id = 0; id < kMissions; ++id) {
    SCOPED_TRACE(missionFile(id));
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    const TiXmlElement* stage = doc.RootElement();
    const TiXmlElement* grid = stage->FirstChildElement("Grid");
    if (!grid) continue;
    ++filled;
    ASSERT_NE(stage->FirstChildElement("InitialFunds"), nullptr);
    EXPECT_EQ(num(grid, "cellsX"), kCellsX);
    EXPECT_EQ(num(grid, "cellsY"), kCellsY);
    std::vector<bool> cells = buildableCells(attr(grid, "levelImage"), int(num(grid, "cellWidth")), int(num(grid, "cellHeight")));
    ASSERT_EQ(cells.size(), size_t(kCellsX * kCellsY)) << "placement image missing or too small";
    EXPECT_GT(std::count(cells.begin(), cells.end(), true), kCellsX * kCellsY / 3);
    for (const TiXmlElement* w = grid->FirstChildElement("ImageWidget"); w; w = w->NextSiblingElement("ImageWidget"))
      EXPECT_TRUE(fs::exists(full(attr(w, "textureFilename"))));

    std::map<std::string, std::vector<Vec2>> paths;
    for (const TiXmlElement* p = stage->FirstChildElement("Path"); p; p = p->NextSiblingElement("Path")) {
      std::vector<Vec2> line = centreLine(attr(p, "centerLine"));
      ASSERT_GT(line.size(), 2u) << attr(p, "centerLine");
      // Ships appear and leave out of sight, and never stand where a tower may be built.
      EXPECT_FALSE(onField(line.front()));
      EXPECT_FALSE(onField(line.back()));
      for (const Vec2& q : line)
        if (onField(q)) {
          EXPECT_FALSE(cells[int(q.y) / 32 * kCellsX + int(q.x) / 32]) << q.x << "," << q.y;
        }
      paths[attr(p, "id")] = line;
    }
    int killZones = 0;
    for (const TiXmlElement* z = stage->FirstChildElement("ExitZone"); z; z = z->NextSiblingElement("ExitZone")) {
      EXPECT_TRUE(fs::exists(full(attr(z, "template"))));
      if (attr(z, "template").find("killzone") != std::string::npos) ++killZones;
    }
    EXPECT_EQ(killZones, 4) << "one kill zone per field border";
    for (const TiXmlElement* part = stage->FirstChildElement("StationParts") ? stage->FirstChildElement("StationParts")->FirstChildElement("Part") : nullptr;
         part; part = part->NextSiblingElement("Part"))
      EXPECT_TRUE(fs::exists(full(attr(part, "entityFile"))));
    int waves = 0;
    for (const TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack"), ++waves) {
      EXPECT_EQ(num(a, "id"), waves) << "attack ids run 0, 1, 2 ...";
      for (const TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
        EXPECT_TRUE(paths.count(attr(w, "pathId"))) << "wave on an unknown path";
        EXPECT_TRUE(fs::exists(full(attr(w, "enemy"))));
        EXPECT_GT(num(w, "count"), 0.0);
        EXPECT_GT(num(w, "spawnDelay"), 0.0);
        EXPECT_GT(num(w, "speed"), 0.0);
      }
    }
    EXPECT_GE(waves, 6);
  }
  EXPECT_GE(filled, 3) << "station 0's missions have contents";
}

// Every shipped entity and level file goes through the game's own readers without a
// single message, and each level with contents flies its first wave.
TEST(ShippedFiles, TheGameReadsEveryOneWithoutAComplaint) {
  levelrunner::Runner& run = runner();
  std::vector<std::string> files;
  for (const auto& f : fs::recursive_directory_iterator("content/config/Entities"))
    if (f.path().extension() == ".xml") files.push_back(f.path().string());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 14u) << "eight classes, two shots, two zones, two station parts";
  for (const std::string& file : files) {
    const std::string folder = fs::path(file).parent_path().filename().string();
    testing::internal::CaptureStdout();
    bool ok = false;
    if (folder == "enemies" || folder == "station") {
      xSimpleEnemyDesc d;
      ok = d.loadFromFile(file);
    } else if (file.find("playerbullet") != std::string::npos) {
      xPlayerBulletEntityDesc d;
      ok = d.loadFromFile(file);
    } else if (folder == "bullets") {
      xEnemyBulletEntityDesc d;
      ok = d.loadFromFile(file);
    } else if (file.find("_particle.xml") != std::string::npos) {
      xSimpleParticleEntityDesc d;
      ok = d.loadFromFile(file) && d.complete;
    } else if (folder == "zones") {
      xExitZoneEntityDesc d;
      ok = d.loadFromFile(file);
    } else {
      xPhysicsPrimitiveEntityDesc d;
      ok = d.loadFromFile(file);
    }
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ok) << file;
    EXPECT_EQ(said.find("WARNING"), std::string::npos) << file << ": " << said;
    EXPECT_EQ(said.find("ERROR"), std::string::npos) << file << ": " << said;
  }

  // Classic, standing station, travelling station and timed missions all occur.
  int gameplayTypes[4] = {0, 0, 0, 0};
  for (int id = 0; id < kMissions; ++id) {
    TiXmlDocument doc;
    ASSERT_TRUE(load(doc, missionFile(id)));
    int attacks = 0;
    for (const TiXmlElement* a = doc.RootElement()->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack"))
      ++attacks;
    if (attacks == 0) continue;
    levelrunner::RunOptions o;
    o.levelFile = missionFile(id);
    o.missionId = id;
    o.script = {{0, "start", {}}};
    // About 15 s: every first-wave record has spawned, no ship has walked its path yet.
    o.maxFrames = 950;
    int type = -1;
    int timerMs = 0;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const levelrunner::Outcome out = run.run(o, [&](LevelScreen& level, int) {
      type = level.model().gameplayType;
      timerMs = level.model().timerLimitMs;
    });
    const std::string reported = testing::internal::GetCapturedStderr();
    const std::string said = testing::internal::GetCapturedStdout();
    SCOPED_TRACE(missionFile(id));
    EXPECT_TRUE(out.loaded);
    EXPECT_EQ(out.waveCount, attacks);
    EXPECT_GT(out.spawned, 0);
    EXPECT_GT(out.lives, 0);
    ASSERT_TRUE(type >= 0 && type <= 3) << type;
    ++gameplayTypes[type];
    EXPECT_EQ(type == 3, timerMs > 0);
    EXPECT_EQ(said.find("WARNING"), std::string::npos) << said;
    EXPECT_EQ(said.find("ERROR"), std::string::npos) << said;
    EXPECT_EQ(reported.find("Assert failed"), std::string::npos) << reported;
    EXPECT_EQ(reported.find("Error:"), std::string::npos) << reported;
  }
  for (int n : gameplayTypes) EXPECT_GT(n, 0);
}
