#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Rect5.h"
#include "Widget.h"

class ResourceManager;
class TiXmlElement;

namespace bge {

class CheckBox;
class Label;
class RadioButtonListListener;

// One row of a radio-button list: a check box with a label, in list coordinates.
class RadioButtonListRow {
 public:
  // Takes ownership of both; starts the check box's entry fade.
  RadioButtonListRow(int rowId, const Rect5& rect, Label* label, CheckBox* checkBox);
  ~RadioButtonListRow();  // where CheckBox and Label are complete
  RadioButtonListRow(const RadioButtonListRow&) = delete;
  RadioButtonListRow& operator=(const RadioButtonListRow&) = delete;

  void setChecked(bool checked);
  bool isChecked() const;
  CheckBox* getCheckBox() const { return checkBox_.get(); }
  Label* getLabel() const { return label_.get(); }
  int getRowId() const { return rowId_; }
  const Rect5& getRect() const { return rect_; }

 private:
  int rowId_;
  Rect5 rect_;
  // The label is declared last so that it goes first.
  std::unique_ptr<CheckBox> checkBox_;
  std::unique_ptr<Label> label_;
};

// Rows of check boxes of which a press selects one.
class RadioButtonList : public Widget {
 public:
  RadioButtonList(RadioButtonListListener* listener, int listId);

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  // Row check boxes on a layer come here, drawn with the list's offset.
  void drawLayer(Graphics* graphics, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;

  // Takes ownership.
  void addRow(RadioButtonListRow* row);
  RadioButtonListRow* findRow(int rowId) const;
  void setAllChecked(bool checked);
  const std::vector<std::unique_ptr<RadioButtonListRow>>& getRows() const { return rows_; }
  int getListId() const { return listId_; }
  // The first checked row's id, or -1.
  int getSelectedRowId() const;

 private:
  int listId_;
  RadioButtonListListener* listener_;  // not owned: the screen the list is on
  std::vector<std::unique_ptr<RadioButtonListRow>> rows_;
};

RadioButtonList* createRadioButtonListFromXml(RadioButtonListListener* listener,
                                              TiXmlElement* element, ResourceManager* resources,
                                              const std::string& path);

}  // namespace bge
