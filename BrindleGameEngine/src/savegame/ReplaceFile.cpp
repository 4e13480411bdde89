#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace replacefile {
namespace {

void say(std::string* why, const std::string& text) {
  if (why) *why = text;
}

std::string linkText(const std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string("?");
}

// What a new file of ours gets: what the user's umask leaves of rw for all.
mode_t newFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = umask(022);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

}  // namespace

bool writeAll(int fd, const void* bytes, size_t count) {
  const char* next = static_cast<const char*>(bytes);
  while (count > 0) {
    const ssize_t n = ::write(fd, next, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    next += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

std::string whyNotWritable(const std::string& path, std::string* target) {
  *target = path;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? std::string() : std::strerror(errno);
  if (S_ISLNK(st.st_mode)) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) {
      const int error = errno;
      if (error == ENOENT) return "it is a symbolic link to " + linkText(path) + ", which does not exist";
      return "it is a symbolic link to " + linkText(path) + " (" + std::strerror(error) + ")";
    }
    *target = real;
    std::free(real);
    if (stat(target->c_str(), &st) != 0) return std::strerror(errno);
  }
  // The rename would go through a file the player made read-only (even for root).
  if ((st.st_mode & 0222) == 0) return "it is read-only";
  if (access(target->c_str(), W_OK) != 0) return std::strerror(errno);
  return std::string();
}

bool write(const std::string& path, const void* bytes, size_t count, std::string* why) {
  std::string target;
  const std::string refused = whyNotWritable(path, &target);
  if (!refused.empty()) {
    say(why, refused);
    return false;
  }
  std::string pattern = target + ".tmpXXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    say(why, std::strerror(errno));
    return false;
  }
  // The new file keeps the old one's permissions.
  struct stat st {};
  const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : newFileMode();
  bool ok = fchmod(fd, mode) == 0;
  ok = ok && writeAll(fd, bytes, count);
  ok = ok && fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && std::rename(temp.data(), target.c_str()) == 0) return true;
  if (ok) error = errno;
  unlink(temp.data());
  say(why, std::strerror(error != 0 ? error : EIO));
  return false;
}

}  // namespace replacefile
