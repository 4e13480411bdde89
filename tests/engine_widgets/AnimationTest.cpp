// Keyframe animations loaded from files and played through AnimationPlayer.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "ScreenBase.h"
#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "animation/Animation2D.h"
#include "animation/AnimationElement2D.h"
#include "animation/AnimationPlayer.h"
#include "animation/MathFunction.h"

using namespace widgettest;

namespace {

struct Frame {
  int time;
  float x;
  float z = 0.0f;
  float angle = 0.0f;
  float scaleX = 100.0f;
  int alpha = 255;
};

std::string object(const std::vector<Frame>& frames, const char* file = "dot.png",
                   int interpolator = 0) {
  std::ostringstream out;
  out << "<Object file=\"" << file << "\" type=\"0\">";
  for (const Frame& f : frames) {
    out << "<KeyFrame TimeStamp=\"" << f.time << "\" TypeInterpolator=\"" << interpolator
        << "\" Type=\"0\" x=\"" << f.x << "\" y=\"5\" z=\"" << f.z << "\" ScaleX=\"" << f.scaleX
        << "\" ScaleY=\"100\" Angle=\"" << f.angle << "\" Red=\"255\" Green=\"255\" Blue=\"255\""
        << " Alpha=\"" << f.alpha << "\"/>";
  }
  out << "</Object>";
  return out.str();
}

std::string scene(int length, const std::string& objects, int loop = 0, int loopCount = -1) {
  std::ostringstream out;
  out << "<Scene name=\"test\" loop=\"" << loop << "\" loopCount=\"" << loopCount
      << "\" length=\"" << length << "\"><Screen Width=\"300\" Height=\"200\"/>" << objects
      << "</Scene>";
  return out.str();
}

class AnimationTest : public ::testing::Test, public AnimationPlayerListener {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openGL()) << SDL_GetError();
    writeSolid(dirs_.root() + "/dot.png", 20, 10);
  }
  std::string file(const std::string& name, const std::string& xml) {
    return writeFile(dirs_.root() + "/" + name, xml);
  }
  void animationFinished(int id) override {
    finished_.push_back(id);
    if (stopOnFinish_) player_.stop(id);
  }
  // Runs n updates of ms each on the animation.
  void run(Animation2D* animation, int n, int ms = 100) {
    for (int i = 0; i < n; ++i) animation->update(ms, nullptr);
  }

  testenv::TempUserDirs dirs_;
  AnimationPlayer player_{this};
  std::vector<int> finished_;
  bool stopOnFinish_ = false;
};

TEST_F(AnimationTest, MovesLinearlyThenHoldsForTheRestOfItsLengthAndReportsOnce) {
  ASSERT_TRUE(player_.loadAnimation(4, file("a.xml", scene(1500, object({{0, 0}, {1000, 100}})))));
  Animation2D* animation = player_.find(4);
  ASSERT_NE(nullptr, animation);
  EXPECT_EQ(300, animation->getWidth());
  EXPECT_TRUE(player_.play(4, 0.0f, 0, 0, nullptr));
  AnimationElement2D* element = animation->getElements()[0];

  std::vector<float> xs;
  int reportedAt = -1;
  for (int i = 0; i < 40; ++i) {
    animation->update(100, nullptr);
    xs.push_back(element->x);
    if (reportedAt < 0 && !finished_.empty()) reportedAt = i;
  }
  // Ten equal steps of 10, one per 100 ms.
  size_t first = 0;
  while (first < xs.size() && xs[first] == 0.0f) ++first;
  ASSERT_LE(first + 10, xs.size());
  for (int k = 0; k < 10; ++k) EXPECT_NEAR(10.0f * (k + 1), xs[first + k], 1e-3) << k;
  EXPECT_FLOAT_EQ(100.0f, xs.back());
  // The hold of 500 ms comes after the movement, then the one report.
  EXPECT_GE(reportedAt, static_cast<int>(first) + 9 + 5);
  EXPECT_LE(reportedAt, static_cast<int>(first) + 9 + 7);
  EXPECT_EQ(std::vector<int>{4}, finished_);
}

TEST_F(AnimationTest, PauseHoldsEveryValueAndResumeContinuesWithoutAJump) {
  ASSERT_TRUE(player_.loadAnimation(1, file("a.xml", scene(1000, object({{0, 0}, {1000, 100}})))));
  player_.play(1, 0.0f, 0, 0, nullptr);
  Animation2D* animation = player_.find(1);
  AnimationElement2D* element = animation->getElements()[0];
  while (element->x < 30.0f) animation->update(100, nullptr);
  player_.pause(1);
  run(animation, 20);
  EXPECT_FLOAT_EQ(30.0f, element->x);
  player_.resume(1);
  animation->update(100, nullptr);
  EXPECT_FLOAT_EQ(40.0f, element->x);
}

