#include "ProcessExit.h"

#include <cstdio>
#include <cstdlib>

namespace {
void defaultExit(int code) {
  std::fflush(nullptr);
  std::exit(code);
}
ProcessExitHook g_exitHook = &defaultExit;
}  // namespace

void exitProcess(int code) { g_exitHook(code); }

ProcessExitHook setProcessExitHook(ProcessExitHook hook) {
  ProcessExitHook previous = g_exitHook;
  g_exitHook = hook ? hook : &defaultExit;
  return previous;
}
