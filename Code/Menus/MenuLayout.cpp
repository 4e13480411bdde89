#include "Menus/MenuLayout.h"

#include <tinyxml.h>

#include "AssertReport.h"
#include "ScreenBase.h"
#include "XmlAttributes.h"
#include "widgets/ImageWidget.h"

std::vector<Widget*> loadMenuLayout(ScreenBase* screen, const std::string& file, const char* className,
                                    bge::LayoutContext context, const LayoutElementReader& other) {
  std::vector<Widget*> made;
  const std::string name = className;
  if (!BGE_REPORT_MSG(!file.empty(), (name + ": Filename is empty.").c_str())) return made;
  const bge::XmlReader xml(file);
  TiXmlDocument doc;
  const std::string without = "; the " + name + " screen shows without its buttons and pictures";
  if (!BGE_ERROR_MSG(xml.load(doc), ("the layout file " + file + " cannot be read" + without).c_str())) return made;
  TiXmlElement* root = xml.root(doc, "Screen");
  if (!BGE_ERROR_MSG(root != nullptr, ("the layout file " + file + " holds no <Screen>" + without).c_str()))
    return made;
  context.resources = screen->getResourceManager();
  context.path = xml.readString(root, "path", "");
  for (TiXmlElement* element = root->FirstChildElement(); element; element = element->NextSiblingElement()) {
    static const char* const kWidgetKinds[] = {"ImageWidget", "Label", "TextLabel", "Button", "Checkbox",
                                               "Slider", "RadioButtonList", "ColorWall"};
    bool widgetKind = false;
    for (const char* kind : kWidgetKinds) widgetKind = widgetKind || element->ValueStr() == kind;
    if (!widgetKind) {
      if (other) other(xml, element);
      continue;
    }
    if (Widget* widget = bge::createLayoutWidget(context, element)) {
      screen->addWidget(widget);
      made.push_back(widget);
    }
  }
  return made;
}

void showControls(const std::vector<Widget*>& widgets, bool shown) {
  for (Widget* widget : widgets)
    if (widget && !dynamic_cast<ImageWidget*>(widget)) widget->setVisible(shown);
}
