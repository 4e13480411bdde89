#include "Menus/MenuScreen.h"

#include <tinyxml.h>

#include "AssertReport.h"
#include "Color.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "GameApp.h"
#include "XmlAttributes.h"
#include "widgets/Button.h"

MenuScreen::MenuScreen(const std::string& className) : ScreenBase(""), className_(className) {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

bool MenuScreen::loadLayout(const std::string& fileName, bge::LayoutContext context) {
  if (fileName.empty()) {
    const std::string message = className_ + ": Filename is empty.";
    bge::assertReport(message.c_str(), "false", __FILE__, __LINE__);
    return false;
  }
  const bge::XmlReader xml(fileName);
  TiXmlDocument doc;
  if (!xml.load(doc)) {
    const std::string message = className_ + "::initFromXml: Xml load failed.";
    bge::assertReport(message.c_str(), "false", __FILE__, __LINE__);
    return false;
  }
  TiXmlElement* root = doc.FirstChildElement("Screen");
  if (!root) {
    const std::string message = className_ + "::initFromXml: Missing '" + className_ + "' node in xml file.";
    bge::assertReport(message.c_str(), "false", __FILE__, __LINE__);
    return false;
  }
  context.resources = getResourceManager();
  context.path = xml.readString(root, "path", "");
  context.buttons = this;
  for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
    Widget* widget = bge::createLayoutWidget(context, e);
    if (!widget) continue;
    layoutWidgets_.push_back(widget);
    if (auto* button = dynamic_cast<bge::Button*>(widget)) buttons_.push_back(button);
    addWidget(widget);
  }
  return true;
}

bge::Button* MenuScreen::findButton(int buttonId) const {
  for (bge::Button* b : buttons_)
    if (b->getButtonId() == buttonId) return b;
  return nullptr;
}

void MenuScreen::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound(kOverSound);
  } else if (kind == bge::ButtonListener::Released) {
    SfxContainer::instance()->playSound(kClickSound);
    onButtonClicked(buttonId);
  }
}

void MenuScreen::onExitTransitionDone(int code) {
  GameApp* app = app_ ? app_ : GameApp::instance();
  GameState* next = makeNextScreen(code);
  if (!app) {
    delete next;
    return;
  }
  app->finishState(this);
  // This screen may be gone from here on: only locals are used.
  if (next) app->changeState(next);
}
