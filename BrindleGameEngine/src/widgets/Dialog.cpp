#include "widgets/Dialog.h"

#include <tinyxml.h>

#include <cstdio>

#include "DesignSize.h"
#include "ScreenBase.h"
#include "Sound.h"
#include "WidgetManager.h"
#include "animation/AnimationPlayer.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorWall.h"
#include "widgets/DialogListener.h"
#include "widgets/Label.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"

namespace bge {

Dialog::Dialog(DialogListener* listener, const std::string& fileName, ResourceManager* resources,
               int dialogId)
    : dialogId_(dialogId), player_(std::make_unique<AnimationPlayer>(this)), listener_(listener) {
  const XmlReader xml(fileName);
  TiXmlDocument doc;
  if (!xml.load(doc, TIXML_ENCODING_LEGACY)) return;
  if (TiXmlElement* root = xml.root(doc, "Dialog")) read(root, resources);
}

// The children, the wall and then the player go with the members.
Dialog::~Dialog() { takeChildrenBack(); }

void Dialog::read(TiXmlElement* root, ResourceManager* resources) {
  const bge::XmlReader xml = layout::readerFor(root);
  if (dialogId_ == -1) dialogId_ = xml.readInt(root, "id", -1);
  rect_ = xml.readRect(root, "rect", Rect5());
  if (TiXmlElement* animation = root->FirstChildElement("Animation")) {
    const std::string open = xml.readString(animation, "open", "");
    const std::string close = xml.readString(animation, "close", "");
    if (!open.empty()) player_->loadAnimation(kOpenAnimation, open);
    if (!close.empty()) player_->loadAnimation(kCloseAnimation, close);
  }
  for (TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    const std::string name = child->ValueStr();
    if (name == "ColorWall") {
      wall_.reset(ColorWall::fromXml(child));
    } else if (name == "Label") {
      if (Label* label = createLabelFromXml(child, resources)) {
        storeChild(label->getLayoutId(), label);
      }
    } else if (name == "Button") {
      if (Button* button = createButtonFromXml(this, child, resources, std::string())) {
        storeChild(button->getButtonId(), button);
      }
    } else if (name == "Checkbox") {
      if (CheckBox* box = createCheckBoxFromXml(this, child, resources, std::string())) {
        storeChild(box->getCheckBoxId(), box);
      }
    }
  }
}

void Dialog::storeChild(int id, Widget* widget) {
  widget->moveBy(static_cast<int>(rect_.x), static_cast<int>(rect_.y));
  // The later element takes the id; the earlier widget is not shown, so it goes.
  children_[id].reset(widget);
}

Widget* Dialog::findChild(int id) const {
  auto it = children_.find(id);
  return it == children_.end() ? nullptr : it->second.get();
}

ScreenBase* Dialog::ownerScreen() const {
  return getManager() ? getManager()->getOwner() : nullptr;
}

void Dialog::onAttached() {
  setRect(0, 0, bge::kDesignWidth, bge::kDesignHeight);
  ScreenBase* screen = ownerScreen();
  const bool animated = player_->play(kOpenAnimation, 100.0f, static_cast<int>(rect_.x),
                                      static_cast<int>(rect_.y), screen);
  if (wall_) wall_->startFadeIn();
  if (listener_) listener_->onDialogEvent(dialogId_, DialogListener::AnimationStarted, this);
  // Without an open animation there is nothing to wait for.
  if (!animated) animationFinished(kOpenAnimation);
}

void Dialog::onDetached() {
  takeChildrenBack();
  player_->detach(kCloseAnimation, ownerScreen());
}

void Dialog::lendChildren() {
  WidgetManager* manager = getManager();
  if (!manager) return;
  for (auto& entry : children_) manager->addWidget(entry.second.get(), false);
}

void Dialog::takeChildrenBack() {
  for (auto& entry : children_) {
    if (WidgetManager* manager = entry.second->getManager()) manager->removeWidget(entry.second.get());
  }
}

void Dialog::animationFinished(int id) {
  if (id == kOpenAnimation) {
    if (open_ || closing_) return;
    open_ = true;
    lendChildren();
    if (listener_) listener_->onDialogEvent(dialogId_, DialogListener::Opened, this);
  } else if (id == kCloseAnimation) {
    if (closed_) return;
    closed_ = true;
    if (listener_) listener_->onDialogEvent(dialogId_, DialogListener::Closed, this);
    if (ScreenBase* screen = ownerScreen()) screen->removeWidgetLater(this);
  }
}

void Dialog::onButtonEvent(int buttonId, int kind) {
  if (kind == ButtonListener::PointerEntered) {
    if (hoverSound_) hoverSound_->play();
    return;
  }
  if (kind != ButtonListener::Released) return;
  // A release that arrives while closing would remove the dialog twice.
  if (closing_) return;
  closing_ = true;
  open_ = false;
  result_ = buttonId;
  if (clickSound_) clickSound_->play();
  takeChildrenBack();
  ScreenBase* screen = ownerScreen();
  const bool animated = player_->play(kCloseAnimation, 1.0f, static_cast<int>(rect_.x),
                                      static_cast<int>(rect_.y), screen);
  player_->detach(kOpenAnimation, screen);
  if (wall_) wall_->fadeOut();
  if (listener_) listener_->onDialogEvent(dialogId_, DialogListener::AnimationStarted, this);
  if (!animated) animationFinished(kCloseAnimation);
}

void Dialog::update(int dt, ScreenBase* screen) {
  if (wall_) wall_->update(dt, screen);
}

void Dialog::draw(Graphics* graphics, ScreenBase* screen) {
  if (wall_) wall_->draw(graphics, screen);
}

}  // namespace bge
