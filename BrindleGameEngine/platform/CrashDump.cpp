#include "platform/CrashDump.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ProcMaps.h"

namespace {

constexpr uint64_t kMaxStackBytes = 64 * 1024;

// Straight to the kernel: the stack holds bytes a memory checker would object to
// reading, and an unmapped range must fail with EFAULT, not fault again.
bool writeAll(int fd, const void* data, uint64_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const long n = syscall(SYS_write, fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<uint64_t>(n);
  }
  return true;
}

template <typename T>
bool writeValue(int fd, T value) {
  return writeAll(fd, &value, sizeof value);
}

struct StackSpan {
  uint64_t sp;
  uint64_t end;
};

bool findStackEnd(const MappedRegion& region, void* context) {
  auto* span = static_cast<StackSpan*>(context);
  if (span->sp >= region.start && span->sp < region.end) {
    span->end = region.end;
    return false;
  }
  return true;
}

bool copyMaps(int fd) {
  const int maps = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (maps < 0) return false;
  char chunk[2048];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(maps, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (!writeAll(fd, chunk, static_cast<uint64_t>(n))) {
      ok = false;
      break;
    }
  }
  close(maps);
  return ok;
}

}  // namespace

bool writeRawDump(const char* path, int signal, const siginfo_t* info, const void* context,
                  uint32_t exceptionCode) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const auto* uc = static_cast<const ucontext_t*>(context);
  bool ok = writeAll(fd, "BGECRASH", 8) && writeValue<uint32_t>(fd, 1) &&
            writeValue<int32_t>(fd, signal) && writeValue<int32_t>(fd, info ? info->si_code : 0) &&
            writeValue<uint32_t>(fd, exceptionCode) &&
            writeValue<uint64_t>(fd, info ? reinterpret_cast<uint64_t>(info->si_addr) : 0) &&
            writeValue<uint32_t>(fd, static_cast<uint32_t>(syscall(SYS_gettid)));
  StackSpan span{0, 0};
#if defined(__x86_64__)
  if (uc) {
    ok = ok && writeValue<uint32_t>(fd, NGREG) && writeAll(fd, uc->uc_mcontext.gregs, sizeof(greg_t) * NGREG);
    span.sp = static_cast<uint64_t>(uc->uc_mcontext.gregs[REG_RSP]);
  } else {
    ok = ok && writeValue<uint32_t>(fd, 0);
  }
#else
  (void)uc;
  ok = ok && writeValue<uint32_t>(fd, 0);
#endif
  if (span.sp != 0) walkProcessMaps(&findStackEnd, &span);
  uint64_t stackBytes = span.end > span.sp ? span.end - span.sp : 0;
  if (stackBytes > kMaxStackBytes) stackBytes = kMaxStackBytes;
  ok = ok && writeValue<uint64_t>(fd, span.sp) && writeValue<uint64_t>(fd, stackBytes);
  ok = ok && writeAll(fd, reinterpret_cast<const void*>(span.sp), stackBytes);
  ok = ok && writeAll(fd, "MAPS", 4) && copyMaps(fd);
  if (close(fd) != 0) ok = false;
  return ok;
}
