#include "AssertReport.h"

#include <cstdio>

namespace bge {

void assertReport(const char* message, const char* expression, const char* file, int line) {
  std::fprintf(stderr, "Assert failed:\t%s\nExpected:\t%s\nSource:\t\t%s, line %d\n", message,
               expression, file, line);
  std::fflush(stderr);
}

void errorReport(const char* message) {
  std::fprintf(stderr, "Error:\t%s\n", message);
  std::fflush(stderr);
}

}  // namespace bge
