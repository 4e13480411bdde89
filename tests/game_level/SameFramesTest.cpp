// A level plays the same frames however it was reached: fresh, restarted after fast
// play, or the fourth time in one process.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"
#include "LevelFiles.h"
#include "Player.h"

using levelfiles::runner;

namespace {

constexpr unsigned kSeed = 5;

// One number per frame for what the field holds: every ship, tower, shot and missile
// where it stands and how much energy a ship has left, the kills, the lives and the
// credits. Particles are left out: they are scenery, scattered by the random numbers.
uint64_t fingerprint(LevelScreen& level) {
  std::vector<std::array<long long, 4>> items;
  for (xSharkEntity* e : level.entities()) {
    if (!level.findLiveEntity(e) || dynamic_cast<xSimpleParticle*>(e)) continue;
    const QuillonPHX2D::Vec3 p = e->absPlacement();
    const auto* ship = dynamic_cast<xSimpleEnemy*>(e);
    items.push_back({std::llround(p.x * 100.0), std::llround(p.y * 100.0), std::llround(p.z * 1000.0),
                     ship ? ship->energy() : -1});
  }
  std::sort(items.begin(), items.end());
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](long long v) {
    h ^= static_cast<uint64_t>(v);
    h *= 1099511628211ull;
  };
  for (const auto& item : items)
    for (long long v : item) mix(v);
  mix(level.flow().enemiesDestroyed());
  mix(level.flow().lives());
  mix(std::llround(level.economy().credits() * 100.0));
  return h;
}

std::string missionFile(int id) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "content/levels/mission_%02d.xml", id);
  return buf;
}

// The first frame at which two records part, or -1.
int firstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<int>(i);
  return a.size() == b.size() ? -1 : static_cast<int>(n);
}

// The simple player on one level, its frames counted from the level's first frame, the
// random numbers seeded there as a fresh run seeds them.
struct Watched {
  explicit Watched(const levelrunner::PlayerOptions& options) : player(runner().commands(), options) {}
  void onFrame(LevelScreen& level) {
    if (frames.empty()) std::srand(kSeed);
    player.onFrame(level, static_cast<int>(frames.size()));
    frames.push_back(fingerprint(level));
  }
  levelrunner::Player player;
  std::vector<uint64_t> frames;
};

levelrunner::RunOptions options(int id, int maxFrames) {
  levelrunner::RunOptions o;
  o.levelFile = missionFile(id);
  o.missionId = id;
  o.seed = kSeed;
  o.maxFrames = maxFrames;
  return o;
}

}  // namespace

TEST(SameFrames, ARestartAfterFastPlayPlaysTheFramesOfAFreshStart) {
  // The player sends the waves and builds at normal speed; the first level was played
  // fast for a while before "play again".
  constexpr int kFrames = 2400;
  levelrunner::PlayerOptions normal;
  normal.fast = false;

  Watched fresh(normal);
  runner().run(options(5, kFrames), [&](LevelScreen& level, int) { fresh.onFrame(level); });

  Watched again(normal);
  LevelScreen* first = nullptr;
  LevelScreen* restarted = nullptr;
  int closedAt = -1;
  auto o = options(5, kFrames + 1200);
  o.until = [&](LevelScreen&) { return static_cast<int>(again.frames.size()) >= kFrames; };
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (!first) first = &level;
    if (&level == first) {
      if (frame == 100) {
        runner().perform(level, {0, "speed", {"fast"}});
        runner().perform(level, {0, "start", {}});
      }
      // The pause screen's "again", after the first ships have met the fast field.
      if (frame == 700) level.close(3000, true);
      if (frame >= 700) closedAt = frame;
      return;
    }
    // The new level is made inside the frame that closed the old one, after that frame's
    // physics step: its first frame of its own is the next one.
    if (!restarted) {
      restarted = &level;
      return;
    }
    again.onFrame(level);
  });
  ASSERT_GT(closedAt, 700) << "the level never closed";
  ASSERT_EQ(fresh.frames.size(), again.frames.size()) << "the restarted level was not followed";
  EXPECT_EQ(-1, firstDifference(fresh.frames, again.frames)) << "frame of the first difference";
}

TEST(SameFrames, FourRunsOfALevelInOneProcessPlayTheSameFrames) {
  // The simple player at fast speed, as the campaign table plays.
  for (int id : {5, 20, 44}) {
    SCOPED_TRACE(missionFile(id));
    std::vector<std::vector<uint64_t>> runs;
    for (int run = 0; run < 4; ++run) {
      Watched w{levelrunner::PlayerOptions{}};
      runner().run(options(id, 6000), [&](LevelScreen& level, int) { w.onFrame(level); });
      runs.push_back(w.frames);
    }
    for (int run = 1; run < 4; ++run) EXPECT_EQ(-1, firstDifference(runs[0], runs[run])) << "run " << run + 1;
  }
}
