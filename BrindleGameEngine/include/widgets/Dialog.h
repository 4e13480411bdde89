#pragma once
#include <map>
#include <memory>
#include <string>

#include "Rect5.h"
#include "Widget.h"
#include "animation/AnimationListener.h"
#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"

class AnimationPlayer;
class ResourceManager;
class Sound;
class TiXmlElement;

namespace bge {

class ColorWall;
class DialogListener;

// A modal box from its own XML file. Added to a screen it covers the design
// area, plays its open animation and then lends its children to the screen's
// widget manager; the release of one of its buttons closes it with that
// button's id, plays the close animation and has the screen delete it.
class Dialog : public Widget, public AnimationPlayerListener, public ButtonListener,
               public CheckBoxListener {
 public:
  static constexpr int kOpenAnimation = 0;
  static constexpr int kCloseAnimation = 1;

  Dialog(DialogListener* listener, const std::string& fileName, ResourceManager* resources,
         int dialogId);
  ~Dialog() override;

  void onAttached() override;
  void onDetached() override;
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;

  void animationFinished(int id) override;
  void onButtonEvent(int buttonId, int kind) override;
  void onCheckBoxChanged(int /*id*/, bool /*checked*/) override {}

  void setButtonSounds(Sound* hover, Sound* click) {
    hoverSound_ = hover;
    clickSound_ = click;
  }
  int getResult() const { return result_; }
  int getDialogId() const { return dialogId_; }
  const Rect5& getContentRect() const { return rect_; }
  AnimationPlayer* getAnimationPlayer() const { return player_.get(); }
  ColorWall* getColorWall() const { return wall_.get(); }
  const std::map<int, std::unique_ptr<Widget>>& getChildren() const { return children_; }
  Widget* findChild(int id) const;
  bool isOpen() const { return open_; }
  bool isClosing() const { return closing_; }

 private:
  void read(TiXmlElement* root, ResourceManager* resources);
  void storeChild(int id, Widget* widget);
  void lendChildren();
  void takeChildrenBack();
  ScreenBase* ownerScreen() const;

  int dialogId_;
  int result_ = -1;
  Rect5 rect_;
  // Declared first: it goes last, after the wall and the children.
  std::unique_ptr<AnimationPlayer> player_;
  DialogListener* listener_;  // not owned: whoever opened the dialog
  std::unique_ptr<ColorWall> wall_;
  Sound* hoverSound_ = nullptr;  // not owned: the screen's resources
  Sound* clickSound_ = nullptr;  // not owned: the screen's resources
  // Owned here even while lent to the screen's widget manager.
  std::map<int, std::unique_ptr<Widget>> children_;
  bool open_ = false;
  bool closing_ = false;
  bool closed_ = false;
};

}  // namespace bge
