#pragma once
#include <cstddef>
#include <cstdint>

// One line of /proc/self/maps. The path points into the reader's line buffer and
// is valid only during the callback.
struct MappedRegion {
  uint64_t start = 0;
  uint64_t end = 0;
  uint64_t fileOffset = 0;
  bool readable = false;
  bool writable = false;
  bool executable = false;
  const char* path = "";
};

// Walks the process's memory map with open/read only, so a signal handler may use
// it. The callback returns false to stop early. Returns false when the map cannot
// be read.
using MappedRegionVisitor = bool (*)(const MappedRegion& region, void* context);
bool walkProcessMaps(MappedRegionVisitor visit, void* context);

// Parses one map line (without its line break); false when it is malformed.
bool parseMapsLine(const char* line, size_t length, MappedRegion& out);
