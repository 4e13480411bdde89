// A level's particles and music: explosions and rings fade out and leave at their
// life at either game speed, a scaling particle ends at its scale (and one shrunk to
// nothing draws nothing), missiles burst at a wave's end, the particle budget leaves
// the random sequence alone, and a restarted level plays music it owns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "DynamicResources/SceneMusicContainer.h"
#include "Dynamics/Bodies/xBody.h"
#include "Game/Entities/enemies/SimpleEnemyEntity.h"
#include "Game/Entities/missiles/xPlayerSmartMissileEntity.h"
#include "Game/Entities/shots/xSimpleParticle.h"
#include "LevelFiles.h"
#include "Music.h"
#include "RecordingGraphics.h"
#include "SDLGameApp.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;
using levelfiles::Folder;
using levelfiles::runner;

namespace {

constexpr int kFrameMs = 16;

std::vector<xSimpleParticle*> particles(const LevelScreen& level) {
  std::vector<xSimpleParticle*> found;
  for (xSharkEntity* e : level.entities())
    if (auto* p = dynamic_cast<xSimpleParticle*>(e)) found.push_back(p);
  return found;
}

float wrapDegrees(float radians) {
  float d = std::fmod(radians * 180.0f / 3.14159265f, 360.0f);
  return d < 0.0f ? d + 360.0f : d;
}

}  // namespace

TEST(LevelParticles, AnExplosionAndARingFadeAndLeaveAtTheirLifeAtEitherSpeed) {
  Folder f;
  for (const bool fast : {false, true}) {
    SCOPED_TRACE(fast ? "fast" : "normal");
    levelrunner::RunOptions o;
    o.levelFile = f.level("<Attack id=\"0\">" + f.wave(1, 60000) + "</Attack>");
    o.seed = 3;
    o.maxFrames = 60;
    if (fast) o.script = {{0, "speed", {"fast"}}};
    const int spawnFrame = 10;
    const int fadeMs = fast ? 54 : 150;  // three quarters of a 200 ms life, times the game speed
    int goneAt = -1;
    int midAlpha = -1;
    auto watch = [&](LevelScreen& level, int frame) {
      if (frame == spawnFrame) {
        level.spawnScatterParticle(Vec2(500.0f, 400.0f), Color(255, 128, 0, 255), 20);
        level.spawnRingParticle(Vec2(500.0f, 400.0f), 64.0f, Color(0, 255, 255, 255), level.particleDescription());
        const auto made = particles(level);
        ASSERT_EQ(32u, made.size());
        for (xSimpleParticle* p : made) EXPECT_EQ(fadeMs, p->fadeMs());
        // The ring: twelve particles at 30 degree steps, the first thrown along +x.
        for (int i = 0; i < 12; ++i) {
          xSimpleParticle* p = made[20 + i];
          EXPECT_NEAR(30.0f * i, wrapDegrees(p->absPlacement().z), 0.01f) << i;
        }
        const Vec2 first = made[20]->body()->getVelocity();
        EXPECT_GT(first.x, 0.0f);
        EXPECT_NEAR(0.0f, first.y, 1e-5f);
        EXPECT_EQ(Color(0, 255, 255, 255).g, made[20]->color().g);
      }
      if (frame <= spawnFrame || goneAt >= 0) return;
      const auto live = particles(level);
      if (frame == spawnFrame + fadeMs / kFrameMs / 2 && !live.empty()) midAlpha = live.front()->alpha();
      if (live.empty()) goneAt = frame;
    };
    runner().run(o, watch);
    // Half-way the particles are fading, and they leave once their fade has run out.
    EXPECT_GT(midAlpha, 0);
    EXPECT_LT(midAlpha, 255);
    const int fadeFrames = (fadeMs + kFrameMs - 1) / kFrameMs;
    ASSERT_GT(goneAt, 0);
    EXPECT_GE(goneAt - spawnFrame, fadeFrames);
    EXPECT_LE(goneAt - spawnFrame, fadeFrames + 2);
  }
}

TEST(LevelParticles, AScalingParticleEndsAtItsScaleAndOneShrunkToNothingDrawsNothing) {
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = f.level("<Attack id=\"0\">" + f.wave(1, 60000) + "</Attack>");
  o.maxFrames = 2;
  for (const float endScale : {3.0f, 0.0f}) {
    SCOPED_TRACE(endScale);
    RecordingGraphics g;
    runner().run(o, [&](LevelScreen& level, int frame) {
      if (frame != 1) return;
      xSimpleParticleEntityDesc desc = level.particleDescription();
      ASSERT_NE(nullptr, desc.texture);
      desc.sceneEntityManager = nullptr;  // driven by hand, outside the scene
      desc.type = xSimpleParticleEntityDesc::kScaling;
      desc.startScale = 1.0f;
      desc.endScale = endScale;
      auto* p = dynamic_cast<xSimpleParticle*>(g_ptrSDK->createEntity(&desc));
      ASSERT_NE(nullptr, p);
      p->setAbsPlacement(Vec3(100.0f, 200.0f, 0.0f));
      for (int t = 0; t < xSimpleParticle::kScaleMs; t += kFrameMs) p->update(kFrameMs, nullptr);
      EXPECT_FLOAT_EQ(endScale, p->scale());
      // Drawn whatever its fade, so the scale is what decides.
      p->draw(&g, nullptr);
      g_ptrSDK->destroyEntity(p);
    });
    const auto images = g.callsOf("drawImage");
    if (endScale > 0.0f) {
      ASSERT_EQ(1u, images.size());
      const auto scales = g.callsOf("scale");
      ASSERT_EQ(1u, scales.size());
      EXPECT_FLOAT_EQ(endScale, scales[0].x);
      EXPECT_EQ(0, g.depth());  // the transform is undone
    } else {
      EXPECT_TRUE(images.empty());
      EXPECT_TRUE(g.callsOf("scale").empty());
    }
  }
}

