#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Pointers to values, for the registers a screen asks every frame about each thing on it
// (is it listed, where, is it queued). Open addressing in one array with linear probing and
// backward-shift removal: a lookup touches one or two neighbouring slots instead of a bucket
// and a node, and adding or removing allocates nothing once the table has grown. It has no
// iteration on purpose: nothing may depend on the order of its slots. The null pointer is
// never a key.
template <typename Value>
class PointerTable {
 public:
  // The value stored for p, or null.
  Value* find(const void* p) {
    const size_t i = slotOf(p);
    return i == kNone ? nullptr : &slots_[i].value;
  }
  const Value* find(const void* p) const {
    const size_t i = slotOf(p);
    return i == kNone ? nullptr : &slots_[i].value;
  }
  size_t count(const void* p) const { return slotOf(p) == kNone ? 0 : 1; }

  // Adds p with v; false (and nothing changed) when p is already there or null.
  bool insert(const void* p, Value v = Value()) {
    if (!p) return false;
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const size_t mask = slots_.size() - 1;
    for (size_t i = home(p, mask);; i = (i + 1) & mask) {
      if (slots_[i].key == p) return false;
      if (!slots_[i].key) {
        slots_[i].key = p;
        slots_[i].value = std::move(v);
        ++count_;
        return true;
      }
    }
  }

  // Takes p out; false when it was not there.
  bool erase(const void* p) {
    size_t hole = slotOf(p);
    if (hole == kNone) return false;
    const size_t mask = slots_.size() - 1;
    // Later entries of the same run move back into the hole when their home lies at or before
    // it (cyclically), so every entry stays reachable from its home without tombstones.
    for (size_t j = (hole + 1) & mask; slots_[j].key; j = (j + 1) & mask) {
      const size_t h = home(slots_[j].key, mask);
      const bool reachable = hole <= j ? (h > hole && h <= j) : (h > hole || h <= j);
      if (reachable) continue;
      slots_[hole] = std::move(slots_[j]);
      hole = j;
    }
    slots_[hole] = Slot();
    --count_;
    return true;
  }

  // Empties the table and keeps its storage.
  void clear() {
    if (count_ == 0) return;
    for (Slot& s : slots_) s = Slot();
    count_ = 0;
  }

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

 private:
  struct Slot {
    const void* key = nullptr;
    Value value = Value();
  };
  static constexpr size_t kNone = ~size_t(0);

  static size_t home(const void* p, size_t mask) {
    uint64_t x = reinterpret_cast<uintptr_t>(p);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<size_t>(x) & mask;
  }

  size_t slotOf(const void* p) const {
    if (!p || count_ == 0) return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t i = home(p, mask); slots_[i].key; i = (i + 1) & mask)
      if (slots_[i].key == p) return i;
    return kNone;
  }

  void grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.resize(old.empty() ? 64 : old.size() * 2);
    count_ = 0;
    for (Slot& s : old)
      if (s.key) insert(s.key, std::move(s.value));
  }

  std::vector<Slot> slots_;  // size a power of two, at most half full
  size_t count_ = 0;
};

// A set of pointers on the same table.
class PointerMembers {
 public:
  size_t count(const void* p) const { return table_.count(p); }
  bool insert(const void* p) { return table_.insert(p); }
  bool erase(const void* p) { return table_.erase(p); }
  void clear() { table_.clear(); }
  size_t size() const { return table_.size(); }
  bool empty() const { return table_.empty(); }

 private:
  struct Nothing {};
  PointerTable<Nothing> table_;
};
