// The 3D rendering context on a real GL context: clear colour, object placement,
// counts, scissoring, debug aids and the lifetime of its (unowned) objects.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "Color.h"
#include "RecordingRenderable.h"
#include "xRenderingContext.h"

namespace {

constexpr int kW = 1366;
constexpr int kH = 768;

// One window and context for the whole program, made current before each test:
// other suites in this program open application windows of their own.
class RenderingContextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (window_) return;
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow("rc", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kW, kH,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr) << SDL_GetError();
  }

  void SetUp() override {
    ASSERT_NE(context_, nullptr);
    SDL_GL_MakeCurrent(window_, context_);
    glViewport(0, 0, kW, kH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
  }

  // The colour at design position (x, y), top-left origin.
  static Color pixel(int x, int y) {
    GLubyte p[4] = {0, 0, 0, 0};
    glReadPixels(x, kH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Color(p[0], p[1], p[2], 255);
  }

  static SDL_Window* window_;
  static SDL_GLContext context_;
};
SDL_Window* RenderingContextTest::window_ = nullptr;
SDL_GLContext RenderingContextTest::context_ = nullptr;

xRenderPose poseAt(float x, float y, float z, float qx = 0, float qy = 0, float qz = 0, float qw = 1) {
  xRenderPose p;
  p.qx = qx;
  p.qy = qy;
  p.qz = qz;
  p.qw = qw;
  p.x = x;
  p.y = y;
  p.z = z;
  return p;
}

}  // namespace

TEST_F(RenderingContextTest, ThreeDFramesClearOpaqueWithTheColourTakenAtInit) {
  // The 2D screens' clear colour, which the 3D context must leave alone.
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  xRenderingContext rc;
  EXPECT_EQ(rc.getClearColor(), Color(255, 0, 0, 32));
  rc.init();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint shade = 0;
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  EXPECT_EQ(shade, GL_SMOOTH);

  rc.render();
  // The colour's own alpha is not used: the frame is cleared opaque red.
  GLubyte p[4] = {0, 0, 0, 0};
  glReadPixels(kW / 2, kH / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[1], 0);
  EXPECT_EQ(p[2], 0);
  EXPECT_EQ(p[3], 255);
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);  // the 2D clear is still black
  EXPECT_EQ(clear[3], 0.0f);

  // A new colour shows from the next init on.
  rc.setClearColor(Color(0, 51, 255, 7));
  rc.render();
  EXPECT_EQ(pixel(kW / 2, kH / 2), Color(255, 0, 0, 255));
  rc.init();
  rc.render();
  EXPECT_EQ(pixel(kW / 2, kH / 2), Color(0, 51, 255, 255));
}

