#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace bge {

namespace {

template <typename Buffer>
FileReadResult readInto(const std::string& path, size_t limit, Buffer& out, size_t spare) {
  out.clear();
  // Non-blocking, so that opening a FIFO does not wait for a writer; the stat
  // below refuses it before any read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileReadResult::Missing : FileReadResult::Failed;
  struct stat st {};
  FileReadResult result = FileReadResult::Read;
  if (::fstat(fd, &st) != 0) result = FileReadResult::Failed;
  else if (!S_ISREG(st.st_mode)) result = FileReadResult::NotRegular;
  else if (static_cast<unsigned long long>(st.st_size) > limit) result = FileReadResult::TooBig;
  if (result == FileReadResult::Read) {
    const size_t expected = static_cast<size_t>(st.st_size);
    out.reserve(expected + spare);
    out.resize(expected);
    size_t used = 0;
    while (used < expected) {
      const ssize_t n = ::read(fd, &out[used], expected - used);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) result = FileReadResult::Failed;
      if (n <= 0) break;  // at 0 it is shorter than its stat said: what is there is the file
      used += static_cast<size_t>(n);
    }
    out.resize(used);
    // A file that grew since the stat is read on, up to one chunk past the limit.
    unsigned char chunk[4096];
    while (result == FileReadResult::Read) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) result = FileReadResult::Failed;
      if (n <= 0) break;
      out.insert(out.end(), chunk, chunk + n);
      if (out.size() > limit) {
        result = FileReadResult::TooBig;
        break;
      }
    }
  }
  ::close(fd);
  if (result != FileReadResult::Read) {
    out.clear();
    out.shrink_to_fit();
  }
  return result;
}

}  // namespace

FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out, size_t spare) {
  return readInto(path, limit, out, spare);
}

FileReadResult readRegularFile(const std::string& path, size_t limit, std::vector<unsigned char>& out) {
  return readInto(path, limit, out, 0);
}

std::string describeFileRead(FileReadResult result, size_t limit) {
  switch (result) {
    case FileReadResult::Read: return "was read";
    case FileReadResult::Missing: return "cannot be opened (no such file)";
    case FileReadResult::NotRegular: return "is not a regular file (a folder, pipe or device); refused";
    case FileReadResult::TooBig:
      return "is larger than the " + std::to_string(limit) + " bytes such a file may have; refused";
    case FileReadResult::Failed: break;
  }
  return "cannot be read";
}

}  // namespace bge
