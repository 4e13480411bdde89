#pragma once
#include <sstream>
#include <string>

// One console line: "- <ctime> LEVEL: message", written to stdout when the Log dies.
//   Log().info() << "IMG_Init result " << flags;
class Log {
 public:
  enum Level { Error = 0, Warning = 1, Info = 2, Debug = 3, Verbose = 4 };

  Log() = default;
  ~Log();
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  std::ostringstream& info();
  std::ostringstream& error();

  static std::string levelName(int level);
  static std::string timestamp();
  int level() const { return level_; }

 private:
  std::ostringstream& begin(int level);

  int level_ = Verbose;
  std::ostringstream stream_;
};
