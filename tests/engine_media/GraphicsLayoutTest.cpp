#include <gtest/gtest.h>

#include <cmath>

#include "FakeResources.h"
#include "GLGraphics.h"
#include "RecordingGraphics.h"

namespace {

void expectRegion(const GraphicsCall& c, float l, float t, float r, float b) {
  EXPECT_FLOAT_EQ(c.source.left, l);
  EXPECT_FLOAT_EQ(c.source.top, t);
  EXPECT_FLOAT_EQ(c.source.right, r);
  EXPECT_FLOAT_EQ(c.source.bottom, b);
}

TEST(GraphicsFrames, StripAndGridFramesSelectTheirRegion) {
  RecordingGraphics g;
  FakeTexture strip(256, 64, 256, 64);
  g.drawFrameH(10, 20, 4, 1, &strip, Color::white);
  ASSERT_EQ(g.calls.size(), 1u);
  expectRegion(g.calls[0], 64, 0, 127, 63);
  EXPECT_EQ(g.calls[0].x, 10);
  EXPECT_EQ(g.calls[0].y, 20);
  EXPECT_EQ(g.calls[0].w, 63);  // |right - left|, so one texel short of the frame
  EXPECT_EQ(g.calls[0].h, 63);

  FakeTexture column(32, 128, 32, 128);
  g.calls.clear();
  g.drawFrameV(0, 0, 4, 3, &column, Color::white);
  expectRegion(g.calls.at(0), 0, 96, 31, 127);

  FakeTexture grid(300, 200, 512, 256);
  g.calls.clear();
  g.drawFrame(0, 0, 3, 2, 4, &grid, Color::white, true);  // column 1, row 1
  expectRegion(g.calls.at(0), 100, 100, 199, 199);
  g.calls.clear();
  g.drawFrame(0, 0, 3, 2, 4, &grid, Color::white, false);  // column 2, row 0
  expectRegion(g.calls.at(0), 200, 0, 299, 99);
}

TEST(GraphicsFrames, DegenerateFrameCountsAndMissingTexturesDrawNothing) {
  RecordingGraphics g;
  FakeTexture t(64, 64, 64, 64);
  g.drawFrameH(0, 0, 0, 0, &t, Color::white);
  g.drawFrameV(0, 0, 0, 0, &t, Color::white);
  g.drawFrame(0, 0, 0, 2, 1, &t, Color::white, true);
  g.drawFrame(0, 0, 2, 0, 1, &t, Color::white, false);
  g.drawFrameH(0, 0, 2, 0, nullptr, Color::white);
  g.drawImage(0, 0, nullptr, Color::white);
  g.drawImageOutline(0, 0, nullptr, Color::white, 2, 0.5f);
  g.drawImageOutlineTextured(0, 0, &t, nullptr, 2, 0.5f);
  EXPECT_TRUE(g.calls.empty());
}

TEST(GraphicsFrames, WholeImageOverloadsUseTheImageSizeNotTheStorage) {
  RecordingGraphics g;
  FakeTexture t(100, 60, 128, 64);
  g.drawImage(5, 6, &t, Color(1, 2, 3, 4));
  ASSERT_EQ(g.calls.size(), 1u);
  expectRegion(g.calls[0], 0, 0, 100, 60);
  EXPECT_EQ(g.calls[0].w, 100);
  EXPECT_EQ(g.calls[0].h, 60);
  EXPECT_EQ(g.calls[0].color, Color(1, 2, 3, 4));

  g.calls.clear();
  g.drawImageOutline(1, 2, &t, Color::cyan, 3, 0.25f);
  ASSERT_EQ(g.calls.size(), 1u);
  EXPECT_EQ(g.calls[0].op, "drawImageOutline");
  expectRegion(g.calls[0], 0, 0, 100, 60);
  EXPECT_EQ(g.calls[0].w, 100);
  EXPECT_EQ(g.calls[0].extra, 3);

  g.calls.clear();
  g.fillRect(Rect5(1.9f, -2.7f, 10.5f, 4.99f), Color::black);
  ASSERT_EQ(g.calls.size(), 1u);
  EXPECT_EQ(g.calls[0].x, 1);  // truncated towards zero
  EXPECT_EQ(g.calls[0].y, -2);
  EXPECT_EQ(g.calls[0].w, 10);
  EXPECT_EQ(g.calls[0].h, 4);
}

TEST(GraphicsGeometry, CirclePointsTurnClockwiseOnScreen) {
  const auto right = Graphics::circlePoint(10, 20, 5, 5, 0);
  EXPECT_FLOAT_EQ(right.x, 15);
  EXPECT_FLOAT_EQ(right.y, 20);
  const auto down = Graphics::circlePoint(10, 20, 5, 5, 90);
  EXPECT_NEAR(down.x, 10, 1e-5);
  EXPECT_NEAR(down.y, 25, 1e-5);  // y grows downwards
  const auto ellipse = Graphics::circlePoint(0, 0, 4, 2, 270);
  EXPECT_NEAR(ellipse.y, -2, 1e-5);
}

TEST(GraphicsGeometry, ScissorMapsDesignRectanglesToWindowPixels) {
  int box[4];
  GLGraphics::scissorBox(0, 0, 1366, 768, 1920.0f / 1366, 1080.0f / 768, box);
  EXPECT_EQ(box[0], 0);
  EXPECT_EQ(box[1], 0);
  EXPECT_EQ(box[2], 1920);
  EXPECT_EQ(box[3], 1080);
  GLGraphics::scissorBox(100, 700, 50, 68, 1.0f, 1.0f, box);
  EXPECT_EQ(box[0], 100);
  EXPECT_EQ(box[1], 0);  // bottom of the design space is window y 0
  EXPECT_EQ(box[3], 68);
  GLGraphics::scissorBox(10, 10, 20, 20, 0.5f, 0.5f, box);
  EXPECT_EQ(box[1], 369);  // (768 - 30) * 0.5
}

}  // namespace
