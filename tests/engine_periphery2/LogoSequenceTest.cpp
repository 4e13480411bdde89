#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AppConfig.h"
#include "PeripheryTestSupport.h"
#include "PointingDeviceEvent.h"
#include "TestEnv.h"
#include "VideoClips/AnimationPlayerClip.h"
#include "VideoClips/LogoSequenceManager.h"
#include "VideoClips/StaticImageClip.h"

using bge::LogoSequenceManager;
using bge::StaticImageClip;
using bge::VideoClip;
using bge::VideoClipListener;

namespace {

struct ClipJournal {
  std::vector<std::string> calls;
  int deleted = 0;
};

// A clip that is not a screen: it only notes what the sequence asks of it.
class NotingClip : public VideoClip {
 public:
  NotingClip(const std::string& kind, int id, VideoClipListener* listener, ClipJournal* journal)
      : VideoClip(id, listener), kind_(kind), journal_(journal) {}
  ~NotingClip() override { ++journal_->deleted; }
  void load(const std::string& path) override { note("load " + path); }
  void play() override { note("play"); }
  void pause() override {}
  void resume() override {}
  void stop() override { note("stop"); }
  void end(int code) { report(code); }

 private:
  void note(const std::string& what) {
    journal_->calls.push_back(kind_ + std::to_string(getId()) + " " + what);
  }
  std::string kind_;
  ClipJournal* journal_;
};

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

// Reads a configuration that lists the given logos (type, folder, file).
void configureLogos(const std::string& folder,
                    const std::vector<std::vector<std::string>>& logos) {
  std::string xml = "<Config version=\"1.1\"><LogoScreens>";
  for (const auto& logo : logos) {
    xml += "<Screen type=\"" + logo[0] + "\" folder=\"" + logo[1] + "\" filename=\"" + logo[2] +
           "\"/>";
  }
  xml += "</LogoScreens></Config>";
  writeFile(folder + "/config.xml", xml);
  AppConfig::destroyInstance();
  ASSERT_TRUE(AppConfig::instance()->loadFromFile(folder + "/config.xml"));
}

class LogoSequenceTest : public ::testing::Test {
 protected:
  void TearDown() override { AppConfig::destroyInstance(); }

  // A manager whose clips are noting clips, "N" for IMAGE and "A" for ANIMATION.
  LogoSequenceManager* notingManager() {
    auto* manager = new LogoSequenceManager(100.0f);
    manager->registerCreator("IMAGE", [this](int id, VideoClipListener* l) -> VideoClip* {
      auto* clip = new NotingClip("N", id, l, &journal_);
      made_.push_back(clip);
      return clip;
    });
    manager->registerCreator("ANIMATION", [this](int id, VideoClipListener* l) -> VideoClip* {
      auto* clip = new NotingClip("A", id, l, &journal_);
      made_.push_back(clip);
      return clip;
    });
    return manager;
  }

  LogoSequenceManager* imageManager() {
    auto* manager = new LogoSequenceManager(100.0f);
    manager->registerCreator("IMAGE", [](int id, VideoClipListener* l) -> VideoClip* {
      return new StaticImageClip(id, l);
    });
    return manager;
  }

  // For tests that stop before the last logo: the sequence would delete itself at its end.
  void abandon(LogoSequenceManager* manager) {
    delete manager;
    app_.deleteQueuedStates();
  }

