#pragma once
#include <signal.h>

#include <cstdint>

// Our raw dump in place of a system minidump, little-endian:
//   "BGECRASH" (8 bytes), version u32 (1), signal i32, signal code i32,
//   exception code u32, fault address u64, thread id u32,
//   register count u32, registers u64 x count (the kernel's general registers),
//   stack address u64, stack byte count u64, the stack bytes from the stack pointer,
//   "MAPS" (4 bytes), then /proc/self/maps as text to the end of the file.
// Async-signal-safe. True when every part was written.
bool writeRawDump(const char* path, int signal, const siginfo_t* info, const void* context,
                  uint32_t exceptionCode);
