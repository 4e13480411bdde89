#include "widgets/RadioButtonList.h"

#include <tinyxml.h>

#include <algorithm>

#include "Graphics.h"
#include "PointingDeviceEvent.h"
#include "WidgetManager.h"
#include "widgets/CheckBox.h"
#include "widgets/Label.h"
#include "widgets/LayoutReading.h"
#include "XmlAttributes.h"
#include "widgets/RadioButtonListListener.h"

namespace bge {

RadioButtonListRow::RadioButtonListRow(int rowId, const Rect5& rect, Label* label,
                                       CheckBox* checkBox)
    : rowId_(rowId), rect_(rect), checkBox_(checkBox), label_(label) {
  if (checkBox_) checkBox_->onAttached();
}

RadioButtonListRow::~RadioButtonListRow() = default;

void RadioButtonListRow::setChecked(bool checked) {
  if (checkBox_) checkBox_->setChecked(checked);
}

bool RadioButtonListRow::isChecked() const { return checkBox_ && checkBox_->isChecked(); }

RadioButtonList::RadioButtonList(RadioButtonListListener* listener, int listId)
    : listId_(listId), listener_(listener) {}

void RadioButtonList::addRow(RadioButtonListRow* row) { rows_.emplace_back(row); }

RadioButtonListRow* RadioButtonList::findRow(int rowId) const {
  for (const auto& row : rows_) {
    if (row->getRowId() == rowId) return row.get();
  }
  return nullptr;
}

void RadioButtonList::setAllChecked(bool checked) {
  for (const auto& row : rows_) row->setChecked(checked);
}

int RadioButtonList::getSelectedRowId() const {
  for (const auto& row : rows_) {
    if (row->isChecked()) return row->getRowId();
  }
  return -1;
}

void RadioButtonList::mousePressed(const PointingDeviceEvent& event) {
  const int x = static_cast<int>(event.x - getX());
  const int y = static_cast<int>(event.y - getY());
  RadioButtonListRow* hit = nullptr;
  for (const auto& row : rows_) {
    if (row->getRect().contains(x, y)) {
      hit = row.get();
      break;
    }
  }
  setAllChecked(false);
  if (hit && listener_) {
    hit->setChecked(true);
    listener_->onSelectionChanged(listId_, hit->getRowId(), 0);
  }
}

void RadioButtonList::update(int dt, ScreenBase* screen) {
  for (const auto& row : rows_) {
    if (row->getLabel()) row->getLabel()->update(dt, screen);
    if (row->getCheckBox()) row->getCheckBox()->update(dt, screen);
  }
}

void RadioButtonList::draw(Graphics* g, ScreenBase* screen) {
  if (!g) return;
  int layer = 0;
  for (const auto& row : rows_) {
    if (Label* label = row->getLabel()) {
      g->pushMatrix();
      g->translate(label->getX(), label->getY());
      label->draw(g, screen);
      g->popMatrix();
    }
    CheckBox* box = row->getCheckBox();
    if (!box) continue;
    if (box->getLayer() >= 1) {
      // The manager would translate by the box's own position only; queuing
      // the list keeps the list's position under the box.
      layer = std::max(layer, box->getLayer());
      continue;
    }
    g->pushMatrix();
    g->translate(box->getX(), box->getY());
    box->draw(g, screen);
    g->popMatrix();
  }
  if (layer > 0 && getManager()) getManager()->addToLayer(this, layer);
}

void RadioButtonList::drawLayer(Graphics* g, ScreenBase* screen) {
  if (!g) return;
  for (const auto& row : rows_) {
    CheckBox* box = row->getCheckBox();
    if (!box || box->getLayer() < 1) continue;
    g->pushMatrix();
    g->translate(box->getX(), box->getY());
    box->drawLayer(g, screen);
    g->popMatrix();
  }
}

RadioButtonList* createRadioButtonListFromXml(RadioButtonListListener* listener,
                                              TiXmlElement* element, ResourceManager* resources,
                                              const std::string& path) {
  if (!element || !resources) return nullptr;
  const bge::XmlReader xml = layout::readerFor(element);
  const int listId = xml.readInt(element, "id", -1);
  RadioButtonList* list = new RadioButtonList(listener, listId);
  list->setRect(xml.readInt(element, "x", 0), xml.readInt(element, "y", 0),
                xml.readInt(element, "width", 0), xml.readInt(element, "height", 0));
  const int selected = xml.readInt(element, "selectedRowId", 0);

  for (TiXmlElement* rowElement = element->FirstChildElement("Row"); rowElement;
       rowElement = rowElement->NextSiblingElement("Row")) {
    CheckBox* box = createCheckBoxFromXml(nullptr, rowElement->FirstChildElement("Checkbox"),
                                          resources, path);
    if (!box) continue;
    // Row fonts come from the application's catalogue, or the screen's own.
    Label* label = createLabelFromXml(rowElement->FirstChildElement("Label"), resources);
    const Rect5 rect(xml.readInt(rowElement, "x", 0), xml.readInt(rowElement, "y", 0),
                     xml.readInt(rowElement, "width", 0),
                     xml.readInt(rowElement, "height", 0));
    list->addRow(new RadioButtonListRow(xml.readInt(rowElement, "id", -1), rect, label, box));
  }
  if (listener) {
    if (RadioButtonListRow* row = list->findRow(selected)) {
      row->setChecked(true);
      listener->onSelectionChanged(listId, selected, 1);
    }
  }
  return list;
}

}  // namespace bge