  testenv::TempUserDirs dirs_;
  StandInApp app_;
  ClipJournal journal_;
  std::vector<NotingClip*> made_;
};

TEST_F(LogoSequenceTest, WithoutLogosTheFirstScreenComesAtOnce) {
  configureLogos(dirs_.root(), {});
  notingManager()->playNextClip();  // deletes itself
  EXPECT_EQ(app_.firstScreens, 1);
  EXPECT_TRUE(journal_.calls.empty());
}

TEST_F(LogoSequenceTest, ClipsAreMadeOncePerTypeAndPlayedInFileOrder) {
  configureLogos(dirs_.root(), {{"IMAGE", "logos/", "one.xml"},
                                {"ANIMATION", "anim/", "two.xml"},
                                {"IMAGE", "logos/", "three.xml"}});
  notingManager()->playNextClip();
  ASSERT_EQ(made_.size(), 1u);
  made_[0]->end(VideoClipListener::Ended);
  ASSERT_EQ(made_.size(), 2u);
  made_[1]->end(VideoClipListener::Skipped);  // a skip moves on like an end
  ASSERT_EQ(made_.size(), 2u) << "the second IMAGE reuses the first clip";
  EXPECT_EQ(app_.firstScreens, 0);
  made_[0]->end(VideoClipListener::Ended);

  const std::vector<std::string> expected = {"N0 load logos/one.xml", "N0 play",
                                             "A1 load anim/two.xml",  "A1 play",
                                             "N0 load logos/three.xml", "N0 play"};
  EXPECT_EQ(journal_.calls, expected);
  EXPECT_EQ(app_.firstScreens, 1);
  EXPECT_EQ(journal_.deleted, 2) << "the manager's end takes its clips with it";
}

TEST_F(LogoSequenceTest, StartedAndUnknownEventsDoNotMoveOn) {
  configureLogos(dirs_.root(), {{"IMAGE", "", "a.xml"}, {"IMAGE", "", "b.xml"}});
  notingManager()->playNextClip();
  made_[0]->end(VideoClipListener::Started);
  made_[0]->end(3);
  EXPECT_EQ(journal_.calls.size(), 2u);
  made_[0]->end(VideoClipListener::Ended);
  made_[0]->end(VideoClipListener::Ended);
  EXPECT_EQ(app_.firstScreens, 1);
}

TEST_F(LogoSequenceTest, ALogoTypeNobodyPlaysIsPassedOver) {
  configureLogos(dirs_.root(), {{"VIDEO", "", "intro.avi"}, {"IMAGE", "", "a.xml"}});
  LogoSequenceManager* manager = notingManager();
  manager->playNextClip();
  ASSERT_EQ(made_.size(), 1u);
  EXPECT_EQ(made_[0]->getId(), 0);
  EXPECT_EQ(journal_.calls.front(), "N0 load a.xml");
  abandon(manager);
}

// The static image fades in, holds and fades out over the file's times, and
// reaches full and zero alpha exactly, whatever the frame times.
TEST_F(LogoSequenceTest, StaticImageFollowsItsDurations) {
  writeFile(dirs_.root() + "/mark.xml",
            "<StaticImageClip folder=\"content/logos/\" fileName=\"mark.png\">"
            "<Position x=\"40\" y=\"30\"/>"
            "<Duration fadeIn=\"0.5\" displayTime=\"2\" fadeOut=\"1\"/></StaticImageClip>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "mark.xml"}});
  imageManager()->playNextClip();
  ASSERT_EQ(app_.states().size(), 1u);
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(app_.textures, std::vector<std::string>{"content/logos/mark.png"});
  EXPECT_EQ(clip->getFadeInMs(), 500);
  EXPECT_EQ(clip->getDisplayMs(), 2000);
  EXPECT_EQ(clip->getFadeOutMs(), 1000);

  const int steps[] = {16, 7, 33, 16, 50, 3};
  int now = 0;
  int firstFull = -1, lastFull = -1, previous = 0;
  bool rising = true, sawZeroAfterFall = false;
  for (int i = 0; app_.firstScreens == 0 && i < 2000; ++i) {
    const int dt = steps[i % 6];
    app_.frame(dt);
    now += dt;
    if (app_.firstScreens) break;
    const int alpha = clip->getAlpha();
    ASSERT_GE(alpha, 0);
    ASSERT_LE(alpha, 255);
    if (alpha == 255) {
      if (firstFull < 0) firstFull = now;
      lastFull = now;
      rising = false;
    }
    if (rising) {
      EXPECT_GE(alpha, previous);
    }
    if (!rising && alpha == 0) sawZeroAfterFall = true;
    previous = alpha;
  }
  EXPECT_EQ(app_.firstScreens, 1);
  EXPECT_TRUE(app_.states().empty());
  EXPECT_GE(firstFull, 500);
  EXPECT_LE(firstFull, 500 + 2 * 50);
  EXPECT_GE(lastFull - firstFull, 2000);
  EXPECT_LE(lastFull - firstFull, 2000 + 3 * 50);
  EXPECT_TRUE(sawZeroAfterFall);
  EXPECT_GE(now, 3500);
  EXPECT_LE(now, 3500 + 6 * 50);
}

TEST_F(LogoSequenceTest, WithoutDurationTheShortDefaultsApply) {
  writeFile(dirs_.root() + "/plain.xml", "<StaticImageClip fileName=\"plain.png\"/>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "plain.xml"}});
  imageManager()->playNextClip();
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->getFadeInMs(), 128);
  EXPECT_EQ(clip->getDisplayMs(), 1000);
  EXPECT_EQ(clip->getFadeOutMs(), 128);
  EXPECT_EQ(app_.textures, std::vector<std::string>{"plain.png"});
  int frames = 0;
  while (app_.firstScreens == 0 && frames < 500) {
    app_.frame(16);
    ++frames;
  }
  EXPECT_EQ(app_.firstScreens, 1);
  EXPECT_LE(frames * 16, 1256 + 6 * 16);
}

TEST_F(LogoSequenceTest, FadeOutDefaultsToTheFadeInTime) {
  writeFile(dirs_.root() + "/half.xml",
            "<StaticImageClip fileName=\"x.png\"><Duration fadeIn=\"0.25\"/></StaticImageClip>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "half.xml"}});
  LogoSequenceManager* manager = imageManager();
  manager->playNextClip();
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->getFadeInMs(), 250);
  EXPECT_EQ(clip->getDisplayMs(), 3000);
  EXPECT_EQ(clip->getFadeOutMs(), 250);
  abandon(manager);
}

TEST_F(LogoSequenceTest, APressSkipsToTheNextLogoOnTheFollowingFrame) {
  writeFile(dirs_.root() + "/a.xml", "<StaticImageClip fileName=\"a.png\"/>");
  writeFile(dirs_.root() + "/b.xml", "<StaticImageClip fileName=\"b.png\"/>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "a.xml"},
                                {"IMAGE", dirs_.root() + "/", "b.xml"}});
  LogoSequenceManager* manager = imageManager();
  manager->playNextClip();
  app_.frame(16);
  app_.frame(16);
  PointingDeviceEvent press;
  press.kind = PointingDeviceEvent::Pressed;
  press.buttons = PointingDeviceEvent::Left;
  press.x = 600;
  press.y = 300;
  app_.states().back()->onPointingDeviceEvent(press);
  EXPECT_EQ(app_.textures.size(), 1u) << "the skip waits for the next frame";
  app_.frame(16);
  EXPECT_EQ(app_.textures, (std::vector<std::string>{"a.png", "b.png"}));
  ASSERT_EQ(app_.states().size(), 1u) << "the same clip plays the second logo";
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->getAlpha(), 0) << "the second logo starts dark again";
  EXPECT_EQ(app_.firstScreens, 0);
  abandon(manager);
}

