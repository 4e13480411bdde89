#pragma once

namespace bge {

// initial is 1 for the selection the layout file gives, 0 for one by the pointer.
class RadioButtonListListener {
 public:
  virtual ~RadioButtonListListener() = default;
  virtual void onSelectionChanged(int listId, int rowId, int initial) = 0;
};

}  // namespace bge