TEST(LevelParticles, AtAWavesEndMissilesGoAndOnlyThoseOverTheFieldBurst) {
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = f.level("<Attack id=\"0\">" + f.wave(1, 100) + "</Attack><Attack id=\"1\">" + f.wave(1, 100) +
                        "</Attack>");
  o.script = {{0, "start", {}}};
  o.maxFrames = 40;
  const int killFrame = 20;
  size_t missilesAtKill = 0, missilesAfter = 99, burst = 0, particlesAfter = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    auto missiles = [&] {
      size_t n = 0;
      for (xSharkEntity* e : level.entities()) n += dynamic_cast<xPlayerSmartMissileEntity*>(e) ? 1 : 0;
      return n;
    };
    if (frame == killFrame) {
      const auto ships = findEnemies(level);
      ASSERT_EQ(1u, ships.size());
      // One missile over the field, one beside it over the bridge.
      level.launchMissile(Vec2(500.0f, 400.0f), nullptr, 0, ships[0], 1.0f);
      level.launchMissile(Vec2(1200.0f, 400.0f), nullptr, 0, ships[0], 1.0f);
      missilesAtKill = missiles();
      ships[0]->takeDamage(1000000, 0.0f);  // its explosion: 20 scattered and a ring of 12
    }
    if (frame == killFrame + 2) {
      missilesAfter = missiles();
      const auto made = particles(level);
      particlesAfter = made.size();
      for (xSimpleParticle* p : made)
        burst += p->color().r == 255 && p->color().g == 0 && p->color().b == 255 ? 1 : 0;
    }
  });
  EXPECT_EQ(2u, missilesAtKill);
  EXPECT_EQ(0u, missilesAfter);
  EXPECT_EQ(32u + 10u, particlesAfter);
  EXPECT_EQ(10u, burst);
}

TEST(LevelParticles, PastTheBudgetParticlesAreLeftOutButTheirRandomNumbersAreStillDrawn) {
  // Each spawn kind once with the budget full and once with room: the level makes only
  // what the budget allows, and the random sequence after the calls is the same either
  // way (the shots' jitter and the explosions' colours draw from it too).
  Folder f;
  levelrunner::RunOptions o;
  o.levelFile = f.level("<Attack id=\"0\">" + f.wave(1, 60000) + "</Attack>");
  o.maxFrames = 4;
  int nextFull = -1, nextRoomy = -2;
  size_t madeFull = 99, madeRoomy = 0;
  runner().run(o, [&](LevelScreen& level, int frame) {
    if (frame != 1) return;
    LevelEffects& effects = level.effects();
    auto spawnAll = [&] {
      effects.spawnScatter(Vec2(500.0f, 400.0f), Color(255, 128, 0, 255), 20);
      effects.spawnHit(Vec2(1.0f, 0.0f), Vec2(500.0f, 400.0f), 0.4f, Color(255, 0, 0, 255));
      effects.spawnRing(Vec2(500.0f, 400.0f), 64.0f, Color(0, 255, 255, 255), level.particleDescription());
    };
    const size_t before = particles(level).size();
    effects.setParticleBudget(xSimpleParticle::live() + 5);
    std::srand(11);
    spawnAll();
    nextFull = std::rand();
    madeFull = particles(level).size() - before;
    effects.setParticleBudget(LevelEffects::kParticleBudget);
    std::srand(11);
    spawnAll();
    nextRoomy = std::rand();
    madeRoomy = particles(level).size() - before - madeFull;
  });
  EXPECT_EQ(5u, madeFull);
  EXPECT_EQ(20u + 20u + 12u, madeRoomy);
  EXPECT_EQ(nextRoomy, nextFull) << "a left-out particle skipped its random numbers";
}

// Restarting a level (the pause screen's "again") deletes the old level and makes a new
// one. Each plays music it owns; the old music goes with the old level (the sanitizer
// build would report one left behind).
TEST(LevelMusic, ARestartedLevelPlaysItsOwnMusicAndFreesTheOld) {
  SDLGameApp& app = runner().app();
  if (!app.isAudioOpen()) app.initAudio();
  SceneMusicContainer::instance()->load("content/config/music.xml");
  const std::string file = "content/levels/mission_00.xml";

  auto* level = new LevelScreen(0, file, MODE_CLASSIC, 1);
  app.changeState(level);
  for (int i = 0; i < 3; ++i) app.update(kFrameMs);
  EXPECT_EQ(0, level->musicScene());  // no campaign loaded: the mission id
  MixMusic* first = level->music();
  ASSERT_NE(nullptr, first);
  if (app.isAudioOpen()) {
    EXPECT_TRUE(first->isPlaying());
  }

  level->close(3000, true);
  for (int i = 0; i < 60 && LevelScreen::current() == level; ++i) {
    app.update(kFrameMs);
    app.deleteQueuedStates();
  }
  LevelScreen* again = LevelScreen::current();
  ASSERT_NE(nullptr, again);
  ASSERT_NE(level, again);
  for (int i = 0; i < 3; ++i) app.update(kFrameMs);
  ASSERT_NE(nullptr, again->music());
  if (app.isAudioOpen()) {
    EXPECT_TRUE(again->music()->isPlaying());
  }

  app.popState();
  app.deleteQueuedStates();
  EXPECT_EQ(nullptr, LevelScreen::current());
  // Later tests of this program run levels without music.
  SceneMusicContainer::destroyInstance();
}