TEST_F(RenderingContextTest, ObjectsArePlacedByPositionRotationAndScale) {
  xRenderingContext rc;
  const float s = std::sqrt(0.5f);
  RecordingRenderable plain(poseAt(1, 2, 3));
  plain.setScale(2, 3, 4);
  plain.setPrimitiveCount(5);
  RecordingRenderable quarterTurn(poseAt(0, 0, 0, 0, 0, s, s));  // 90 degrees about z
  quarterTurn.setPrimitiveCount(7);
  // A w that rounded past 1 must not turn into a NaN rotation.
  RecordingRenderable rounded(poseAt(0, 0, 0, 1e-4f, 0, 0, 1.0000001f));
  RecordingRenderable hidden(poseAt(9, 9, 9));
  hidden.setVisible(false);
  hidden.setPrimitiveCount(100);
  rc.addObject(&plain);
  rc.addObject(&hidden);
  rc.addObject(&quarterTurn);
  rc.addObject(&rounded);
  rc.addObject(&plain);  // already listed
  rc.init();
  rc.render();

  const float expected[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plain.modelView[i], expected[i]) << i;
  EXPECT_NEAR(quarterTurn.modelView[0], 0.0f, 1e-5f);
  EXPECT_NEAR(quarterTurn.modelView[1], 1.0f, 1e-5f);
  EXPECT_NEAR(quarterTurn.modelView[4], -1.0f, 1e-5f);
  EXPECT_NEAR(quarterTurn.modelView[5], 0.0f, 1e-5f);
  for (int i = 0; i < 16; ++i) {
    ASSERT_TRUE(std::isfinite(rounded.modelView[i])) << i;
    EXPECT_NEAR(rounded.modelView[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-6f) << i;
  }
  EXPECT_EQ(hidden.draws, 0);
  EXPECT_EQ(plain.draws, 1);
  EXPECT_EQ(rc.getPrimitiveCount(), 12);  // the hidden object's 100 do not count
  EXPECT_EQ(rc.getObjectCount(), 4);      // but the object does

  // Each frame counts afresh, and the matrix stack is left as it was.
  rc.render();
  EXPECT_EQ(rc.getPrimitiveCount(), 12);
  GLfloat mv[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(mv[i], (i % 5 == 0) ? 1.0f : 0.0f);
}

TEST_F(RenderingContextTest, RotationAngleIsClampedAndZeroMeansNoRotation) {
  float angle = -1.0f;
  const float identity[4] = {0, 0, 0, 1};
  EXPECT_FALSE(xRenderingContext::rotationOf(identity, angle));
  EXPECT_EQ(angle, 0.0f);
  const float over[4] = {0, 0, 0, 1.0000002f};
  EXPECT_FALSE(xRenderingContext::rotationOf(over, angle));
  EXPECT_EQ(angle, 0.0f);
  const float under[4] = {0, 0, 0, -1.0000002f};  // a full turn without an axis
  EXPECT_FALSE(xRenderingContext::rotationOf(under, angle));
  EXPECT_NEAR(angle, 360.0f, 1e-3f);
  const float half[4] = {0, 1, 0, 0};
  EXPECT_TRUE(xRenderingContext::rotationOf(half, angle));
  EXPECT_FLOAT_EQ(angle, 180.0f);
}

TEST_F(RenderingContextTest, ScissorKeepsTheClearInsideTheViewportAndIsSwitchedOffAfter) {
  glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  xRenderingContext rc;
  rc.init();  // clears to red from now on
  rc.setScissorEnabled(true);
  rc.setViewport(Rect5(100.0f, 50.0f, 200.0f, 100.0f));
  RecordingRenderable probe;
  rc.addObject(&probe);
  rc.render();

  // Bottom-left origin in window pixels: y = 768 - (50 + 100).
  EXPECT_TRUE(probe.scissorOn);
  EXPECT_EQ(probe.scissorBox[0], 100);
  EXPECT_EQ(probe.scissorBox[1], 618);
  EXPECT_EQ(probe.scissorBox[2], 200);
  EXPECT_EQ(probe.scissorBox[3], 100);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(pixel(150, 100), Color(255, 0, 0, 255));
  EXPECT_EQ(pixel(10, 10), Color(0, 255, 0, 255));
  EXPECT_EQ(pixel(150, 160), Color(0, 255, 0, 255));

  // Scale factors scale the box; fractional results are truncated.
  int box[4];
  xRenderingContext::scissorBox(Rect5(10.0f, 20.0f, 30.0f, 40.0f), 1.5f, 0.5f, box);
  EXPECT_EQ(box[0], 15);
  EXPECT_EQ(box[1], 354);  // (768 - 60) * 0.5
  EXPECT_EQ(box[2], 45);
  EXPECT_EQ(box[3], 20);
}

TEST_F(RenderingContextTest, DebugAidsDrawAxesAndGridsThenRestoreTheObjectState) {
  glMatrixMode(GL_PROJECTION);
  glOrtho(-200, 200, -200, 200, -1000, 1000);
  glMatrixMode(GL_MODELVIEW);
  xRenderingContext rc;
  rc.setClearColor(Color(0, 0, 0, 255));
  rc.init();
  rc.setDebugDrawing(true);
  RecordingRenderable probe(poseAt(-150, -150, 0));
  rc.addObject(&probe);
  rc.render();

  // Objects draw lit and filled after the debug pass.
  EXPECT_EQ(probe.draws, 1);
  EXPECT_TRUE(probe.lightingOn);
  EXPECT_EQ(probe.polygonMode, GL_FILL);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

  // Window position of world (x, y) under this projection, top-left origin.
  auto at = [](float x, float y) {
    return std::make_pair(static_cast<int>((x + 200.0f) / 400.0f * kW),
                          static_cast<int>((200.0f - y) / 400.0f * kH));
  };
  // The thick axes show beside the thin grid line that shares their position.
  auto seen = [&](float x, float y, int dx, int dy, const Color& want) {
    const auto p = at(x, y);
    for (int k = -4; k <= 4; ++k) {
      if (pixel(p.first + k * dx, p.second + k * dy) == want) return true;
    }
    return false;
  };
  EXPECT_TRUE(seen(50, 0, 0, 1, Color(0, 255, 255, 255)));   // x axis, cyan
  EXPECT_TRUE(seen(0, 50, 1, 0, Color(255, 0, 255, 255)));   // y axis, magenta
  EXPECT_TRUE(seen(150, 100, 0, 1, Color(15, 215, 17, 255)));  // a grid line
  EXPECT_TRUE(seen(100, 150, 1, 0, Color(15, 215, 17, 255)));
  EXPECT_EQ(pixel(at(-100, 100).first, at(-100, 100).second), Color(0, 0, 0, 255));

  // Without the flag nothing but the clear colour is left there.
  rc.setDebugDrawing(false);
  rc.render();
  EXPECT_FALSE(seen(50, 0, 0, 1, Color(0, 255, 255, 255)));
}

TEST_F(RenderingContextTest, ObjectsLeaveTheirContextWhenDestroyedOrMoved) {
  xRenderingContext first;
  auto* doomed = new RecordingRenderable();
  RecordingRenderable kept;
  first.addObject(doomed);
  first.addObject(&kept);
  delete doomed;
  EXPECT_EQ(first.getObjectListSize(), 1);
  first.render();  // draws only the living object
  EXPECT_EQ(first.getObjectCount(), 1);
  EXPECT_EQ(kept.draws, 1);

  {
    xRenderingContext second;
    second.addObject(&kept);  // moves
    EXPECT_EQ(first.getObjectListSize(), 0);
    EXPECT_EQ(second.getObjectListSize(), 1);
    EXPECT_EQ(kept.getContext(), &second);
  }
  // The context went first; the object no longer names it.
  EXPECT_EQ(kept.getContext(), nullptr);
  first.removeObject(&kept);  // not listed there: nothing happens
  EXPECT_EQ(first.getObjectListSize(), 0);
}
