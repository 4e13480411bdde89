#pragma once
#include <string>

#include "ScreenBase.h"
#include "animation/AnimationListener.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/DialogListener.h"
#include "widgets/RadioButtonListListener.h"
#include "widgets/SliderListener.h"

class AnimationPlayer;
class TiXmlElement;
class Widget;
namespace bge {
class Dialog;
class XmlReader;
}

// A test fixture for the engine's layout widgets, built from its layout file:
// a button that opens a dialog, a slider for the sound volume, a music check
// box, a radio list of difficulties, labels, a background image and a looping
// animation.
class LayoutDemoScreen : public ScreenBase,
                         public bge::ButtonListener,
                         public bge::CheckBoxListener,
                         public bge::SliderListener,
                         public bge::RadioButtonListListener,
                         public bge::DialogListener,
                         public AnimationPlayerListener {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/demo/Screen.xml";
  static constexpr const char* kDialogFile = "content/images/menus/demo/Dialog.xml";
  // Ids in the layout file.
  static constexpr int kOpenDialogButton = 1;
  static constexpr int kVolumeSlider = 1;
  static constexpr int kMusicCheckBox = 1;
  static constexpr int kDifficultyList = 1;

  LayoutDemoScreen();
  ~LayoutDemoScreen() override;

  void prepare() override;
  void init() override;
  // Escape leaves the screen.
  void onKeyEvent(const KeyEvent& event) override;
  void onExitTransitionDone(int exitCode) override;

  void onButtonEvent(int buttonId, int kind) override;
  void onCheckBoxChanged(int id, bool checked) override;
  void onSliderChanged(int id, float value) override;
  void onSliderReleased(int id, float value) override;
  void onSelectionChanged(int listId, int rowId, int initial) override;
  void onDialogEvent(int dialogId, int kind, bge::Dialog* dialog) override;
  void animationFinished(int id) override { (void)id; }

  bge::Dialog* getDialog() const { return dialog_; }
  int getLastDialogResult() const { return lastDialogResult_; }
  int getDifficulty() const { return difficulty_; }
  int getSoundVolume() const { return soundVolume_; }
  bool isMusicOn() const { return musicOn_; }
  int getWidgetsBuilt() const { return widgetsBuilt_; }

 private:
  void loadLayout(const std::string& file);
  // Gives a layout widget its sounds and settings, then shows it.
  void adoptWidget(Widget* widget);
  void playAnimationElement(const bge::XmlReader& xml, TiXmlElement* element);
  void setSoundVolume(float value);
  void setMusic(bool on);
  void openDialog();

  AnimationPlayer* animations_ = nullptr;
  int nextAnimationId_ = 0;
  bge::Dialog* dialog_ = nullptr;
  int lastDialogResult_ = -1;
  int difficulty_ = -1;
  int soundVolume_ = 128;
  bool musicOn_ = false;
  std::string track_;
  int widgetsBuilt_ = 0;
};
