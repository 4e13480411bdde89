#include "platform/ProcMaps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool parseHex(const char*& p, const char* end, uint64_t& out) {
  out = 0;
  const char* begin = p;
  while (p < end) {
    const char c = *p;
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else break;
    out = (out << 4) | static_cast<uint64_t>(digit);
    ++p;
  }
  return p != begin;
}

void skipField(const char*& p, const char* end) {
  while (p < end && *p != ' ') ++p;
  while (p < end && *p == ' ') ++p;
}

}  // namespace

bool parseMapsLine(const char* line, size_t length, MappedRegion& out) {
  const char* p = line;
  const char* end = line + length;
  if (!parseHex(p, end, out.start) || p >= end || *p != '-') return false;
  ++p;
  if (!parseHex(p, end, out.end) || p >= end || *p != ' ') return false;
  ++p;
  if (end - p < 4) return false;
  out.readable = p[0] == 'r';
  out.writable = p[1] == 'w';
  out.executable = p[2] == 'x';
  skipField(p, end);
  if (!parseHex(p, end, out.fileOffset)) return false;
  skipField(p, end);  // offset's trailing blanks
  skipField(p, end);  // device
  skipField(p, end);  // inode
  out.path = p < end ? p : "";
  return out.end >= out.start;
}

bool walkProcessMaps(MappedRegionVisitor visit, void* context) {
  const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // Paths are at most PATH_MAX; a longer line is cut, never overflowed.
  char line[4352];
  size_t used = 0;
  bool overlong = false;
  char chunk[2048];
  bool keepGoing = true;
  while (keepGoing) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n && keepGoing; ++i) {
      const char c = chunk[i];
      if (c != '\n') {
        if (used + 1 < sizeof line) line[used++] = c;
        else overlong = true;
        continue;
      }
      line[used] = '\0';
      MappedRegion region;
      if (parseMapsLine(line, used, region)) {
        if (overlong) region.path = "";
        keepGoing = visit(region, context);
      }
      used = 0;
      overlong = false;
    }
  }
  close(fd);
  return true;
}
