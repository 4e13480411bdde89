// Dialogs from their files: the open/close life with its events, and the
// radio-button list's selection and drawing.
#include <gtest/gtest.h>

#include <vector>

#include "ResourceManager.h"
#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorWall.h"
#include "widgets/Dialog.h"
#include "widgets/DialogListener.h"
#include "widgets/Label.h"
#include "widgets/RadioButtonList.h"
#include "widgets/RadioButtonListListener.h"

using namespace widgettest;

namespace {

struct DialogLog : bge::DialogListener {
  std::vector<int> kinds;
  int resultAtClose = -2;
  int wallAlphaAtClose = -1;
  void onDialogEvent(int, int kind, bge::Dialog* dialog) override {
    kinds.push_back(kind);
    if (kind != bge::DialogListener::Closed) return;
    resultAtClose = dialog->getResult();
    if (dialog->getColorWall()) wallAlphaAtClose = dialog->getColorWall()->getAlpha();
  }
};

class WatchedDialog : public bge::Dialog {
 public:
  WatchedDialog(bge::DialogListener* listener, const std::string& file, ResourceManager* rm,
                int* deletions)
      : bge::Dialog(listener, file, rm, -1), deletions_(deletions) {}
  ~WatchedDialog() override { ++*deletions_; }

 private:
  int* deletions_;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openGL()) << SDL_GetError();
    root_ = dirs_.root() + "/";
    writeSolid(root_ + "panel.png", 40, 20);
    writeSolid(root_ + "button.png", 60, 30);
    const std::string anim =
        "<Scene name=\"d\" loop=\"0\" length=\"200\"><Screen Width=\"40\" Height=\"20\"/>"
        "<Object file=\"panel.png\" type=\"0\">"
        "<KeyFrame TimeStamp=\"0\" TypeInterpolator=\"0\" Type=\"0\" x=\"0\" y=\"0\" z=\"0\""
        " ScaleX=\"100\" ScaleY=\"100\" Angle=\"0\" Red=\"255\" Green=\"255\" Blue=\"255\" Alpha=\"0\"/>"
        "<KeyFrame TimeStamp=\"200\" TypeInterpolator=\"0\" Type=\"0\" x=\"0\" y=\"0\" z=\"0\""
        " ScaleX=\"100\" ScaleY=\"100\" Angle=\"0\" Red=\"255\" Green=\"255\" Blue=\"255\" Alpha=\"255\"/>"
        "</Object></Scene>";
    writeFile(root_ + "open.xml", anim);
    writeFile(root_ + "close.xml", anim);
    screen_.getWidgetManager()->setInputEnabled(true);
    screen_.addBackdrop();
  }
  std::string buttonXml(int id, int x) {
    return "<Button id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) +
           "\" y=\"10\" entryFadeDuration=\"0\"><Texture normal=\"" + root_ + "button.png\"/></Button>";
  }
  std::string dialogFile(const std::string& children) {
    return writeFile(root_ + "dialog.xml",
                     "<Dialog id=\"12\" rect=\"Rect(400, 300, 300, 200)\"><Animation open=\"" +
                         root_ + "open.xml\" close=\"" + root_ + "close.xml\"/>"
                         "<ColorWall color=\"Color(0, 0, 0, 200)\" fadeInTime=\"300\""
                         " rect=\"Rect(0, 0, 1366, 768)\"/>" + children + "<Unknown/></Dialog>");
  }
  void updateUntil(DialogLog& log, int kind) {
    for (int i = 0; i < 30 && std::find(log.kinds.begin(), log.kinds.end(), kind) == log.kinds.end(); ++i)
      screen_.update(100);
  }
  void send(int kind, int x, int y, int buttons = 0) {
    screen_.getWidgetManager()->handlePointerEvent(pointer(kind, x, y, buttons));
  }

  testenv::TempUserDirs dirs_;
  std::string root_;
  ResourceManager resources_;
  BareScreen screen_;
};

