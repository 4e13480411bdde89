#pragma once
// The command bridge right of the field: the numbered images the panels hang on, the
// bridge buttons, the tower build buttons, the auto-send check box and the tower
// command panel. Built from its layout, it slides in at the level's start. The widgets
// belong to the screen; the bridge keeps them to find, show and hide, and tells what
// its buttons and its box do (the tower commands' own in TowerCommands).
#include <memory>
#include <string>
#include <vector>

class ImageWidget;
class LevelHud;
class LevelScreen;
class TinyAction;
class TowerCommandWidget;
class Widget;
class xBaseTowerEntity;
namespace bge {
class Button;
class CheckBox;
}

class LevelBridge {
 public:
  LevelBridge(LevelScreen& level, LevelHud& hud);
  ~LevelBridge();

  // Shows and enables a widget, or hides and disables it; null is left alone.
  static void show(Widget* widget, bool shown);

  // Builds the widgets of the layout file and the build buttons, and starts the
  // boot; false (with a report) when the layout gives nothing.
  bool initFromXml(const std::string& fileName);
  // One frame of the boot: the images follow their slides.
  void updateBoot(int dt);
  // Runs the boot to its end at once.
  void finishBoot();
  // The boot has ended: the build buttons, the commands and the auto-send box show.
  void showAfterBoot();
  bool ready() const { return ready_; }

  ImageWidget* findBridgeImage(int id) const;
  bge::Button* findCommandButton(int id) const;
  bge::Button* findTowerButton(int id) const;
  const std::vector<bge::Button*>& towerButtons() const { return towerButtons_; }
  // Shows and enables the bridge button, or hides and disables it.
  void showButton(int id, bool shown) const;
  // The send-wave button stands, as between waves.
  bool sendWaveOffered() const;
  // Whether the point lies on the bridge panel (the image without an id; a layout
  // without one counts its numbered strips).
  bool covers(int x, int y) const;

  // --- what the buttons and the box do ---
  // An event of any bridge widget the level hears: the bridge's own buttons here, the
  // build buttons and the tower panel's commands handed on to TowerCommands.
  void buttonEvent(int id, int event);
  // The auto-send box: ticked, the waiting wave goes at once and each next one follows
  // its last ship.
  void onAutoWaveToggled();
  bool autoNextWave() const { return autoNextWave_; }
  // The path and speed buttons, as their keys use them too.
  void showPaths(bool shown);
  void fastForward(bool on);

  TowerCommandWidget* commandWidget() const { return commandWidget_; }
  bge::CheckBox* autoWaveBox() const { return autoWaveBox_; }
  // The tower the command panel shows, and what selling it gives.
  xBaseTowerEntity* shownTower() const;
  double shownSellPrice() const;
  void hideTowerInfo();

 private:
  void addTowerButtons();
  void startBoot();
  void moveImages();

  LevelScreen& level_;
  LevelHud& hud_;
  std::vector<ImageWidget*> images_;        // not owned: the screen's widgets
  std::vector<bge::Button*> buttons_;       // not owned: the screen's widgets
  std::vector<bge::Button*> towerButtons_;  // not owned: the screen's widgets
  TowerCommandWidget* commandWidget_ = nullptr;  // not owned: the screen's widget
  bge::CheckBox* autoWaveBox_ = nullptr;         // not owned: the screen's widget
  // The vertical position the boot animation gives one numbered image.
  struct BootOffset {
    ImageWidget* image;  // not owned: the screen's widget
    float y;
  };
  std::vector<BootOffset> bootOffsets_;  // filled before the animation points into it
  std::unique_ptr<TinyAction> boot_;
  bool ready_ = false;
  bool autoNextWave_ = false;
};
