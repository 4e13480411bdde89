// Screen files: layouts with every widget kind, dialogs, animations and the
// static-image logo. Each is built on a screen of its own, clicked, updated
// and drawn for a while, then torn down.
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "GameApp.h"
#include "PointingDeviceEvent.h"
#include "ScreenBase.h"
#include "Targets.h"
#include "XmlAttributes.h"
#include "VideoClips/StaticImageClip.h"
#include "Widget.h"
#include "animation/AnimationPlayer.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/SliderListener.h"
#include "widgets/RadioButtonListListener.h"
#include "widgets/Dialog.h"
#include "widgets/DialogListener.h"
#include "widgets/LayoutWidgetFactory.h"

namespace fuzz {

namespace {

// Frame times the application can hand out: normal frames, a stall, none.
const int kFrameTimes[] = {16, 16, 16, 1, 0, 16, 250, 16, 16, 5000, 16, 33};

class FuzzScreen : public ScreenBase,
                   public bge::ButtonListener,
                   public bge::CheckBoxListener,
                   public bge::SliderListener,
                   public bge::RadioButtonListListener,
                   public bge::DialogListener,
                   public AnimationPlayerListener {
 public:
  FuzzScreen() : ScreenBase("FuzzScreen") {}
  void prepare() override {}
  void init() override {}
  void onButtonEvent(int, int) override { ++events; }
  void onCheckBoxChanged(int, bool) override { ++events; }
  void onSliderChanged(int, float value) override { requireFinite(value, "a slider's value"); }
  void onSliderReleased(int, float value) override { requireFinite(value, "a slider's value"); }
  void onSelectionChanged(int, int, int) override { ++events; }
  void onDialogEvent(int, int kind, bge::Dialog* d) override {
    if (kind == bge::DialogListener::Closed && d == dialog) dialog = nullptr;
  }
  void animationFinished(int) override { ++events; }

  bge::Dialog* dialog = nullptr;
  int events = 0;
};

int clampToScreen(float v, int limit) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::min(std::max(v, -10.0f), static_cast<float>(limit) + 10.0f));
}

PointingDeviceEvent pointer(int kind, int x, int y) {
  PointingDeviceEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.buttons = kind == PointingDeviceEvent::Moved ? 0 : PointingDeviceEvent::Left;
  e.clicks = kind == PointingDeviceEvent::Pressed ? 1 : kind == PointingDeviceEvent::Released ? 1 : 0;
  return e;
}

// Moves over, presses and releases at the centre of every widget on the screen.
void clickEverything(ScreenBase& screen) {
  std::vector<std::pair<int, int>> spots;
  for (const Widget* w : screen.getWidgets()) {
    const Rect5& r = w->getGeometry();
    spots.emplace_back(clampToScreen(r.x + r.width * 0.5f, 1366), clampToScreen(r.y + r.height * 0.5f, 768));
  }
  for (const auto& spot : spots) {
    screen.onPointingDeviceEvent(pointer(PointingDeviceEvent::Moved, spot.first, spot.second));
    screen.onPointingDeviceEvent(pointer(PointingDeviceEvent::Pressed, spot.first, spot.second));
    screen.onPointingDeviceEvent(pointer(PointingDeviceEvent::Moved, spot.first + 7, spot.second));
    screen.onPointingDeviceEvent(pointer(PointingDeviceEvent::Released, spot.first + 7, spot.second));
  }
}

void runFrames(ScreenBase& screen, int rounds) {
  CheckingGraphics g;
  for (int round = 0; round < rounds; ++round) {
    for (int dt : kFrameTimes) {
      screen.update(dt);
      screen.render(&g);
    }
  }
}

}  // namespace

void fuzzScreenLayout(const uint8_t* data, size_t size) {
  bge::XmlReader xml("layout.xml");
  TiXmlDocument doc;
  xml.parse(doc, asText(data, size), TIXML_ENCODING_UTF8);
  TiXmlElement* root = doc.FirstChildElement("Screen");
  if (!root) return;
  FuzzScreen screen;
  screen.enter(GameApp::instance());
  // The game's own dispatch, as every screen builds its layout.
  bge::LayoutContext context;
  context.resources = screen.getResourceManager();
  context.path = xml.readString(root, "path", "");
  context.buttons = &screen;
  context.checkBoxes = &screen;
  context.sliders = &screen;
  context.lists = &screen;
  int built = 0;
  for (TiXmlElement* e = root->FirstChildElement(); e && built < 200; e = e->NextSiblingElement(), ++built) {
    if (Widget* widget = bge::createLayoutWidget(context, e)) screen.addWidget(widget);
  }
  runFrames(screen, 1);
  clickEverything(screen);
  runFrames(screen, 1);
}

void fuzzDialog(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "Dialog.xml");
  FuzzScreen screen;
  screen.enter(GameApp::instance());
  screen.dialog = new bge::Dialog(&screen, path, screen.getResourceManager(), -1);
  screen.addWidget(screen.dialog);
  runFrames(screen, 2);
  clickEverything(screen);
  runFrames(screen, 2);
}

void fuzzAnimation(const uint8_t* data, size_t size) {
  // Beside the links to the shipped animation images.
  const std::string path = writeInput(data, size, "animation.xml");
  FuzzScreen screen;
  screen.enter(GameApp::instance());
  AnimationPlayer* player = new AnimationPlayer(&screen);
  if (player->loadAnimation(0, path)) {
    player->play(0, 2.0f, 140, 560, &screen);
    runFrames(screen, 2);
    player->pause(0);
    runFrames(screen, 1);
    player->resume(0);
    player->stop(0);
    player->play(0, 1.0f, 10, 10, &screen);
    runFrames(screen, 1);
    player->detach(0, &screen);
    runFrames(screen, 1);
  }
  delete player;
}

namespace {
class ClipWatcher : public bge::VideoClipListener {
 public:
  void clipEvent(int, int code) override { ended = ended || code == Ended || code == Skipped; }
  bool ended = false;
};
}  // namespace

void fuzzStaticImageLogo(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "logo.xml");
  ClipWatcher watcher;
  bge::StaticImageClip clip(0, &watcher);
  clip.enter(GameApp::instance());
  clip.load(path);
  clip.play();
  CheckingGraphics g;
  // The longest fade a file can ask for is not waited out; a few seconds are.
  for (int frame = 0; frame < 400 && !watcher.ended; ++frame) {
    clip.update(frame == 200 ? 3000 : 16);
    clip.render(&g);
  }
  clip.onPointingDeviceEvent(pointer(PointingDeviceEvent::Pressed, 30, 30));
  clip.update(16);
  clip.render(&g);
}

}  // namespace fuzz
