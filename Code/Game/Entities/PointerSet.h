#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A set of pointers for a list that is filled and emptied every frame: open addressing in one
// array that keeps its size between frames, so neither an insertion nor clearing allocates
// once the set has grown to the frame's count.
class PointerSet {
 public:
  // True when p was not in the set yet.
  bool insert(const void* p) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash(p) & mask;; i = (i + 1) & mask) {
      if (slots_[i] == p) return false;
      if (!slots_[i]) {
        slots_[i] = p;
        ++count_;
        return true;
      }
    }
  }

  void clear() {
    if (count_ == 0) return;
    for (const void*& s : slots_) s = nullptr;
    count_ = 0;
  }

  size_t size() const { return count_; }

 private:
  static size_t hash(const void* p) {
    const uint64_t v = reinterpret_cast<uintptr_t>(p);
    return static_cast<size_t>((v >> 4) * 0x9E3779B97F4A7C15ull >> 20);
  }

  void grow() {
    std::vector<const void*> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
    count_ = 0;
    for (const void* p : old)
      if (p) insert(p);
  }

  std::vector<const void*> slots_;  // size a power of two, at most half full
  size_t count_ = 0;
};
