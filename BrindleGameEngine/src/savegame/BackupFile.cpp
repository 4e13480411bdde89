#include "BackupFile.h"

#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace backupfile {
namespace {

std::string nameFor(const std::string& path, int n) {
  return n == 1 ? path + ".bak" : path + ".bak" + std::to_string(n);
}

bool taken(const std::string& name) {
  struct stat st {};
  return lstat(name.c_str(), &st) == 0 || errno != ENOENT;
}

void say(std::string* why, const std::string& text) {
  if (why) *why = text;
}

void sayErrno(std::string* why, const char* what, int error) {
  say(why, std::string(what) + ": " + std::strerror(error));
}

// Copies from one open file to the other to the end; false with errno set.
bool copyBytes(int from, int to) {
  char chunk[16384];
  for (;;) {
    const ssize_t n = ::read(from, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!replacefile::writeAll(to, chunk, static_cast<size_t>(n))) return false;
  }
}

struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

std::string copy(const std::string& path, std::string* why) {
  // Non-blocking, so a pipe at the path cannot stall the start.
  Fd in{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (in.fd < 0) {
    sayErrno(why, "cannot open it", errno);
    return std::string();
  }
  struct stat st {};
  if (fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    say(why, "it is not a regular file");
    return std::string();
  }
  // The copy is no more readable to others than the original.
  const mode_t mode = (st.st_mode & 0666) | 0600;
  for (int n = 1; n <= kMaxBackups; ++n) {
    const std::string name = nameFor(path, n);
    if (taken(name)) continue;
    Fd out{open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)};
    if (out.fd < 0 && errno == EEXIST) continue;  // taken since the look
    if (out.fd < 0) {
      sayErrno(why, ("cannot make " + name).c_str(), errno);
      return std::string();
    }
    if (lseek(in.fd, 0, SEEK_SET) != 0 || !copyBytes(in.fd, out.fd) || fsync(out.fd) != 0) {
      sayErrno(why, ("cannot write " + name).c_str(), errno);
      close(out.fd);
      out.fd = -1;
      unlink(name.c_str());
      return std::string();
    }
    if (close(out.fd) != 0) {
      out.fd = -1;
      sayErrno(why, ("cannot write " + name).c_str(), errno);
      unlink(name.c_str());
      return std::string();
    }
    out.fd = -1;
    return name;
  }
  say(why, "every backup name up to .bak" + std::to_string(kMaxBackups) + " is taken");
  return std::string();
}

std::string moveAside(const std::string& path, std::string* why) {
  for (int n = 1; n <= kMaxBackups; ++n) {
    const std::string name = nameFor(path, n);
    if (taken(name)) continue;
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return name;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) {
      sayErrno(why, ("cannot rename it to " + name).c_str(), errno);
      return std::string();
    }
    // A file system without the no-replace rename: the look above has to do.
    if (std::rename(path.c_str(), name.c_str()) == 0) return name;
    sayErrno(why, ("cannot rename it to " + name).c_str(), errno);
    return std::string();
  }
  say(why, "every backup name up to .bak" + std::to_string(kMaxBackups) + " is taken");
  return std::string();
}

std::string findSame(const std::string& path, const std::string& bytes) {
  for (int n = 1; n <= kMaxBackups; ++n) {
    const std::string name = nameFor(path, n);
    struct stat st {};
    if (lstat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != static_cast<off_t>(bytes.size()))
      continue;
    Fd in{open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (in.fd < 0) continue;
    std::string held(bytes.size(), '\0');
    size_t got = 0;
    while (got < held.size()) {
      const ssize_t r = ::read(in.fd, &held[got], held.size() - got);
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      got += static_cast<size_t>(r);
    }
    if (got == held.size() && held == bytes) return name;
  }
  return std::string();
}

std::string keep(const std::string& path, std::string* why) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) {
    sayErrno(why, "cannot look at it", errno);
    return std::string();
  }
  if (S_ISREG(st.st_mode) && st.st_size <= kMaxCopyBytes) return copy(path, why);
  return moveAside(path, why);
}

}  // namespace backupfile
