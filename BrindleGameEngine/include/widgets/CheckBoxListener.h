#pragma once

namespace bge {

class CheckBoxListener {
 public:
  virtual ~CheckBoxListener() = default;
  virtual void onCheckBoxChanged(int id, bool checked) = 0;
};

}  // namespace bge
