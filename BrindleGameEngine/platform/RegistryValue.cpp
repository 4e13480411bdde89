#include "platform/RegistryValue.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

std::string g_registryBaseKey = "BrindleMediaGames";

namespace {

// Base keys come from either platform's habits: strip every trailing separator.
std::string stripTrailingSeparators(std::string path) {
  while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

std::string configRoot() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return stripTrailingSeparators(xdg);
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : nullptr;
  }
  // Never the filesystem root: without a home there is nowhere to write.
  if (!home || home[0] != '/' || stripTrailingSeparators(home).empty()) return std::string();
  return stripTrailingSeparators(home) + "/.config";
}

// A key or value name becomes one path component; anything that could climb out
// of the key's folder or name a different one is refused.
bool isSafeComponent(const std::string& part) {
  return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos &&
         part.find('\0') == std::string::npos;
}

bool splitKeyPath(const std::string& keyPath, std::vector<std::string>& parts) {
  size_t start = 0;
  for (;;) {
    const size_t sep = keyPath.find('\\', start);
    const std::string part = keyPath.substr(start, sep == std::string::npos ? std::string::npos
                                                                             : sep - start);
    if (!isSafeComponent(part)) return false;
    parts.push_back(part);
    if (sep == std::string::npos) return true;
    start = sep + 1;
  }
}

bool makeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  struct stat st {};
  return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Opening a key that is missing creates it: every folder along the path.
bool makeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (!makeFolder(path.substr(0, slash))) return false;
  }
  return makeFolder(path);
}

bool writeAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool writeValueFile(const std::string& path, uint32_t type, const void* data, size_t size) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const unsigned char typeBytes[4] = {
      static_cast<unsigned char>(type), static_cast<unsigned char>(type >> 8),
      static_cast<unsigned char>(type >> 16), static_cast<unsigned char>(type >> 24)};
  bool ok = writeAll(fd, typeBytes, sizeof typeBytes) && (size == 0 || writeAll(fd, data, size));
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace

std::string registryKeyFolder(const std::string& keyPath) {
  const std::string root = configRoot();
  std::vector<std::string> parts;
  if (root.empty() || !splitKeyPath(keyPath, parts)) return std::string();
  std::string folder = root;
  for (const std::string& part : parts) folder += "/" + part;
  return folder;
}

bool setRegistryValue(const std::string& name, uint32_t type, const void* data, size_t size) {
  const std::string baseKey = stripTrailingSeparators(g_registryBaseKey);
  if (baseKey.empty()) return false;
  if (data == nullptr && size != 0) return false;
  std::string keyPath = "SOFTWARE\\" + baseKey;
  std::string valueName = name;
  const size_t lastSep = name.rfind('\\');
  if (lastSep != std::string::npos) {
    keyPath += "\\" + name.substr(0, lastSep);
    valueName = name.substr(lastSep + 1);
  }
  if (!isSafeComponent(valueName)) return false;
  const std::string folder = registryKeyFolder(keyPath);
  if (folder.empty() || !makeFolders(folder)) return false;
  return writeValueFile(folder + "/" + valueName, type, data, size);
}

bool setRegistryDword(const std::string& name, uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return setRegistryValue(name, kRegistryTypeDword, bytes, sizeof bytes);
}
