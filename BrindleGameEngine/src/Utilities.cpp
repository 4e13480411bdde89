#include "Utilities.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>

int randomInt(int n) {
  if (n <= 0) return 0;
  return std::rand() % n;
}

int randomRange(int low, int high) {
  if (high <= low) return low;
  // The span is computed wide so that extreme bounds do not overflow.
  const long long span = static_cast<long long>(high) - low;
  return static_cast<int>(low + std::rand() % span);
}

std::string toUpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

void splitString(std::string text, char delimiter, std::vector<std::string>& out) {
  size_t begin = 0;
  for (size_t pos = text.find(delimiter); pos != std::string::npos; pos = text.find(delimiter, begin)) {
    out.push_back(text.substr(begin, pos - begin));
    begin = pos + 1;
  }
  out.push_back(text.substr(begin));
}

void findAllOf(std::string text, std::vector<size_t>& out, char c) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) out.push_back(i);
  }
}

int countWords(std::string text) {
  int spaces = 0;
  for (char c : text) spaces += c == ' ' ? 1 : 0;
  return spaces + 1;
}

std::string stripTrailingSlash(std::string path) {
  if (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

namespace {
// The position of the extension dot, or npos when the last dot is in a folder name.
size_t extensionDot(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return dot;
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > dot) return std::string::npos;
  return dot;
}
}  // namespace

std::string getFileExtension(std::string path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string removeFileExtension(std::string path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

void makeDirectories(std::string path) {
  for (size_t pos = path.find('/'); pos != std::string::npos; pos = path.find('/', pos + 1)) {
    if (pos == 0) continue;  // the root itself
    mkdir(path.substr(0, pos).c_str(), 0755);
  }
  if (!path.empty()) mkdir(path.c_str(), 0755);
}

std::string getUserDataFolder() {
  std::string folder;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') {
    folder = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
      const passwd* pw = getpwuid(getuid());
      home = pw ? pw->pw_dir : nullptr;
    }
    if (home && home[0] == '/') folder = std::string(home) + "/.local/share";
  }
  folder = stripTrailingSlash(folder);
  // Without any home the files go beside the program rather than under "/".
  if (folder.empty()) {
    folder = ".";
    char here[4096];
    std::cout << "no home folder: the game's files go beside the program in "
              << (getcwd(here, sizeof here) ? here : ".") << std::endl;
  }
  std::cout << "user data folder = " << folder << std::endl;
  return folder;
}

std::string copyString(std::string text) { return text; }

std::string formatString(const char* format, ...) {
  constexpr size_t kMaxSize = 1000000;
  std::string out;
  va_list args;
  va_start(args, format);
  for (size_t size = 160; size <= kMaxSize * 2; size *= 2) {
    const size_t capped = size > kMaxSize ? kMaxSize : size;
    out.resize(capped);
    // Each attempt needs its own copy: vsnprintf consumes the list it is given.
    va_list attempt;
    va_copy(attempt, args);
    const int needed = std::vsnprintf(&out[0], capped, format, attempt);
    va_end(attempt);
    if (needed < 0) {
      out.clear();
      break;
    }
    if (static_cast<size_t>(needed) < capped) {
      out.resize(static_cast<size_t>(needed));
      break;
    }
    if (capped == kMaxSize) {  // too long for the largest buffer: keep what fits
      out.resize(kMaxSize - 1);
      break;
    }
  }
  va_end(args);
  return out;
}

std::string formatThousands(int n) {
  // Widened first: negating INT_MIN as an int would overflow.
  const long long value = n;
  const bool negative = value < 0;
  const std::string digits = std::to_string(negative ? -value : value);
  std::string out;
  const size_t count = digits.size();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return negative ? "-" + out : out;
}
