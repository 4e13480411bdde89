#include "System/AtomicFile.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

bool writeFileAtomically(const std::string& path, const void* bytes, size_t count) {
  if (path.empty()) return false;
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  const std::string temp = path + ".tmp";
  FILE* file = std::fopen(temp.c_str(), "w+b");
  if (!file) return false;
  bool ok = count == 0 || std::fwrite(bytes, 1, count, file) == count;
  ok = std::fflush(file) == 0 && ok;
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) == 0) return true;
  std::remove(temp.c_str());
  return false;
}

bool readWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  out.clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<size_t>(size));
    ok = size == 0 || std::fread(out.data(), 1, out.size(), file) == out.size();
  }
  ok = std::fclose(file) == 0 && ok;
  if (!ok) out.clear();
  return ok;
}

std::string keepBackupCopy(const std::string& path) {
  std::error_code ec;
  std::string target = path + ".bak";
  for (int n = 2; n <= 9 && std::filesystem::exists(target, ec); ++n) target = path + ".bak" + std::to_string(n);
  if (!std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing, ec)) {
    std::printf("Could not keep a copy of %s\n", path.c_str());
    return std::string();
  }
  std::printf("%s could not be read; it was kept as %s\n", path.c_str(), target.c_str());
  return target;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