// An unreadable logo file must not leave the start-up on a black screen, nor
// show the image of the logo before it.
TEST_F(LogoSequenceTest, AnUnreadableLogoEndsOnTheNextFrameWithoutAnImage) {
  writeFile(dirs_.root() + "/a.xml", "<StaticImageClip fileName=\"a.png\"/>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "a.xml"},
                                {"IMAGE", dirs_.root() + "/", "missing.xml"},
                                {"IMAGE", dirs_.root() + "/", "a.xml"}});
  LogoSequenceManager* manager = imageManager();
  manager->playNextClip();
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  for (int i = 0; i < 200 && clip->getTexture() && app_.firstScreens == 0; ++i) app_.frame(16);
  // Now on the missing file: nothing to show, and it ends on the next frame.
  EXPECT_EQ(clip->getTexture(), nullptr);
  EXPECT_FALSE(clip->hasFadeAction());
  RecordingGraphics g;
  clip->drawBackground(&g);
  EXPECT_TRUE(g.callsOf("drawImage").empty());
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.a, 255);
  app_.frame(16);
  EXPECT_NE(clip->getTexture(), nullptr) << "the third logo is playing";
  EXPECT_EQ(app_.firstScreens, 0);
  abandon(manager);
}

TEST_F(LogoSequenceTest, ImageIsDrawnOverBlackAtItsPositionWithTheFadeAlpha) {
  writeFile(dirs_.root() + "/a.xml",
            "<StaticImageClip fileName=\"a.png\"><Position x=\"40\" y=\"30\"/>"
            "<Duration fadeIn=\"1\" displayTime=\"1\" fadeOut=\"1\"/></StaticImageClip>");
  configureLogos(dirs_.root(), {{"IMAGE", dirs_.root() + "/", "a.xml"}});
  LogoSequenceManager* manager = imageManager();
  manager->playNextClip();
  auto* clip = dynamic_cast<StaticImageClip*>(app_.states().back());
  ASSERT_NE(clip, nullptr);
  for (int i = 0; i < 10; ++i) app_.frame(50);
  RecordingGraphics g;
  clip->drawBackground(&g);
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.r, 0);
  EXPECT_EQ(g.callsOf("fillRect")[0].color.a, 255);
  ASSERT_EQ(g.callsOf("drawImage").size(), 1u);
  EXPECT_EQ(g.callsOf("drawImage")[0].x, 40);
  EXPECT_EQ(g.callsOf("drawImage")[0].y, 30);
  EXPECT_EQ(g.callsOf("drawImage")[0].color.a, clip->getAlpha());
  EXPECT_GT(clip->getAlpha(), 0);
  EXPECT_LT(clip->getAlpha(), 255);
  abandon(manager);
}

TEST_F(LogoSequenceTest, AnAnimationClipWithoutAnAnimationEndsAndTheSequenceGoesOn) {
  configureLogos(dirs_.root(), {{"ANIMATION", dirs_.root() + "/", "none.xml"}});
  auto* manager = new LogoSequenceManager(100.0f);
  manager->registerCreator("ANIMATION", [](int id, VideoClipListener* l) -> VideoClip* {
    return new bge::AnimationPlayerClip(id, l);
  });
  manager->playNextClip();
  ASSERT_EQ(app_.states().size(), 1u);
  app_.frame(16);
  EXPECT_EQ(app_.firstScreens, 1);
  EXPECT_TRUE(app_.states().empty());
}

}  // namespace
