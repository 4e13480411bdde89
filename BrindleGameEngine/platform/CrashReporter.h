#pragma once
#include <signal.h>

#include <cstddef>
#include <cstdint>

// Writes three files when the process dies of a fault (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT): a raw dump of registers and stack, a plain-text report and a
// short instruction text for the player; then the signal's default action ends
// the process. Everything runs on an alternate signal stack with async-signal-safe
// calls only. Files go to the working folder, or to the user-data folder when the
// working folder cannot be written.

extern const char* const kCrashDumpFileName;          // "BrindleMedia-CrashDump.dmp"
extern const char* const kCrashReportFileName;        // "BrindleMedia-CrashReport.txt"
extern const char* const kCrashInstructionsFileName;  // "BrindleMedia-Crash-Instructions.txt"

// Exception codes the report names faults by.
enum : uint32_t {
  kExceptionAccessViolation = 0xC0000005u,
  kExceptionDatatypeMisalignment = 0x80000002u,
  kExceptionBreakpoint = 0x80000003u,
  kExceptionSingleStep = 0x80000004u,
  kExceptionArrayBoundsExceeded = 0xC000008Cu,
  kExceptionFltDenormalOperand = 0xC000008Du,
  kExceptionFltDivideByZero = 0xC000008Eu,
  kExceptionFltInexactResult = 0xC000008Fu,
  kExceptionFltInvalidOperation = 0xC0000090u,
  kExceptionFltOverflow = 0xC0000091u,
  kExceptionFltStackCheck = 0xC0000092u,
  kExceptionFltUnderflow = 0xC0000093u,
  kExceptionIntDivideByZero = 0xC0000094u,
  kExceptionIntOverflow = 0xC0000095u,
  kExceptionPrivInstruction = 0xC0000096u,
  kExceptionInPageError = 0xC0000006u,
  kExceptionIllegalInstruction = 0xC000001Du,
  kExceptionNoncontinuableException = 0xC0000025u,
  kExceptionStackOverflow = 0xC00000FDu,
  kExceptionInvalidDisposition = 0xC0000026u,
  kExceptionGuardPage = 0x80000001u,
  kExceptionInvalidHandle = 0xC0000008u,
  // abort(): the status a fatal application exit carries; it has no name.
  kExceptionFatalAppExit = 0x40000015u,
};

// Installs the handlers and the calling thread's alternate stack; records the
// fallback folder and the facts that are unsafe to look up inside a handler.
void installCrashHandler();

// The handler's work: returns 0 after writing, -1 at once (writing nothing) when a
// report is already being or has been written. Does not end the process.
int writeCrashReport(int signal, siginfo_t* info, void* context);

// "EXCEPTION_ACCESS_VIOLATION" and so on; "UNKNOWN" for any other code.
const char* exceptionName(uint32_t code);

// The exception code for a signal; a SIGSEGV whose address lies just beyond the
// stack pointer is a stack overflow.
uint32_t exceptionCodeForSignal(int signal, int code, uint64_t faultAddress,
                                uint64_t stackPointer);
