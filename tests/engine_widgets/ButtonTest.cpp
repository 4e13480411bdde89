// Buttons in a screen's widget manager: event order, pixel hit tests, fades,
// and the layered pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Sound.h"
#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "widgets/Button.h"
#include "widgets/ButtonListener.h"

using namespace widgettest;

namespace {

struct ButtonLog : bge::ButtonListener {
  std::vector<std::pair<int, int>> events;
  void onButtonEvent(int id, int kind) override { events.emplace_back(id, kind); }
  std::vector<int> kinds(int id) const {
    std::vector<int> out;
    for (const auto& e : events)
      if (e.first == id) out.push_back(e.second);
    return out;
  }
};

struct CountingSound : Sound {
  int plays = 0;
  bool loadDeferred() override { return false; }
  void play() override { ++plays; }
  void playLooped(int) override {}
  void fadeIn(int, int) override {}
  void fadeOut(int) override {}
  void stop() override {}
  bool isPlaying() override { return false; }
};

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { screen_.getWidgetManager()->setInputEnabled(true); }
  void send(int kind, int x, int y, int buttons = 0) {
    screen_.getWidgetManager()->handlePointerEvent(pointer(kind, x, y, buttons));
  }
  bge::Button* addButton(int id, Texture* texture, int x, int y) {
    auto* button = new bge::Button(&log_, id, texture, nullptr, "", nullptr, Color::white);
    button->setPosition(x, y);
    screen_.addWidget(button);
    return button;
  }
  BareScreen screen_;
  ButtonLog log_;
};

TEST_F(ButtonTest, ClickReportsEnterPressReleaseThenLeave) {
  AlphaTexture texture(100, 40);
  CountingSound enter, press;
  addButton(7, &texture, 10, 10)->setSounds(&enter, &press);
  send(PointingDeviceEvent::Pressed, 50, 30, PointingDeviceEvent::Left);
  EXPECT_EQ(1, enter.plays);
  EXPECT_EQ(1, press.plays);
  send(PointingDeviceEvent::Released, 50, 30);
  EXPECT_EQ(1, press.plays);
  EXPECT_EQ((std::vector<int>{bge::ButtonListener::PointerEntered, bge::ButtonListener::Pressed,
                              bge::ButtonListener::Released, bge::ButtonListener::PointerLeft}),
            log_.kinds(7));
}

TEST_F(ButtonTest, TransparentPixelsAndPointsPastTheImageFallThrough) {
  AlphaTexture below(200, 100);
  // Left half clear, right half opaque.
  AlphaTexture above(64, 32, [](int x, int) { return x < 32 ? 0 : 255; });
  addButton(1, &below, 0, 0);
  bge::Button* top = addButton(2, &above, 20, 20);
  // Bigger than its image: the extra area has no pixels to hit.
  top->setSize(120, 32);

  send(PointingDeviceEvent::Pressed, 30, 30, PointingDeviceEvent::Left);  // clear pixel
  send(PointingDeviceEvent::Released, 30, 30);
  send(PointingDeviceEvent::Pressed, 110, 30, PointingDeviceEvent::Left);  // past the image
  send(PointingDeviceEvent::Released, 110, 30);
  EXPECT_TRUE(log_.kinds(2).empty());
  const std::vector<int> belowKinds = log_.kinds(1);
  EXPECT_EQ(2, static_cast<int>(std::count(belowKinds.begin(), belowKinds.end(),
                                           bge::ButtonListener::Pressed)));

  send(PointingDeviceEvent::Pressed, 60, 30, PointingDeviceEvent::Left);  // opaque pixel
  ASSERT_FALSE(log_.kinds(2).empty());
  EXPECT_EQ(bge::ButtonListener::Pressed, log_.kinds(2).back());
}

TEST_F(ButtonTest, BoxHitAndTexturelessButtonsUseTheRectangle) {
  AlphaTexture clear(40, 40, [](int, int) { return 0; });
  bge::Button* boxed = addButton(1, &clear, 0, 0);
  EXPECT_FALSE(boxed->hitTest(10, 10));
  boxed->setBoxHit(true);
  EXPECT_TRUE(boxed->hitTest(10, 10));
  EXPECT_FALSE(boxed->hitTest(40, 10));  // right edge is outside

  bge::Button* plain = addButton(2, nullptr, 100, 0);
  plain->setSize(30, 30);
  EXPECT_TRUE(plain->hitTest(100, 0));
  EXPECT_FALSE(plain->hitTest(130, 0));
}

