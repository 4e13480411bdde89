#include "Log.h"

#include <ctime>
#include <iostream>

Log::~Log() { std::cout << stream_.str() << std::endl; }

std::ostringstream& Log::info() { return begin(Info); }

std::ostringstream& Log::error() { return begin(Error); }

std::ostringstream& Log::begin(int level) {
  level_ = level;
  stream_ << "- " << timestamp() << " " << levelName(level) << ": ";
  return stream_;
}

std::string Log::levelName(int level) {
  static const char* const names[] = {"ERROR", "WARNING", "INFO", "DEBUG", "VERBOSE"};
  if (level < 0 || level > Verbose) return std::string();
  return names[level];
}

std::string Log::timestamp() {
  const std::time_t now = std::time(nullptr);
  char buffer[64] = {0};
  std::tm local{};
  localtime_r(&now, &local);
  // Same text as ctime: "Tue Dec  8 19:22:34 2026" (no line break).
  std::strftime(buffer, sizeof buffer, "%a %b %e %H:%M:%S %Y", &local);
  return buffer;
}