TEST_F(AnimationTest, LoopCountsDecideWhenAndWhetherTheEndIsReported) {
  const std::string twice = file("twice.xml", scene(200, object({{0, 0}, {200, 50}}), 1, 2));
  const std::string forever = file("ever.xml", scene(200, object({{0, 0}, {200, 50}}), 1, -1));
  ASSERT_TRUE(player_.loadAnimation(1, twice));
  ASSERT_TRUE(player_.loadAnimation(2, forever));
  player_.play(1, 0.0f, 0, 0, nullptr);
  player_.play(2, 0.0f, 0, 0, nullptr);
  AnimationElement2D* element = player_.find(1)->getElements()[0];
  int passes = 0;
  float last = 0.0f;
  for (int i = 0; i < 60 && finished_.empty(); ++i) {
    player_.find(1)->update(100, nullptr);
    if (element->x < last) ++passes;  // went back to the start
    last = element->x;
  }
  EXPECT_EQ(std::vector<int>{1}, finished_);
  EXPECT_EQ(1, passes);  // reported at the end of the second pass
  run(player_.find(1), 20);
  run(player_.find(2), 200);
  EXPECT_EQ(std::vector<int>{1}, finished_);
}

TEST_F(AnimationTest, FileValuesTurnScaleAndOrderTheElements) {
  const std::string objects = object({{0, 10, 2.7f, 90.0f, 50.0f}}) +
                              object({{0, 20, 2.2f}}) + object({{0, 30, 1.0f}}) +
                              // The second frame at 0 ms is ignored.
                              object({{0, 40, 3.0f}, {0, 99, 3.0f}});
  ASSERT_TRUE(player_.loadAnimation(2, file("a.xml", scene(100, objects))));
  const auto& elements = player_.find(2)->getElements();
  ASSERT_EQ(4u, elements.size());
  EXPECT_FLOAT_EQ(30, elements[0]->x);  // depth 1 behind
  EXPECT_FLOAT_EQ(10, elements[1]->x);  // 2.7 and 2.2 keep their file order
  EXPECT_FLOAT_EQ(20, elements[2]->x);
  EXPECT_FLOAT_EQ(40, elements[3]->x);
  EXPECT_EQ(1u, elements[3]->getKeyFrameCount());
  EXPECT_FLOAT_EQ(-90.0f, elements[1]->angle);

  BareScreen screen;
  ASSERT_TRUE(player_.play(2, 10.0f, 100, 50, &screen));
  Animation2D* animation = player_.find(2);
  EXPECT_TRUE(screen.getWidgetManager()->contains(animation));
  EXPECT_FALSE(animation->isEnabled());
  EXPECT_FLOAT_EQ(100, animation->getX());
  animation->update(16, &screen);
  EXPECT_FLOAT_EQ(12.7f, elements[1]->z);  // the depth offset is added

  RecordingGraphics g;
  screen.getWidgetManager()->draw(&g, &screen);
  ASSERT_EQ(4u, imagesOf(g).size());
  // Half width about the centre: a 20-wide image at x 10 starts 5 further in.
  EXPECT_FLOAT_EQ(100 + 10 + 5, imagesOf(g)[1].x);
  EXPECT_TRUE(contains(turnsAndScalesOf(g), "rotate -90"));
  // Played again while still on the screen, it is not added twice.
  player_.stop(2);
  player_.play(2, 10.0f, 100, 50, &screen);
  int copies = 0;
  for (Widget* w : screen.getWidgetManager()->widgets()) copies += w == animation;
  EXPECT_EQ(1, copies);
}

TEST_F(AnimationTest, BadFilesRegisterNothing) {
  const std::string noLength =
      "<Scene name=\"x\" loop=\"0\"><Screen Width=\"1\" Height=\"1\"/></Scene>";
  const std::string noAlpha =
      "<Scene name=\"x\" loop=\"0\" length=\"5\"><Screen Width=\"1\" Height=\"1\"/>"
      "<Object file=\"dot.png\" type=\"0\"><KeyFrame TimeStamp=\"0\" TypeInterpolator=\"0\""
      " Type=\"0\" x=\"0\" y=\"0\" z=\"0\" ScaleX=\"1\" ScaleY=\"1\" Angle=\"0\" Red=\"1\""
      " Green=\"1\" Blue=\"1\"/></Object></Scene>";
  EXPECT_FALSE(player_.loadAnimation(1, file("1.xml", noLength)));
  EXPECT_FALSE(player_.loadAnimation(1, file("2.xml", noAlpha)));
  EXPECT_FALSE(player_.loadAnimation(1, file("3.xml", scene(5, object({{0, 0}}, "dot.png", 3)))));
  EXPECT_FALSE(player_.loadAnimation(1, file("4.xml", scene(5, object({{0, 0}}, "none.png")))));
  EXPECT_FALSE(player_.loadAnimation(1, file("5.xml", "not xml at all <")));
  EXPECT_FALSE(player_.loadAnimation(1, dirs_.root() + "/absent.xml"));
  EXPECT_EQ(nullptr, player_.find(1));
  EXPECT_TRUE(player_.loadAnimation(1, file("6.xml", scene(5, object({{0, 0}})))));
  // A taken id keeps its animation.
  EXPECT_TRUE(player_.loadAnimation(1, file("7.xml", scene(5, object({{0, 77}})))));
  EXPECT_FLOAT_EQ(0, player_.find(1)->getElements()[0]->x);
  ASSERT_NE(nullptr, player_.findTimeFunction(0));
  EXPECT_FLOAT_EQ(6.0f, player_.findTimeFunction(0)->evaluate(10.0f));
}

