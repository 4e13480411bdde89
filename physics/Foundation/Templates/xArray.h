#pragma once
#include <cstddef>
#include <type_traits>

#include "Foundation/QlnAssert.h"
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// The engine's growable array. Storage comes from xBlockAllocator, 16-byte aligned, with the
// allocator's block address stashed just in front of the data. Grows by a factor that falls
// as the array gets big; never hands storage back until it is destroyed.
template <class T>
class QLN_API xArray {
  static_assert(std::is_trivially_destructible<T>::value, "xArray holds plain records and pointers");

 public:
  xArray() : data_(nullptr), count_(0), capacity_(0) {}
  explicit xArray(int n) : data_(nullptr), count_(0), capacity_(0) { initialize(n, n); }
  xArray(const xArray &other);
  xArray &operator=(const xArray &other);
  ~xArray();

  void resize(int n, bool mayShrink);
  void resize(int n) { resize(n, true); }

  void append(const T &v);
  // Appends v when there is room without growing (an inline write, for the hottest loops);
  // false, with nothing changed, when there is not.
  bool appendInPlace(const T &v) {
    if (count_ >= capacity_) return false;
    data_[count_++] = v;
    return true;
  }
  void push(const T &v) { append(v); }
  T &push();
  void append(const xArray &other);
  void push(const xArray &other) { append(other); }
  T pop(bool mayShrink = true);
  T &last();

  void remove(const T &v);
  void remove(int first, int n);
  int findIndex(const T &v) const;
  bool contains(const T &v) const { return findIndex(v) >= 0; }
  bool isContained(const T *p) const { return count_ > 0 && p >= data_ && p < data_ + count_; }

  void clear() { resize(0, true); }
  void fastClear() { resize(0, false); }
  void preallocate(int n) {
    resize(n, true);
    count_ = 0;
  }
  // Deletes every non-null element through its destructor (pointer arrays only). A member
  // template so that explicit instances over pointers to incomplete types stay valid.
  template <class U = T>
  void deleteAll();

  int size() const { return count_; }
  int length() const { return count_; }
  int capacity() const { return capacity_; }
  T *dataPtr() { return data_; }
  const T *dataPtr() const { return data_; }

  T &operator[](int n) {
    if (!inBounds(n)) return outOfBounds();
    return data_[n];
  }
  const T &operator[](int n) const {
    if (!inBounds(n)) return outOfBounds();
    return data_[n];
  }

 private:
  static constexpr int kGrowStep = 10;
  // Room in front of the data for the block address, plus slack for the 16-byte alignment.
  static constexpr std::size_t kOverhead = sizeof(void *) + 16;

  bool inBounds(int n) const {
    const bool inRange = QLN_ASSERT(n >= 0 && n < count_);
    const bool hasData = QLN_ASSERT(data_ != nullptr);
    return inRange && hasData;
  }
  // What a refused access hands back instead of reading outside the storage.
  static T &outOfBounds() {
    static T dummy{};
    dummy = T{};
    return dummy;
  }

  void initialize(int n, int flag);
  bool realloc(int keep);
  static void releaseStorage(T *data);

  T *data_;
  int count_;
  int capacity_;
};

}  // namespace QuillonPHX2D

#include "Foundation/Templates/xArray_implementation.h"
