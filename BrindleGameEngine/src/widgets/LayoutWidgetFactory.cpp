#include "widgets/LayoutWidgetFactory.h"

#include <tinyxml.h>

#include "XmlAttributes.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorWall.h"
#include "widgets/ImageWidget.h"
#include "widgets/Label.h"
#include "widgets/RadioButtonList.h"
#include "widgets/Slider.h"

namespace bge {

Widget* createLayoutWidget(const LayoutContext& context, TiXmlElement* element) {
  if (!element) return nullptr;
  const std::string& name = element->ValueStr();
  ResourceManager* resources = context.resources;
  if (name == "ImageWidget") return createImageWidgetFromXml(element, resources, context.path, nullptr);
  if (name == "Label" || name == "TextLabel") return createLabelFromXml(element, resources);
  if (name == "Button") return createButtonFromXml(context.buttons, element, resources, context.path);
  if (name == "Checkbox") {
    return createCheckBoxFromXml(context.checkBoxes, element, resources, context.path);
  }
  if (name == "Slider") return createSliderFromXml(context.sliders, element, resources, context.path);
  if (name == "RadioButtonList") {
    return createRadioButtonListFromXml(context.lists, element, resources, context.path);
  }
  if (name == "ColorWall") return ColorWall::fromXml(element);
  XmlReader::forDocumentOf(element, "layout").warn(element, "is no widget kind; left out");
  return nullptr;
}

}  // namespace bge
