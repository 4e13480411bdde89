#pragma once

namespace bge {

// Prints the engine's assertion report to the error stream and returns, so the
// program goes on: "Assert failed:\t<message>\nExpected:\t<expression>\nSource:\t\t<file>, line <n>".
void assertReport(const char* message, const char* expression, const char* file, int line);

// Prints a failure of outside data or of the system (a content file, a write, the store) to
// the error stream: "Error:\t<message>". Not a fault of the program, so no expression or
// source line: the message says what failed and what the game does instead.
void errorReport(const char* message);

}  // namespace bge

// Reports when the condition is false; evaluates to the condition.
#define BGE_REPORT(cond) \
  ((cond) ? true : (bge::assertReport(#cond, #cond, __FILE__, __LINE__), false))
#define BGE_REPORT_MSG(cond, message) \
  ((cond) ? true : (bge::assertReport((message), #cond, __FILE__, __LINE__), false))
// Reports a data or system failure when the condition is false; evaluates to the condition.
#define BGE_ERROR_MSG(cond, message) ((cond) ? true : (bge::errorReport((message)), false))
