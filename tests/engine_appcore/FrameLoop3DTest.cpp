// The application's frame loop and the 3D mode: the core's pre-step, the 3D
// world's step from the frame time, the 3D frame and the context's re-init.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "AppCamera.h"
#include "AppCore.h"
#include "CountingObject.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Primitives3D.h"
#include "RecordingRenderable.h"
#include "SDLGameApp.h"
#include "Scene3D.h"
#include "TestEnv.h"
#include "Timer.h"
#include "xRenderingContext.h"

using Journal = std::vector<std::string>;
using namespace QuillonPHX2D;

namespace {

uint64_t g_now = 0;
uint64_t manualTicks() { return g_now; }

class RecordingCamera : public AppCamera {
 public:
  void setProjection(int width, int height) override {
    ++calls;
    w = width;
    h = height;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glOrtho(-1, 1, -1, 1, -1, 1);
  }
  int calls = 0;
  int w = 0;
  int h = 0;
  GLint matrixMode = 0;
};

// A hidden application window on the test display, its clock on manual ticks.
class FrameLoop3DTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousTicks_ = setTickSource(&manualTicks);
    g_now = 10000;
    app_.initSDL();
    app_.setDisplayMode(64, 48, false);
    app_.createWindow(SDL_WINDOW_HIDDEN);
    ASSERT_NE(app_.window(), nullptr);
    app_.setFrameLimit(false);
    *app_.getTimer() = Timer();
    app_.getTimer()->start();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    ASSERT_NE(app_.getAppCore(), nullptr);
  }
  void TearDown() override {
    setTickSource(previousTicks_);
    g_ptrSDK3D = nullptr;
  }
  // One frame that lasts ms on the application clock.
  void frame(int ms) {
    g_now += static_cast<uint64_t>(ms);
    ASSERT_TRUE(app_.runFrame());
  }

  testenv::TempUserDirs dirs_;
  Journal journal_;  // outlives the application, which deletes the core's objects
  SDLGameApp app_;
  TickSource previousTicks_ = nullptr;
};

}  // namespace

TEST_F(FrameLoop3DTest, WorldIsLeftAloneWhileTheGlobalIsNullThenStepsByTenthsOfTheFrame) {
  app_.getAppCore()->addObject(new CountingObject("A", journal_));
  app_.set3D(true);
  app_.setTimeScale(0.0f);  // the 2D world's scale; the 3D step ignores it

  // A sphere above a box; gravity is +y in this world.
  p3test::Scene3D scene;
  scene.shape(new xPrimitiveBox3D(Vec3(4, 1, 4)), nullptr, p3test::at(Vec3(0, 2, 0)));
  xBody3D* ball = scene.body(1.0f, Vec3(0.1f), p3test::at(Vec3(0.0f, -1.0f, 0)));
  scene.shape(new xPrimitiveSphere3D(0.5f), ball, p3test::at(Vec3(0.0f)));
  scene.start();
  g_ptrSDK3D = nullptr;  // created, but not (yet) the program's world

  frame(0);
  frame(16);
  EXPECT_EQ(scene.sdk.currentTick(), 0);
  EXPECT_EQ(ball->absPlacement().t.y, -1.0f);
  EXPECT_EQ(journal_, (Journal{"A:update", "A:update"}));  // the core itself ran

  // Driven by the loop alone in 1 ms frames (steps of 0.1), the sphere comes to
  // rest on the box's top face.
  g_ptrSDK3D = &scene.sdk;
  for (int i = 0; i < 300; ++i) frame(1);
  EXPECT_EQ(scene.sdk.currentTick(), 300);
  EXPECT_FLOAT_EQ(scene.sdk.timeStep(), 0.1f);
  ASSERT_TRUE(std::isfinite(ball->absPlacement().t.y));
  EXPECT_NEAR(ball->absPlacement().t.y, 1.0f, 0.05f);

  frame(0);
  EXPECT_FLOAT_EQ(scene.sdk.timeStep(), 0.01f);
  frame(7);
  EXPECT_FLOAT_EQ(scene.sdk.timeStep(), 0.7f);
  frame(250);  // the loop clamps the frame to 16 ms; the 3D step has no 1.33 cap
  EXPECT_FLOAT_EQ(scene.sdk.timeStep(), 1.6f);
  EXPECT_EQ(scene.sdk.currentTick(), 303);
}

TEST_F(FrameLoop3DTest, TwoDimensionalModeNeverReachesTheCoreOrTheWorld) {
  app_.getAppCore()->addObject(new CountingObject("A", journal_));
  RecordingRenderable shown;
  app_.getAppCore()->getRenderingContext()->addObject(&shown);
  RecordingCamera camera;
  app_.getAppCore()->setCamera(&camera);
  p3test::Scene3D scene;
  ASSERT_FALSE(app_.is3D());
  frame(16);
  frame(16);
  EXPECT_EQ(scene.sdk.currentTick(), 0);
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(shown.draws, 0);
  EXPECT_EQ(camera.calls, 0);
  app_.getAppCore()->getRenderingContext()->removeObject(&shown);
  app_.getAppCore()->setCamera(nullptr);
}

TEST_F(FrameLoop3DTest, ThreeDFrameUsesTheCameraAndDrawsTheContext) {
  app_.set3D(true);
  RecordingRenderable shown;
  shown.setPrimitiveCount(3);
  xRenderingContext* rc = app_.getAppCore()->getRenderingContext();
  rc->addObject(&shown);

  frame(16);
  EXPECT_EQ(shown.draws, 1);
  EXPECT_EQ(rc->getPrimitiveCount(), 3);
  EXPECT_EQ(rc->getObjectCount(), 1);

  RecordingCamera camera;
  app_.getAppCore()->setCamera(&camera);
  frame(16);
  EXPECT_EQ(shown.draws, 2);
  EXPECT_EQ(camera.calls, 1);
  EXPECT_EQ(camera.matrixMode, GL_PROJECTION);
  EXPECT_GT(camera.w, 0);
  EXPECT_GT(camera.h, 0);
  app_.getAppCore()->setCamera(nullptr);
  rc->removeObject(&shown);
}

TEST_F(FrameLoop3DTest, NewWindowsAndInitReinitialiseTheContextButNotTheTwoDClear) {
  xRenderingContext* rc = app_.getAppCore()->getRenderingContext();
  rc->setClearColor(Color(0, 0, 255, 9));
  app_.createWindow(SDL_WINDOW_HIDDEN);
  // The 2D screens keep the black background the window starts with.
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);
  EXPECT_EQ(clear[2], 0.0f);
  rc->render();  // a 3D frame of the new context clears with the colour it took
  GLubyte p[4] = {0, 0, 0, 0};
  glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  EXPECT_EQ(p[2], 255);
  EXPECT_EQ(p[0], 0);

  // The application's init starts the core afresh: objects gone, context set up.
  app_.getAppCore()->addObject(new CountingObject("A", journal_));
  rc->setClearColor(Color(0, 255, 0, 255));
  app_.init();
  EXPECT_EQ(journal_, (Journal{"A:deleted"}));
  EXPECT_EQ(app_.getAppCore()->getObjectCount(), 0);
  EXPECT_EQ(rc, app_.getAppCore()->getRenderingContext());
  rc->render();
  glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  EXPECT_EQ(p[1], 255);
  EXPECT_EQ(p[2], 0);
}