TEST_F(AnimationTest, StopFromTheEndReportIsSafeAndResetsToTheFirstFrame) {
  // Two elements: the report comes from inside the update of the last one.
  ASSERT_TRUE(player_.loadAnimation(3, file("a.xml", scene(300, object({{0, 5}, {300, 60}}) +
                                                                    object({{0, 7}, {300, 90}})))));
  stopOnFinish_ = true;
  player_.play(3, 0.0f, 0, 0, nullptr);
  Animation2D* animation = player_.find(3);
  run(animation, 20);
  EXPECT_EQ(std::vector<int>{3}, finished_);
  EXPECT_EQ(0u, animation->getActionCount());
  EXPECT_FALSE(animation->isPlaying());
  EXPECT_FLOAT_EQ(5, animation->getElements()[0]->x);
  EXPECT_FLOAT_EQ(7, animation->getElements()[1]->x);
  // And it plays again from the start.
  stopOnFinish_ = false;
  EXPECT_TRUE(player_.play(3, 0.0f, 0, 0, nullptr));
  run(animation, 20);
  EXPECT_EQ((std::vector<int>{3, 3}), finished_);
}

TEST_F(AnimationTest, SceneWithoutObjectsStillEndsAfterItsLength) {
  ASSERT_TRUE(player_.loadAnimation(6, file("empty.xml", scene(300, ""))));
  player_.play(6, 0.0f, 0, 0, nullptr);
  run(player_.find(6), 2);
  EXPECT_TRUE(finished_.empty());
  run(player_.find(6), 3);
  EXPECT_EQ(std::vector<int>{6}, finished_);
}

TEST_F(AnimationTest, AnimationOnAScreenOutlivesItsPlayerSafely) {
  BareScreen screen;
  {
    AnimationPlayer player(this);
    ASSERT_TRUE(player.loadAnimation(1, file("a.xml", scene(300, object({{0, 0}, {300, 30}})))));
    ASSERT_TRUE(player.play(1, 0.0f, 0, 0, &screen));
  }
  // The textures went with the player: nothing is drawn or reported any more.
  RecordingGraphics g;
  for (int i = 0; i < 10; ++i) screen.update(100);
  screen.getWidgetManager()->draw(&g, &screen);
  EXPECT_TRUE(imagesOf(g).empty());
  EXPECT_TRUE(finished_.empty());
}

TEST_F(AnimationTest, DetachLetsTheScreenDeleteTheAnimation) {
  BareScreen screen;
  ASSERT_TRUE(player_.loadAnimation(1, file("a.xml", scene(300, object({{0, 0}})))));
  ASSERT_TRUE(player_.play(1, 0.0f, 0, 0, &screen));
  Animation2D* animation = player_.find(1);
  player_.detach(1, &screen);
  EXPECT_EQ(nullptr, player_.find(1));
  EXPECT_FALSE(screen.getWidgetManager()->contains(animation));
  screen.update(16);
  player_.stop(1);  // the id is gone: nothing happens
}

TEST_F(AnimationTest, AnimationDeletedWithItsScreenLeavesThePlayer) {
  ASSERT_TRUE(player_.loadAnimation(1, file("a.xml", scene(300, object({{0, 0}})))));
  ASSERT_TRUE(player_.loadAnimation(2, file("b.xml", scene(300, object({{0, 0}})))));
  {
    BareScreen screen;
    ASSERT_TRUE(player_.play(1, 0.0f, 0, 0, &screen));
    ASSERT_TRUE(player_.play(1, 0.0f, 0, 0, &screen));  // played again while shown
  }
  // The screen deleted what it showed; the player still has, and will delete, the other.
  EXPECT_EQ(nullptr, player_.find(1));
  EXPECT_NE(nullptr, player_.find(2));
  ASSERT_TRUE(player_.loadAnimation(1, file("c.xml", scene(300, object({{0, 77}})))));
  EXPECT_FLOAT_EQ(77, player_.find(1)->getElements()[0]->x) << "the id was free again";
}


TEST_F(AnimationTest, DistantKeyFramesBuildAtOnce) {
  // Two frames almost 25 days apart: finding the next frame must not walk the gap.
  ASSERT_TRUE(player_.loadAnimation(
      1, file("far.xml", scene(2000000000, object({{0, 0}, {2000000000, 100}})))));
  EXPECT_TRUE(player_.play(1, 0.0f, 0, 0, nullptr));
  AnimationElement2D* element = player_.find(1)->getElements()[0];
  EXPECT_EQ(2000000000, element->getLastTime());
  EXPECT_EQ(nullptr, element->keyFrameAfter(2000000000));
  EXPECT_NE(nullptr, element->keyFrameAfter(1999999999));
}

}  // namespace
