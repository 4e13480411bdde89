#pragma once
// The shape every menu screen shares: widgets from a layout file, a sound on
// hover and on click, 256 ms black fades in and out, and leaving with a result
// code that picks the next screen at the end of the fade-out.
//
// To make a menu screen:
//   class OptionsMenu : public MenuScreen {
//    public:
//     OptionsMenu() : MenuScreen("OptionsMenu") {}
//     void init() override { loadLayout("content/images/menus/options/Screen.xml"); ... }
//     void onButtonClicked(int id) override { if (id == 0) leave(1); }
//     GameState* makeNextScreen(int code) override { return code == 1 ? new MainMenu(0) : nullptr; }
//   };
// The button sounds are played before onButtonClicked. makeNextScreen runs while
// the screen still exists; the screen is then popped (and deleted) and the next
// one handed to the application. A screen that must act after its own pop (the
// overlays that close the level below them) overrides onExitTransitionDone and
// copies what it needs into locals before calling finishState.
#include <string>
#include <vector>

#include "ScreenBase.h"
#include "widgets/ButtonListener.h"
#include "widgets/LayoutWidgetFactory.h"

class GameState;
class Widget;
namespace bge { class Button; }

class MenuScreen : public ScreenBase, public bge::ButtonListener {
 public:
  static constexpr int kFadeMs = 256;
  // The names of the two button sounds.
  static constexpr const char* kOverSound = "SFX_BTN_OVER";
  static constexpr const char* kClickSound = "SFX_BTN_CLICK";

  // The class name goes into the layout reader's error messages.
  explicit MenuScreen(const std::string& className);

  void prepare() override {}
  // Pointer over plays the over sound, a click plays the click sound and then
  // onButtonClicked; other events do nothing.
  void onButtonEvent(int buttonId, int kind) override;
  // Builds the next screen, pops this one, pushes the next.
  void onExitTransitionDone(int code) override;

  const std::string& className() const { return className_; }
  // Every widget the layout made, and the buttons among them (the screen owns them).
  const std::vector<Widget*>& layoutWidgets() const { return layoutWidgets_; }
  const std::vector<bge::Button*>& buttons() const { return buttons_; }
  // The first layout button with that id, or null.
  bge::Button* findButton(int buttonId) const;
  // Leaves through the fade-out with the code; input is off from here on.
  void leave(int code) { close(code, true); }

 protected:
  // Reads a layout whose root is Screen (its path attribute is the image folder)
  // and adds each widget the factories make. An empty name, a file that does not
  // load or a missing root is reported with the class name and builds nothing.
  // The context's resources, path and button listener are filled in; a screen
  // that has check boxes, sliders or lists passes those listeners in it.
  bool loadLayout(const std::string& fileName, bge::LayoutContext context = {});
  virtual void onButtonClicked(int buttonId) { (void)buttonId; }
  // The screen that follows a close with this code, or null for none; owned by the caller.
  virtual GameState* makeNextScreen(int code) { (void)code; return nullptr; }

 private:
  std::string className_;
  std::vector<Widget*> layoutWidgets_;  // not owned: the screen's widgets
  std::vector<bge::Button*> buttons_;   // not owned: the screen's widgets
};
