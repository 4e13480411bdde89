#include "System/AtomicFile.h"

#include "AssertReport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "BackupFile.h"
#include "RegularFile.h"
#include "ReplaceFile.h"

bool writeFileAtomically(const std::string& path, const void* bytes, size_t count, std::string* why) {
  if (path.empty()) {
    if (why) *why = "no path";
    return false;
  }
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  std::string failed;
  if (replacefile::write(path, bytes, count, &failed)) return true;
  if (why) *why = ec ? ec.message() : failed;
  return false;
}

FileRead readOwnFile(const std::string& path, std::vector<unsigned char>& out) {
  switch (bge::readRegularFile(path, kMaxOwnFileBytes, out)) {
    case bge::FileReadResult::Read: return FileRead::Read;
    case bge::FileReadResult::Missing: return FileRead::Missing;
    default: return FileRead::Failed;
  }
}

bool readWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  return readOwnFile(path, out) == FileRead::Read;
}

std::string keepBackupCopy(const std::string& path) {
  std::string why;
  const std::string target = backupfile::keep(path, &why);
  if (BGE_ERROR_MSG(!target.empty(), (path + " could not be read and no copy of it could be kept (" + why +
                                       "); it is left as it is and not written over")
                                          .c_str())) {
    std::printf("%s could not be read; it was kept as %s\n", path.c_str(), target.c_str());
  }
  std::fflush(stdout);
  return target;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
