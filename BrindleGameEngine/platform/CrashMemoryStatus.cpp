#include "platform/CrashMemoryStatus.h"

#include "platform/ProcMaps.h"

namespace {

// 47-bit user space on x86-64; mappings above it (vsyscall) are not ours to count.
constexpr uint64_t kUserSpaceTop = 0x00007FFFFFFFF000ull;

struct Walk {
  MemoryStatus* status;
  uint64_t previousEnd;
};

void addFree(MemoryStatus& s, uint64_t bytes) {
  s.totalFree += bytes;
  if (bytes > s.largestFree) s.largestFree = bytes;
}

bool visitRegion(const MappedRegion& region, void* context) {
  auto* walk = static_cast<Walk*>(context);
  if (region.start >= kUserSpaceTop) return false;
  MemoryStatus& s = *walk->status;
  if (region.start > walk->previousEnd) addFree(s, region.start - walk->previousEnd);
  const uint64_t size = region.end - region.start;
  if (!region.readable && !region.writable && !region.executable) s.totalReserved += size;
  else s.totalCommitted += size;
  if (region.end > walk->previousEnd) walk->previousEnd = region.end;
  return true;
}

}  // namespace

bool queryMemoryStatus(MemoryStatus& out) {
  out = MemoryStatus{};
  Walk walk{&out, 0};
  if (!walkProcessMaps(&visitRegion, &walk)) return false;
  if (kUserSpaceTop > walk.previousEnd) addFree(out, kUserSpaceTop - walk.previousEnd);
  return true;
}
