#pragma once
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

// A list of pointers in the order they were appended, with membership and removal in constant
// time: each item remembers its place in the list (SlotOf::of(item) gives the int it keeps it
// in), and a removal only empties that place. The holes are closed up all at once, keeping the
// order, when half the list is holes or when the owner asks (before a walk that must not see
// them). Walks by index skip null entries.
template <class T, class SlotOf>
class xSlotList {
 public:
  xSlotList() : holes_(0) {}
  xSlotList(const xSlotList &) = delete;
  xSlotList &operator=(const xSlotList &) = delete;

  // Places, holes included.
  int size() const { return items_.size(); }
  // Items actually listed.
  int count() const { return items_.size() - holes_; }
  T *operator[](int i) const { return items_[i]; }

  bool contains(T *t) const {
    if (!t) return false;
    const int i = SlotOf::of(t);
    return i >= 0 && i < items_.size() && items_[i] == t;
  }

  // Appends t unless it is listed already.
  void append(T *t) {
    if (!t || contains(t)) return;
    SlotOf::of(t) = items_.size();
    items_.append(t);
  }

  // Empties t's place; true when t was listed. With mayCompact the holes are closed up once they
  // are half the list (a walk by index under way must pass false).
  bool remove(T *t, bool mayCompact) {
    if (!contains(t)) return false;
    items_[SlotOf::of(t)] = nullptr;
    SlotOf::of(t) = -1;
    ++holes_;
    if (mayCompact && holes_ * 2 > items_.size()) compact();
    return true;
  }

  // Closes up the holes, the order of the items kept.
  void compact() {
    if (holes_ == 0) return;
    int kept = 0;
    for (int i = 0; i < items_.size(); ++i) {
      T *t = items_[i];
      if (!t) continue;
      SlotOf::of(t) = kept;
      items_[kept++] = t;
    }
    items_.resize(kept, false);
    holes_ = 0;
  }

  // The last item, taken out; null when none is left.
  T *popLast() {
    while (items_.size() > 0) {
      T *t = items_.pop(false);
      if (!t) {
        --holes_;
        continue;
      }
      SlotOf::of(t) = -1;
      return t;
    }
    return nullptr;
  }

  void clear() {
    for (int i = 0; i < items_.size(); ++i)
      if (items_[i]) SlotOf::of(items_[i]) = -1;
    items_.clear();
    holes_ = 0;
  }

  void preallocate(int n) { items_.preallocate(n); }

  // The list as it stands, holes included.
  const xArray<T *> &withHoles() const { return items_; }

  // The items without holes.
  const xArray<T *> &items() {
    compact();
    return items_;
  }

 private:
  xArray<T *> items_;
  int holes_;
};

}  // namespace QuillonPHX2D
