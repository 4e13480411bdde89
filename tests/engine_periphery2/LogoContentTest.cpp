// The logos we ship load with real textures and play through to the first screen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "AppConfig.h"
#include "GameApp.h"
#include "GameState.h"
#include "TestEnv.h"
#include "VideoClips/AnimationPlayerClip.h"
#include "VideoClips/LogoSequenceManager.h"
#include "VideoClips/StaticImageClip.h"
#include "animation/AnimationPlayer.h"

namespace {

class ShippedLogoApp : public GameApp {
 public:
  ShippedLogoApp() { setScreenSize(1366, 768); }
  void enterFirstScreen() override { ++firstScreens; }
  int firstScreens = 0;
};

class LogoContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    previous_ = here;
    ASSERT_EQ(chdir(STARMOOR_SOURCE_DIR), 0);
    ASSERT_NE(context().window(), nullptr) << SDL_GetError();
    AppConfig::destroyInstance();
    ASSERT_TRUE(AppConfig::instance()->loadFromFile("content/config/config.xml"));
  }
  void TearDown() override {
    AppConfig::destroyInstance();
    EXPECT_EQ(chdir(previous_.c_str()), 0);
  }

  // Opened once and kept: closing it unloads the GL driver, whose own
  // allocations would then be reported as leaks of an unknown module.
  static testenv::GLContext& context() {
    static testenv::GLContext ctx;
    static bool opened = ctx.open();
    (void)opened;
    return ctx;
  }
  std::string previous_;
};

TEST_F(LogoContentTest, ConfiguredLogosPlayThroughToTheFirstScreen) {
  ASSERT_GE(AppConfig::instance()->getLogoScreens().size(), 1u);
  ShippedLogoApp app;
  auto* manager = new bge::LogoSequenceManager(100.0f);
  manager->registerCreator("IMAGE", [](int id, bge::VideoClipListener* l) -> bge::VideoClip* {
    return new bge::StaticImageClip(id, l);
  });
  manager->registerCreator("ANIMATION", [](int id, bge::VideoClipListener* l) -> bge::VideoClip* {
    return new bge::AnimationPlayerClip(id, l);
  });
  manager->playNextClip();

  int sawImage = 0, sawAnimation = 0, ms = 0;
  while (app.firstScreens == 0 && ms < 20000) {
    if (!app.states().empty()) {
      GameState* top = app.states().back();
      if (auto* image = dynamic_cast<bge::StaticImageClip*>(top)) {
        EXPECT_NE(image->getTexture(), nullptr);
        ++sawImage;
      }
      if (auto* anim = dynamic_cast<bge::AnimationPlayerClip*>(top)) {
        if (anim->getPlayer() && anim->getPlayer()->find(bge::AnimationPlayerClip::kAnimationId)) {
          ++sawAnimation;
        }
      }
    }
    const std::vector<GameState*> snapshot = app.states();
    for (GameState* s : snapshot) {
      if (app.isOnStack(s) && s->isActive()) s->update(16);
    }
    app.deleteQueuedStates();
    ms += 16;
  }
  EXPECT_EQ(app.firstScreens, 1);
  EXPECT_GT(sawImage, 50) << "the still logo is shown for a while";
  EXPECT_GT(sawAnimation, 50) << "the animated logo plays for a while";
  EXPECT_LT(ms, 10000) << "the logos do not hold the start-up for long";
}

}  // namespace
