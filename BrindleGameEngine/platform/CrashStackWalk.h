#pragma once
#include <cstddef>
#include <cstdint>

// The call-stack text of a crash report: one line per frame, the faulting
// instruction first, "0x<address> <module> + 0x<offset in module>" (an offset that
// addr2line takes), cut so the text never passes budget - 1 characters.
// Async-signal-safe once primeStackWalk has run outside a handler.
size_t formatStackWalk(uint64_t faultPc, char* buffer, size_t budget);

// Loads the unwinder ahead of time: its first use allocates.
void primeStackWalk();

// Formats one address with its module into buffer; returns characters written.
size_t formatAddress(uint64_t address, char* buffer, size_t budget);
