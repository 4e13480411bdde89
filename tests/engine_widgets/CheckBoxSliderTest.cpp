// Check boxes toggle on the press; sliders turn pointer positions into values.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "widgets/CheckBox.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/Slider.h"
#include "widgets/SliderListener.h"

using namespace widgettest;

namespace {

struct Recorder : bge::CheckBoxListener, bge::SliderListener {
  std::vector<bool> checks;
  std::vector<float> changes;
  std::vector<float> releases;
  void onCheckBoxChanged(int, bool checked) override { checks.push_back(checked); }
  void onSliderChanged(int, float v) override { changes.push_back(v); }
  void onSliderReleased(int, float v) override { releases.push_back(v); }
};

class ToggleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_.getWidgetManager()->setInputEnabled(true);
    screen_.addBackdrop();
  }
  void send(int kind, int x, int y, int buttons = 0) {
    screen_.getWidgetManager()->handlePointerEvent(pointer(kind, x, y, buttons));
  }
  BareScreen screen_;
  Recorder log_;
};

TEST_F(ToggleTest, CheckBoxTogglesOnEachPressOnly) {
  AlphaTexture normal(32, 32);
  AlphaTexture checked(16, 16);
  auto* box = new bge::CheckBox(&log_, 9, &normal, &checked, false);
  box->setPosition(10, 10);
  screen_.addWidget(box);
  for (int i = 0; i < 2; ++i) {
    send(PointingDeviceEvent::Pressed, 20, 20, PointingDeviceEvent::Left);
    send(PointingDeviceEvent::Released, 20, 20);
  }
  EXPECT_EQ((std::vector<bool>{true, false}), log_.checks);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(ToggleTest, CheckBoxDrawsBothImagesCentredInTheDisabledColour) {
  AlphaTexture normal(32, 32);
  AlphaTexture checked(16, 16);
  auto* box = new bge::CheckBox(&log_, 9, &normal, &checked, true);
  screen_.addWidget(box);
  box->setEnabled(false);
  RecordingGraphics g;
  box->draw(&g, &screen_);
  ASSERT_EQ(2u, imagesOf(g).size());
  EXPECT_FLOAT_EQ(0, imagesOf(g)[0].x);
  EXPECT_FLOAT_EQ(8, imagesOf(g)[1].x);  // the small checked image sits in the middle
  EXPECT_FLOAT_EQ(8, imagesOf(g)[1].y);
  for (const DrawnImage& image : imagesOf(g)) EXPECT_EQ(Color(128, 128, 128, 255), image.color);
}

TEST_F(ToggleTest, SliderFollowsThePointerAndClampsToItsTrack) {
  AlphaTexture track(220, 20);
  AlphaTexture thumb(20, 20);
  auto* slider = new bge::Slider(&log_, 1, &track, &track, &thumb, 0.0f, 200.0f);
  slider->setPosition(100, 50);
  screen_.addWidget(slider);

  send(PointingDeviceEvent::Pressed, 150, 55, PointingDeviceEvent::Left);
  EXPECT_FLOAT_EQ(40.0f, slider->getThumbPosition());
  send(PointingDeviceEvent::Moved, 1000, 55, PointingDeviceEvent::Left);
  send(PointingDeviceEvent::Moved, 20, 300, PointingDeviceEvent::Left);
  send(PointingDeviceEvent::Released, 20, 300);
  EXPECT_EQ((std::vector<float>{0.2f, 1.0f, 0.0f}), log_.changes);
  EXPECT_EQ((std::vector<float>{0.0f}), log_.releases);
  EXPECT_FALSE(slider->isDragging());

  // Moves without a press do not drag.
  send(PointingDeviceEvent::Moved, 200, 55);
  EXPECT_EQ(3u, log_.changes.size());
}

TEST_F(ToggleTest, SliderWithoutRoomReportsZeroNotNaN) {
  AlphaTexture track(40, 20);
  AlphaTexture thumb(20, 20);
  for (float maximum : {0.0f, -30.0f}) {
    log_.changes.clear();
    log_.releases.clear();
    bge::Slider slider(&log_, 1, &track, &track, &thumb, 0.0f, maximum);
    slider.mousePressed(pointer(PointingDeviceEvent::Pressed, 35, 5));
    slider.mouseReleased(pointer(PointingDeviceEvent::Released, 35, 5));
    ASSERT_EQ(1u, log_.changes.size());
    EXPECT_EQ(0.0f, log_.changes[0]) << maximum;
    EXPECT_EQ(0.0f, log_.releases[0]) << maximum;
    EXPECT_FALSE(std::isnan(slider.getValue()));
    EXPECT_GE(slider.getThumbPosition(), 0.0f);
  }
}

TEST_F(ToggleTest, SliderFadesInOverItsEntryDurationAndDrawsFillToTheThumb) {
  AlphaTexture track(220, 20);
  AlphaTexture fill(220, 20);
  AlphaTexture thumb(20, 20);
  auto* slider = new bge::Slider(&log_, 1, &track, &fill, &thumb, 60.0f, 200.0f);
  screen_.addWidget(slider);
  EXPECT_EQ(0, slider->getCurrentColor().a);
  slider->update(250, &screen_);
  EXPECT_NEAR(127, slider->getCurrentColor().a, 1);
  slider->update(250, &screen_);
  EXPECT_EQ(255, slider->getCurrentColor().a);

  RecordingGraphics g;
  slider->draw(&g, &screen_);
  ASSERT_EQ(3u, imagesOf(g).size());
  EXPECT_FLOAT_EQ(70.0f, imagesOf(g)[1].source.getWidth());  // half the thumb plus its position
  EXPECT_FLOAT_EQ(60.0f, imagesOf(g)[2].x);
}

}  // namespace