TEST_F(DialogTest, OpensLendsChildrenClosesOnReleaseAndIsDeletedAfterwards) {
  DialogLog log;
  int deletions = 0;
  auto* dialog = new WatchedDialog(&log, dialogFile(buttonXml(5, 20)), &resources_, &deletions);
  EXPECT_EQ(12, dialog->getDialogId());
  ASSERT_EQ(1u, dialog->getChildren().size());
  Widget* button = dialog->findChild(5);
  ASSERT_NE(nullptr, button);
  EXPECT_FLOAT_EQ(420, button->getX());  // moved by the dialog rectangle

  screen_.addWidget(dialog);
  EXPECT_EQ(std::vector<int>{2}, log.kinds);
  // It covers the whole design area, whatever its content rectangle.
  EXPECT_EQ(0, dialog->getX());
  EXPECT_EQ(1366, dialog->getWidth());
  EXPECT_EQ(768, dialog->getHeight());
  EXPECT_EQ(dialog, screen_.getWidgetManager()->findWidgetAt(1365, 767));
  EXPECT_FALSE(screen_.getWidgetManager()->contains(button));

  updateUntil(log, bge::DialogListener::Opened);
  EXPECT_EQ((std::vector<int>{2, 1}), log.kinds);
  EXPECT_TRUE(screen_.getWidgetManager()->contains(button));
  EXPECT_EQ(200, dialog->getColorWall()->getAlpha());

  send(PointingDeviceEvent::Pressed, 430, 320, PointingDeviceEvent::Left);
  send(PointingDeviceEvent::Released, 430, 320);
  EXPECT_EQ((std::vector<int>{2, 1, 2}), log.kinds);
  EXPECT_FALSE(screen_.getWidgetManager()->contains(button));
  EXPECT_EQ(5, dialog->getResult());

  // The close report comes from inside an update; the screen deletes the
  // dialog at the end of that same update, after its widgets have run.
  for (int i = 0; i < 30 && log.kinds.size() < 4; ++i) {
    screen_.update(100);
    EXPECT_EQ(log.kinds.size() == 4 ? 1 : 0, deletions);
  }
  EXPECT_EQ((std::vector<int>{2, 1, 2, 3}), log.kinds);
  EXPECT_EQ(5, log.resultAtClose);
  EXPECT_GE(log.wallAlphaAtClose, 0);
  EXPECT_LT(log.wallAlphaAtClose, 200);
  screen_.update(16);
  EXPECT_EQ(1, deletions);
}

TEST_F(DialogTest, SecondReleaseWhileClosingIsIgnored) {
  DialogLog log;
  int deletions = 0;
  auto* dialog = new WatchedDialog(&log, dialogFile(buttonXml(5, 20) + buttonXml(6, 120)),
                                   &resources_, &deletions);
  screen_.addWidget(dialog);
  updateUntil(log, bge::DialogListener::Opened);
  dialog->onButtonEvent(5, bge::ButtonListener::Released);
  dialog->onButtonEvent(6, bge::ButtonListener::Released);
  dialog->onButtonEvent(5, bge::ButtonListener::Pressed);
  EXPECT_EQ((std::vector<int>{2, 1, 2}), log.kinds);
  EXPECT_EQ(5, dialog->getResult());
  updateUntil(log, bge::DialogListener::Closed);
  for (int i = 0; i < 5; ++i) screen_.update(16);
  EXPECT_EQ((std::vector<int>{2, 1, 2, 3}), log.kinds);
  EXPECT_EQ(1, deletions);
}

TEST_F(DialogTest, DuplicateIdsKeepTheLaterChildOnly) {
  DialogLog log;
  bge::Dialog dialog(&log, dialogFile(buttonXml(5, 20) + buttonXml(5, 150)), &resources_, 3);
  EXPECT_EQ(3, dialog.getDialogId());  // a given id wins over the file's
  ASSERT_EQ(1u, dialog.getChildren().size());
  EXPECT_FLOAT_EQ(550, dialog.findChild(5)->getX());
}

TEST_F(DialogTest, UnreadableFileGivesAnEmptyDialogThatStillCoversAndOpens) {
  DialogLog log;
  auto* dialog = new bge::Dialog(&log, root_ + "absent.xml", &resources_, 8);
  EXPECT_TRUE(dialog->getChildren().empty());
  screen_.addWidget(dialog);
  EXPECT_EQ((std::vector<int>{2, 1}), log.kinds);  // no animation to wait for
  EXPECT_EQ(dialog, screen_.getWidgetManager()->findWidgetAt(700, 400));
}