TEST_F(ButtonTest, EntryFadeStartsFromNothingOnEveryAttach) {
  AlphaTexture texture(40, 40);
  bge::Button* button =
      new bge::Button(&log_, 3, &texture, nullptr, "Go", nullptr, Color(200, 220, 255, 180));
  EXPECT_EQ(0, button->getTextureColor().a);
  screen_.addWidget(button);
  button->update(1, &screen_);
  EXPECT_GT(button->getTextureColor().a, 0);
  EXPECT_LT(button->getTextureColor().a, 255);
  button->update(1, &screen_);
  EXPECT_EQ(255, button->getTextureColor().a);
  EXPECT_EQ(180, button->getCaptionColor().a);

  // Taken away and given back while fully visible: it fades in again and ends
  // at full alpha instead of wrapping past 255.
  screen_.removeWidget(button);
  screen_.addWidget(button);
  EXPECT_EQ(0, button->getTextureColor().a);
  for (int i = 0; i < 3; ++i) button->update(1, &screen_);
  EXPECT_EQ(255, button->getTextureColor().a);
  EXPECT_EQ(180, button->getCaptionColor().a);
}

TEST_F(ButtonTest, HoverFadesInAndOutAndDisabledHoverKeepsItsLook) {
  AlphaTexture texture(40, 40);
  bge::Button* button = addButton(4, &texture, 0, 0);
  button->setHoverFadeDuration(100);
  send(PointingDeviceEvent::Moved, 5, 5);
  EXPECT_TRUE(button->isHovered());
  button->update(50, &screen_);
  EXPECT_NEAR(127, button->getHoverColor().a, 1);
  button->update(50, &screen_);
  EXPECT_EQ(255, button->getHoverColor().a);
  // A build button has a picture and no hover picture: hovered, the picture stays
  // in sight, with nothing filled over it.
  RecordingGraphics hovered;
  button->draw(&hovered, &screen_);
  ASSERT_EQ(1u, imagesOf(hovered).size());
  EXPECT_EQ(&texture, imagesOf(hovered)[0].texture);
  EXPECT_TRUE(hovered.callsOf("fillRect").empty());
  send(PointingDeviceEvent::Moved, 300, 300);
  EXPECT_FALSE(button->isHovered());
  button->update(100, &screen_);
  EXPECT_EQ(0, button->getHoverColor().a);

  log_.events.clear();
  button->setEnabled(false);
  button->hoverWhenDisabled_ = true;
  send(PointingDeviceEvent::Moved, 5, 5);
  send(PointingDeviceEvent::Moved, 300, 300);
  EXPECT_EQ((std::vector<int>{bge::ButtonListener::PointerEntered,
                              bge::ButtonListener::PointerLeft}),
            log_.kinds(4));
  EXPECT_FALSE(button->isHovered());
  EXPECT_EQ(Color(128, 128, 128, 255), button->getTextureColor());
}

TEST_F(ButtonTest, LayeredButtonsDrawInTheLayerPassAtTheirLayerDepth) {
  AlphaTexture texture(40, 40);
  bge::Button* flat = addButton(1, &texture, 10, 10);
  bge::Button* layered = addButton(2, &texture, 100, 50);
  layered->setZ(3);
  EXPECT_EQ(3, layered->getLayer());
  RecordingGraphics g;
  g.setDepth(0.5f);
  screen_.getWidgetManager()->draw(&g, &screen_);
  ASSERT_EQ(2u, imagesOf(g).size());
  // The flat one draws in the first pass; the layered one after, at depth 3.
  EXPECT_FLOAT_EQ(10, imagesOf(g)[0].x);
  EXPECT_FLOAT_EQ(0.5f, imagesOf(g)[0].depth);
  EXPECT_FLOAT_EQ(100, imagesOf(g)[1].x);
  EXPECT_FLOAT_EQ(50, imagesOf(g)[1].y);
  EXPECT_FLOAT_EQ(3.0f, imagesOf(g)[1].depth);
  EXPECT_FLOAT_EQ(0.5f, g.getDepth());
  (void)flat;
}

TEST_F(ButtonTest, PressEffectShrinksOnlyWhilePressedAndRestoresTheCaption) {
  AlphaTexture texture(80, 40);
  FixedFont font;
  auto* button = new bge::Button(&log_, 5, &texture, &texture, "OK", &font, Color::white);
  button->setPressEffect(true);
  screen_.addWidget(button);
  const Rect5 before = button->getCaptionRect();
  RecordingGraphics g;
  button->mousePressed(pointer(PointingDeviceEvent::Pressed, 1, 1));
  button->draw(&g, &screen_);
  EXPECT_TRUE(contains(turnsAndScalesOf(g), "scale 0.750000 0.750000"));
  // The shrunken image stays centred, and the transform is whole again afterwards.
  ASSERT_EQ(2u, imagesOf(g).size());
  EXPECT_FLOAT_EQ(10, imagesOf(g)[0].x);
  EXPECT_FLOAT_EQ(5, imagesOf(g)[0].y);
  EXPECT_NEAR(0, g.offsetX(), 1e-4);
  EXPECT_NEAR(0, g.offsetY(), 1e-4);
  EXPECT_NEAR(1, g.scaleX(), 1e-6);
  EXPECT_FLOAT_EQ(before.x, button->getCaptionRect().x);
  EXPECT_FLOAT_EQ(before.width, button->getCaptionRect().width);
  ASSERT_EQ(1u, font.drawn.size());
  EXPECT_EQ("OK", font.drawn[0].text);
}

}  // namespace
