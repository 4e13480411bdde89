#pragma once

namespace bge {

// Prints the engine's assertion report to the error stream and returns, so the
// program goes on: "Assert failed:\t<message>\nExpected:\t<expression>\nSource:\t\t<file>, line <n>".
void assertReport(const char* message, const char* expression, const char* file, int line);

}  // namespace bge

// Reports when the condition is false; evaluates to the condition.
#define BGE_REPORT(cond) \
  ((cond) ? true : (bge::assertReport(#cond, #cond, __FILE__, __LINE__), false))
#define BGE_REPORT_MSG(cond, message) \
  ((cond) ? true : (bge::assertReport((message), #cond, __FILE__, __LINE__), false))