TEST_F(DialogTest, ScreenGoingAwayWithAnOpenDialogFreesEverythingOnce) {
  DialogLog log;
  int deletions = 0;
  auto* screen = new BareScreen();
  screen->getWidgetManager()->setInputEnabled(true);
  screen->addWidget(new WatchedDialog(&log, dialogFile(buttonXml(5, 20)), &resources_, &deletions));
  for (int i = 0; i < 10; ++i) screen->update(100);
  ASSERT_EQ((std::vector<int>{2, 1}), log.kinds);
  delete screen;  // the dialog, its lent children and its animations all go
  EXPECT_EQ(1, deletions);
}

TEST(ColorWall, BlocksThePointerOnlyWhileItShows) {
  bge::ColorWall wall(1, Color(10, 20, 30, 200), 300);
  EXPECT_FALSE(wall.isEnabled());
  wall.startFadeIn();
  EXPECT_TRUE(wall.isEnabled());
  wall.update(150, nullptr);
  EXPECT_EQ(100, wall.getAlpha());
  wall.update(150, nullptr);
  EXPECT_EQ(200, wall.getAlpha());
  EXPECT_TRUE(wall.isEnabled());
  wall.fadeOut();
  wall.update(300, nullptr);
  EXPECT_EQ(0, wall.getAlpha());
  EXPECT_FALSE(wall.isEnabled());
}

struct SelectionLog : bge::RadioButtonListListener {
  std::vector<std::vector<int>> events;
  void onSelectionChanged(int list, int row, int initial) override {
    events.push_back({list, row, initial});
  }
};

bge::RadioButtonList* makeList(SelectionLog* log, Texture* texture, int layer) {
  auto* list = new bge::RadioButtonList(log, 4);
  list->setRect(300, 200, 200, 100);
  for (int i = 0; i < 2; ++i) {
    auto* box = new bge::CheckBox(nullptr, i, texture, texture, false);
    box->setPosition(10, 5 + i * 40);
    box->setZ(layer);
    list->addRow(new bge::RadioButtonListRow(i + 1, Rect5(0, i * 40, 200, 30), nullptr, box));
  }
  return list;
}

TEST(RadioButtonList, PressSelectsOneRowAndAPressBetweenRowsClearsAll) {
  AlphaTexture texture(20, 20);
  SelectionLog log;
  std::unique_ptr<bge::RadioButtonList> list(makeList(&log, &texture, 0));
  list->mousePressed(pointer(PointingDeviceEvent::Pressed, 350, 250));
  EXPECT_EQ(2, list->getSelectedRowId());
  list->mousePressed(pointer(PointingDeviceEvent::Pressed, 350, 205));
  EXPECT_EQ(1, list->getSelectedRowId());
  EXPECT_FALSE(list->findRow(2)->isChecked());
  list->mousePressed(pointer(PointingDeviceEvent::Pressed, 350, 235));  // the gap
  EXPECT_EQ(-1, list->getSelectedRowId());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 2, 0}, {4, 1, 0}}), log.events);
}

TEST(RadioButtonList, LayeredRowCheckBoxesKeepTheListOffset) {
  AlphaTexture texture(20, 20);
  SelectionLog log;
  BareScreen screen;
  bge::RadioButtonList* list = makeList(&log, &texture, 1);
  screen.addWidget(list);
  list->update(500, &screen);  // finish the entry fades
  RecordingGraphics g;
  screen.getWidgetManager()->draw(&g, &screen);
  ASSERT_EQ(2u, imagesOf(g).size());  // unchecked rows: only the normal images
  EXPECT_FLOAT_EQ(310, imagesOf(g)[0].x);
  EXPECT_FLOAT_EQ(205, imagesOf(g)[0].y);
  EXPECT_FLOAT_EQ(245, imagesOf(g)[1].y);
  EXPECT_FLOAT_EQ(1.0f, imagesOf(g)[0].depth);
  EXPECT_EQ(255, imagesOf(g)[0].color.a);
}

}  // namespace
