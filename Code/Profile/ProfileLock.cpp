#include "Profile/ProfileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

ProfileLock::~ProfileLock() {
  if (fd_ >= 0) close(fd_);
}

ProfileLock::Result ProfileLock::acquire(const std::string& folder, std::string* why) {
  if (fd_ >= 0) return Result::Held;
  const std::string path = folder + "/" + kFileName;
  // Close-on-exec: a program the game starts must not keep the profile locked.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    if (why) *why = path + ": " + std::strerror(errno);
    return Result::Unavailable;
  }
  int r;
  do r = flock(fd, LOCK_EX | LOCK_NB);
  while (r != 0 && errno == EINTR);
  if (r == 0) {
    fd_ = fd;
    return Result::Held;
  }
  const int error = errno;
  close(fd);
  if (error == EWOULDBLOCK) return Result::InUse;
  if (why) *why = path + ": " + std::strerror(error);
  return Result::Unavailable;
}
