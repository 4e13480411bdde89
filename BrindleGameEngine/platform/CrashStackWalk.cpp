#include "platform/CrashStackWalk.h"

#include <execinfo.h>

#include "platform/ProcMaps.h"
#include "platform/SafeWriter.h"

namespace {

constexpr int kMaxFrames = 128;
constexpr size_t kModuleNameSize = 80;

struct FrameModule {
  uint64_t address = 0;
  uint64_t offset = 0;
  char name[kModuleNameSize] = {};
  bool found = false;
};

struct ModuleLookup {
  FrameModule* frames;
  int count;
  int left;
};

// The file name after the last "/", as the report shows modules.
const char* fileNameOfPath(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '/') name = p + 1;
  }
  return name;
}

bool matchFrames(const MappedRegion& region, void* context) {
  auto* lookup = static_cast<ModuleLookup*>(context);
  for (int i = 0; i < lookup->count; ++i) {
    FrameModule& f = lookup->frames[i];
    if (f.found || f.address < region.start || f.address >= region.end) continue;
    f.found = true;
    --lookup->left;
    f.offset = f.address - region.start + region.fileOffset;
    SafeWriter name(f.name, sizeof f.name);
    name.text(fileNameOfPath(region.path));
  }
  return lookup->left > 0;
}

void lookUpModules(FrameModule* frames, int count) {
  ModuleLookup lookup{frames, count, count};
  walkProcessMaps(&matchFrames, &lookup);
}

void writeFrame(SafeWriter& out, const FrameModule& f) {
  out.address(f.address);
  if (f.found && f.name[0] != '\0') {
    out.character(' ').text(f.name).text(" + 0x").hex(f.offset);
  }
  out.character('\n');
}

// Frames the unwinder reports before the faulting one belong to the handler.
int firstFaultFrame(void* const* raw, int count, uint64_t faultPc) {
  for (int i = 0; i < count; ++i) {
    if (reinterpret_cast<uint64_t>(raw[i]) == faultPc) return i;
  }
  return -1;
}

}  // namespace

void primeStackWalk() {
  void* frames[2];
  backtrace(frames, 2);
}

size_t formatAddress(uint64_t address, char* buffer, size_t budget) {
  if (budget == 0) return 0;
  FrameModule f;
  f.address = address;
  lookUpModules(&f, 1);
  SafeWriter out(buffer, budget);
  writeFrame(out, f);
  return out.length();
}

size_t formatStackWalk(uint64_t faultPc, char* buffer, size_t budget) {
  if (budget == 0) return 0;
  void* raw[kMaxFrames];
  const int rawCount = backtrace(raw, kMaxFrames);
  FrameModule frames[kMaxFrames];
  int count = 0;
  const int first = firstFaultFrame(raw, rawCount, faultPc);
  if (first < 0 && faultPc != 0) frames[count++].address = faultPc;
  // Without the faulting frame among them, the unwound frames are still the best
  // picture of how the handler was reached.
  for (int i = first < 0 ? 0 : first; i < rawCount && count < kMaxFrames; ++i) {
    frames[count++].address = reinterpret_cast<uint64_t>(raw[i]);
  }
  lookUpModules(frames, count);
  SafeWriter out(buffer, budget);
  for (int i = 0; i < count && !out.truncated(); ++i) writeFrame(out, frames[i]);
  return out.length();
}
