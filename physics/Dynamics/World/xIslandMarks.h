#pragma once
// A set of pointers for the island pass: which bodies are already taken. Open addressing in
// storage that survives across steps, so the pass does not allocate once warmed up.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace QuillonPHX2D {

class xIslandMarks {
 public:
  // Empties the set and makes room for n entries.
  void reset(int n) {
    size_t want = 16;
    while (want < size_t(n) * 2) want *= 2;
    if (slots_.size() < want) slots_.assign(want, nullptr);
    else std::fill(slots_.begin(), slots_.end(), nullptr);
    mask_ = slots_.size() - 1;
    count_ = 0;
  }
  // Adds p; false when it was already there.
  bool insert(const void *p) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    size_t i = hash(p) & mask_;
    while (slots_[i]) {
      if (slots_[i] == p) return false;
      i = (i + 1) & mask_;
    }
    slots_[i] = p;
    ++count_;
    return true;
  }
  bool contains(const void *p) const {
    if (slots_.empty()) return false;
    size_t i = hash(p) & mask_;
    while (slots_[i]) {
      if (slots_[i] == p) return true;
      i = (i + 1) & mask_;
    }
    return false;
  }

 private:
  static size_t hash(const void *p) {
    uint64_t x = reinterpret_cast<uintptr_t>(p);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return size_t(x);
  }
  void grow() {
    std::vector<const void *> old;
    old.swap(slots_);
    slots_.assign(old.size() * 2, nullptr);
    mask_ = slots_.size() - 1;
    count_ = 0;
    for (const void *p : old)
      if (p) insert(p);
  }

  std::vector<const void *> slots_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

}  // namespace QuillonPHX2D
