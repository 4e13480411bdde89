#pragma once
#include <cstdint>

// The address space of the process at the time of a crash, in bytes: gaps between
// mappings (below the top of user space) are free; mappings without any access are
// reserved; every other mapping is committed.
struct MemoryStatus {
  uint64_t totalFree = 0;
  uint64_t largestFree = 0;
  uint64_t totalReserved = 0;
  uint64_t totalCommitted = 0;
};

// Async-signal-safe; false when the memory map cannot be read.
bool queryMemoryStatus(MemoryStatus& out);
