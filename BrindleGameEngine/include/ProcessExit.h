#pragma once

// Every way the engine ends the process goes through here, so tests can watch it.
using ProcessExitHook = void (*)(int code);

// Ends the process with the code through the current hook (std::exit by default).
// Only a test's hook returns; callers then unwind as if the process had ended.
void exitProcess(int code);
// Replaces the hook (nullptr restores std::exit); returns the previous one.
ProcessExitHook setProcessExitHook(ProcessExitHook hook);
