#pragma once
// Member definitions of xArray; included by xArray.h.
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "Foundation/Templates/xBlockAllocator.h"

namespace QuillonPHX2D {

template <class T>
xArray<T>::xArray(const xArray &other) : data_(nullptr), count_(0), capacity_(0) {
  *this = other;
}

template <class T>
xArray<T> &xArray<T>::operator=(const xArray &other) {
  if (this == &other) return *this;
  resize(other.count_, true);
  const int n = count_ < other.count_ ? count_ : other.count_;
  for (int i = 0; i < n; ++i) data_[i] = other.data_[i];
  return *this;
}

template <class T>
xArray<T>::~xArray() {
  releaseStorage(data_);
  data_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}

template <class T>
void xArray<T>::initialize(int n, int flag) {
  data_ = nullptr;
  count_ = 0;
  capacity_ = 0;
  if (flag > 0) resize(n, true);
}

template <class T>
void xArray<T>::releaseStorage(T *data) {
  if (!data) return;
  void *block;
  std::memcpy(&block, reinterpret_cast<unsigned char *>(data) - sizeof(void *), sizeof(void *));
  xBlockAllocator::Instance()->release(block);
}

template <class T>
void xArray<T>::resize(int n, bool mayShrink) {
  if (!QLN_ASSERT(n >= 0)) n = 0;
  const int old = count_;
  if (capacity_ == 0) {
    const int oldNum = old;
    QLN_ASSERT(oldNum == 0);
  }
  if (capacity_ < n) {
    const int oldCap = capacity_;
    long long cap;
    if (oldCap == 0) {
      cap = n;
    } else if (n < kGrowStep) {
      cap = kGrowStep;
    } else {
      const long long bytes = static_cast<long long>(oldCap) * static_cast<long long>(sizeof(T));
      const double f = bytes <= 64000 ? 3.0 : (bytes <= 400000 ? 2.0 : 1.5);
      cap = n + static_cast<long long>(f * oldCap) - oldCap;
      if (cap < kGrowStep) cap = kGrowStep;
    }
    // Keep the byte count representable; an impossible size is refused, not wrapped.
    const long long maxCap = (std::numeric_limits<int>::max() - static_cast<long long>(kOverhead)) /
                             static_cast<long long>(sizeof(T));
    if (cap > maxCap) cap = maxCap;
    if (!QLN_ASSERT(cap >= n && "xArray size too large")) return;
    capacity_ = static_cast<int>(cap);
    if (!realloc(old)) {
      // Out of memory: keep what we had rather than point at storage we do not own.
      capacity_ = oldCap;
      return;
    }
  }
  // Shrinking would only move the elements into a block of the same capacity, so the
  // storage simply stays where it is.
  (void)mayShrink;
  count_ = n;
  if (!std::is_trivially_default_constructible<T>::value) {
    for (int i = old; i < n; ++i) new (data_ + i) T();
  }
}

template <class T>
bool xArray<T>::realloc(int keep) {
  xBlockAllocator *alloc = xBlockAllocator::Instance();
  if (!alloc) return false;
  const std::size_t bytes = static_cast<std::size_t>(capacity_) * sizeof(T) + kOverhead;
  unsigned char *block = static_cast<unsigned char *>(alloc->allocate(bytes));
  if (!block) return false;
  std::uintptr_t addr = reinterpret_cast<std::uintptr_t>(block) + sizeof(void *);
  addr = (addr + 15u) & ~static_cast<std::uintptr_t>(15u);
  T *fresh = reinterpret_cast<T *>(addr);
  void *blockPtr = block;
  std::memcpy(reinterpret_cast<unsigned char *>(fresh) - sizeof(void *), &blockPtr, sizeof(void *));

  const int n = keep < capacity_ ? keep : capacity_;
  if (data_ && n > 0) {
    if (std::is_trivially_copyable<T>::value)
      std::memcpy(static_cast<void *>(fresh), static_cast<const void *>(data_), sizeof(T) * n);
    else
      for (int i = 0; i < n; ++i) new (fresh + i) T(data_[i]);
  }
  releaseStorage(data_);
  data_ = fresh;
  return true;
}

template <class T>
void xArray<T>::append(const T &v) {
  if (count_ < capacity_) {
    data_[count_++] = v;
    return;
  }
  if (isContained(&v)) {
    // The storage is about to move; take the value out first.
    const T copy = v;
    append(copy);
    return;
  }
  const int old = count_;
  resize(count_ + 1, false);
  if (count_ == old + 1) data_[old] = v;
}

template <class T>
T &xArray<T>::push() {
  const int old = count_;
  resize(count_ + 1, false);
  if (count_ != old + 1) return outOfBounds();
  return data_[old];
}

template <class T>
void xArray<T>::append(const xArray &other) {
  if (&other == this) {
    const xArray copy(other);
    append(copy);
    return;
  }
  const int old = count_;
  resize(count_ + other.count_, false);
  if (count_ != old + other.count_) return;
  for (int i = 0; i < other.count_; ++i) data_[old + i] = other.data_[i];
}

template <class T>
T xArray<T>::pop(bool mayShrink) {
  if (!QLN_ASSERT(count_ > 0)) return T{};
  const T v = data_[count_ - 1];
  resize(count_ - 1, mayShrink);
  return v;
}

template <class T>
T &xArray<T>::last() {
  if (!QLN_ASSERT(count_ > 0)) return outOfBounds();
  return data_[count_ - 1];
}

template <class T>
void xArray<T>::remove(const T &v) {
  const int i = findIndex(v);
  if (i < 0) return;
  for (int j = i + 1; j < count_; ++j) data_[j - 1] = data_[j];
  resize(count_ - 1, true);
}

template <class T>
void xArray<T>::remove(int first, int n) {
  if (!QLN_ASSERT(first >= 0 && n >= 0 && first <= count_ - n)) return;
  for (int j = first + n; j < count_; ++j) data_[j - n] = data_[j];
  resize(count_ - n, true);
}

template <class T>
int xArray<T>::findIndex(const T &v) const {
  for (int i = 0; i < count_; ++i)
    if (data_[i] == v) return i;
  return -1;
}

template <class T>
template <class U>
void xArray<T>::deleteAll() {
  if constexpr (std::is_pointer<U>::value) {
    for (int i = 0; i < count_; ++i) {
      delete data_[i];
      data_[i] = nullptr;
    }
  }
  resize(0, true);
}

}  // namespace QuillonPHX2D
