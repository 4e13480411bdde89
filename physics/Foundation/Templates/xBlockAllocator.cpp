#include "Foundation/Templates/xBlockAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace QuillonPHX2D {

namespace {
std::atomic<bool> g_allocatorExists{false};

std::size_t &headerOf(void *p) {
  return *reinterpret_cast<std::size_t *>(static_cast<unsigned char *>(p) - xBlockAllocator::kHeaderSize);
}

void freeHeapBlock(void *p) { std::free(static_cast<unsigned char *>(p) - xBlockAllocator::kHeaderSize); }
}  // namespace

xBlockAllocator *xBlockAllocator::Instance() {
  // Thread-safe creation; the allocator outlives every array, so it is never deleted.
  static xBlockAllocator *instance = new (std::nothrow) xBlockAllocator();
  return instance;
}

bool xBlockAllocator::exists() { return g_allocatorExists.load(); }

xBlockAllocator::xBlockAllocator()
    : smallCount_(0), mediumCount_(0), poolCount_(0), poolBase_(nullptr), requests_(0), poolHits_(0),
      smallHits_(0), mediumHits_(0), heapBytes_(1) {
  const std::size_t poolBytes = std::size_t(kPoolBlockSize) * kPoolBlocks;
  poolBase_ = static_cast<unsigned char *>(std::aligned_alloc(kPoolBlockSize, poolBytes));
  if (poolBase_) {
    // In address order, so the first request gets the highest block.
    for (int i = 0; i < kPoolBlocks; ++i) poolStack_[i] = poolBase_ + std::size_t(i) * kPoolBlockSize;
    poolCount_ = kPoolBlocks;
  }
  g_allocatorExists.store(true);
}

void *xBlockAllocator::takeFromList(Entry *list, int &count, std::size_t len) {
  // First fit, searched from the most recently released end.
  for (int i = count - 1; i >= 0; --i) {
    if (list[i].size >= len) {
      void *p = list[i].block;
      list[i] = list[count - 1];
      --count;
      return p;
    }
  }
  return nullptr;
}

void xBlockAllocator::flushRecycledLocked() {
  for (int i = 0; i < smallCount_; ++i) {
    heapBytes_ -= small_[i].size + kHeaderSize;
    freeHeapBlock(small_[i].block);
  }
  for (int i = 0; i < mediumCount_; ++i) {
    heapBytes_ -= medium_[i].size + kHeaderSize;
    freeHeapBlock(medium_[i].block);
  }
  smallCount_ = 0;
  mediumCount_ = 0;
}

void *xBlockAllocator::allocate(std::size_t len) {
  {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    ++requests_;
    if (len <= kPoolBlockSize && poolCount_ > 0) {
      ++poolHits_;
      return poolStack_[--poolCount_];
    }
    if (len <= kSmallLimit) {
      if (void *p = takeFromList(small_, smallCount_, len)) {
        ++smallHits_;
        return p;
      }
    } else if (len <= kMediumLimit) {
      if (void *p = takeFromList(medium_, mediumCount_, len)) {
        ++mediumHits_;
        return p;
      }
    }
    heapBytes_ += len + kHeaderSize;
  }
  if (len > static_cast<std::size_t>(-1) - kHeaderSize) return nullptr;
  void *raw = std::malloc(len + kHeaderSize);
  if (!raw) {
    // Give the recycled blocks back to the heap and try once more.
    std::lock_guard<std::recursive_mutex> guard(lock_);
    flushRecycledLocked();
    raw = std::malloc(len + kHeaderSize);
    if (!raw) {
      heapBytes_ -= len + kHeaderSize;
      return nullptr;
    }
  }
  void *p = static_cast<unsigned char *>(raw) + kHeaderSize;
  headerOf(p) = len;
  return p;
}

void xBlockAllocator::release(void *p) {
  if (!p) return;
  std::unique_lock<std::recursive_mutex> guard(lock_);
  if (isPoolBlock(p)) {
    poolStack_[poolCount_++] = p;
    return;
  }
  const std::size_t size = headerOf(p);
  if (size <= kSmallLimit && smallCount_ < kSmallEntries) {
    small_[smallCount_++] = Entry{p, size};
    return;
  }
  if (size > kSmallLimit && size <= kMediumLimit && mediumCount_ < kMediumEntries) {
    medium_[mediumCount_++] = Entry{p, size};
    return;
  }
  heapBytes_ -= size + kHeaderSize;
  guard.unlock();
  freeHeapBlock(p);
}

bool xBlockAllocator::isPoolBlock(const void *p) const {
  const unsigned char *c = static_cast<const unsigned char *>(p);
  return poolBase_ && c >= poolBase_ && c < poolBase_ + std::size_t(kPoolBlockSize) * kPoolBlocks;
}

xBlockAllocator::Stats xBlockAllocator::stats() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Stats{requests_, poolHits_, smallHits_, mediumHits_, heapBytes_, poolCount_, smallCount_, mediumCount_};
}

}  // namespace QuillonPHX2D
