#pragma once
#include <functional>
#include <string>
#include <vector>

#include "widgets/ButtonListener.h"
#include "widgets/CheckBoxListener.h"
#include "widgets/LayoutWidgetFactory.h"
#include "widgets/RadioButtonListListener.h"
#include "widgets/SliderListener.h"

class ScreenBase;
class TiXmlElement;
class Widget;
namespace bge { class XmlReader; }

// The listener parts of a screen that its layout's widgets report to: each is
// set when the screen is that kind of listener.
template <typename Screen>
bge::LayoutContext layoutListeners(Screen* screen) {
  bge::LayoutContext context;
  context.buttons = dynamic_cast<bge::ButtonListener*>(screen);
  context.checkBoxes = dynamic_cast<bge::CheckBoxListener*>(screen);
  context.sliders = dynamic_cast<bge::SliderListener*>(screen);
  context.lists = dynamic_cast<bge::RadioButtonListListener*>(screen);
  return context;
}

// An element the widget factories do not know, for the screen to read itself.
using LayoutElementReader = std::function<void(const bge::XmlReader& xml, TiXmlElement* element)>;

// Reads a screen layout (root <Screen path="...">) and adds every widget it
// describes to the screen, which owns them. An empty name, a file that does
// not load or a missing root is reported naming the screen's class, and
// nothing is built. Returns the widgets made, in file order.
std::vector<Widget*> loadMenuLayout(ScreenBase* screen, const std::string& file, const char* className,
                                    bge::LayoutContext context, const LayoutElementReader& other = nullptr);

// Shows or hides a screen's controls (everything but its pictures and panels).
// A screen covered by another one hides them: our panels are see-through, and
// buttons and texts showing through a panel read as if they were part of it.
void showControls(const std::vector<Widget*>& widgets, bool shown);
