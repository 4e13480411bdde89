#pragma once
#include <cstddef>
#include <mutex>

#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// The process-wide source of array storage: a pool of small fixed blocks and two lists of
// recently released blocks in front of the system heap. Created on first use, never
// destroyed; its one recursive mutex is the engine's only lock.
class QLN_API xBlockAllocator {
 public:
  static constexpr unsigned kPoolBlockSize = 64;
  static constexpr int kPoolBlocks = 5000;
  static constexpr unsigned kSmallLimit = 1000;
  static constexpr unsigned kMediumLimit = 5000;
  static constexpr int kSmallEntries = 100;
  static constexpr int kMediumEntries = 30;
  // Heap blocks carry their first requested size in front of them (8 bytes on 64-bit).
  static constexpr std::size_t kHeaderSize = sizeof(std::size_t);

  struct Stats {
    unsigned long requests, poolHits, smallHits, mediumHits;
    std::size_t heapBytes;
    int poolFree, smallCount, mediumCount;
  };

  static xBlockAllocator *Instance();
  // Whether the allocator has been created yet.
  static bool exists();

  // A block of at least len bytes, or null when the heap is exhausted.
  void *allocate(std::size_t len);
  // Takes a block back; null is ignored.
  void release(void *p);

  bool isPoolBlock(const void *p) const;
  Stats stats();

  xBlockAllocator(const xBlockAllocator &) = delete;
  xBlockAllocator &operator=(const xBlockAllocator &) = delete;

 private:
  struct Entry {
    void *block;
    std::size_t size;
  };

  xBlockAllocator();
  ~xBlockAllocator() = default;

  static void *takeFromList(Entry *list, int &count, std::size_t len);
  void flushRecycledLocked();

  Entry small_[kSmallEntries];
  int smallCount_;
  Entry medium_[kMediumEntries];
  int mediumCount_;
  void *poolStack_[kPoolBlocks];
  int poolCount_;
  unsigned char *poolBase_;
  std::recursive_mutex lock_;
  unsigned long requests_, poolHits_, smallHits_, mediumHits_;
  std::size_t heapBytes_;
};

}  // namespace QuillonPHX2D
