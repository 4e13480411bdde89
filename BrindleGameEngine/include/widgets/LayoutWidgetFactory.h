#pragma once
#include <string>

class ResourceManager;
class TiXmlElement;
class Widget;

namespace bge {

class ButtonListener;
class CheckBoxListener;
class RadioButtonListListener;
class SliderListener;

// What the widgets of one screen layout are built with. Listeners are not
// owned and may be null (the widget then reports to no one).
struct LayoutContext {
  ResourceManager* resources = nullptr;  // not owned; textures and fonts are shared through it
  std::string path;                      // folder the layout's texture names are relative to
  ButtonListener* buttons = nullptr;
  CheckBoxListener* checkBoxes = nullptr;
  SliderListener* sliders = nullptr;
  RadioButtonListListener* lists = nullptr;
};

// The one element -> widget dispatch of screen layouts: ImageWidget, Label
// (or TextLabel), Button, Checkbox, Slider, RadioButtonList and ColorWall.
// The caller owns the widget. Null for an element of another kind (with a
// message naming file and element) or one its factory could not build.
Widget* createLayoutWidget(const LayoutContext& context, TiXmlElement* element);

}  // namespace bge
