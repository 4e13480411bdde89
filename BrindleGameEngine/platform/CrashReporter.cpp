#include "platform/CrashReporter.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <string>

#include "Utilities.h"
#include "platform/CrashDump.h"
#include "platform/CrashMemoryStatus.h"
#include "platform/CrashStackWalk.h"
#include "platform/SafeWriter.h"

const char* const kCrashDumpFileName = "BrindleMedia-CrashDump.dmp";
const char* const kCrashReportFileName = "BrindleMedia-CrashReport.txt";
const char* const kCrashInstructionsFileName = "BrindleMedia-Crash-Instructions.txt";

namespace {

const char* const kSupportAddress = "support@brindlemedia-games.example";
constexpr size_t kCallStackBudget = 2048;  // at most 2047 characters are used
constexpr size_t kAltStackSize = 256 * 1024;
constexpr size_t kPathSize = PATH_MAX + 64;
const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// The thread writing the report; 0 while none has started. A report is written once.
std::atomic<pid_t> g_writerThread{0};
alignas(16) char g_altStack[kAltStackSize];
// Looked up at install time: neither is safe to compute inside a handler.
char g_fallbackFolder[kPathSize];
int g_cpuCount = 1;
long g_utcOffsetSeconds = 0;

pid_t currentThreadId() { return static_cast<pid_t>(syscall(SYS_gettid)); }

struct FaultState {
  int signal = 0;
  uint32_t code = 0;
  uint64_t address = 0;
  uint64_t pc = 0;
  uint64_t sp = 0;
  bool isWrite = false;
  // A signal sent by a process (kill, raise) carries its sender, not an address.
  bool sent = false;
  const ucontext_t* context = nullptr;
};

FaultState readFault(int signal, const siginfo_t* info, const void* context) {
  FaultState f;
  f.signal = signal;
  f.context = static_cast<const ucontext_t*>(context);
  f.sent = info == nullptr || info->si_code <= 0;
  if (!f.sent) f.address = reinterpret_cast<uint64_t>(info->si_addr);
#if defined(__x86_64__)
  if (f.context) {
    const greg_t* r = f.context->uc_mcontext.gregs;
    f.pc = static_cast<uint64_t>(r[REG_RIP]);
    f.sp = static_cast<uint64_t>(r[REG_RSP]);
    // Bit 1 of the page-fault error code marks a write.
    f.isWrite = (r[REG_ERR] & 2) != 0;
  }
#endif
  f.code = exceptionCodeForSignal(signal, info ? info->si_code : 0, f.address,
                                  f.sent ? 0 : f.sp);
  return f;
}

// Joins folder and file name; false when the path would not fit.
bool joinPath(char* out, const char* folder, const char* name) {
  SafeWriter w(out, kPathSize);
  if (folder[0] != '\0') w.text(folder).character('/');
  w.text(name);
  return !w.truncated();
}

int createFile(const char* path) {
  return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// Opens the report in the working folder, else in the fallback folder; tells
// which folder (as an absolute path) was used.
int openReport(char* folder) {
  int fd = createFile(kCrashReportFileName);
  if (fd >= 0) {
    // getcwd(3) is not on the async-signal-safe list; the system call is.
    if (syscall(SYS_getcwd, folder, kPathSize) <= 0) strcpy(folder, ".");
    return fd;
  }
  char path[kPathSize];
  if (g_fallbackFolder[0] == '\0' || !joinPath(path, g_fallbackFolder, kCrashReportFileName)) {
    return -1;
  }
  fd = createFile(path);
  if (fd >= 0) strcpy(folder, g_fallbackFolder);
  return fd;
}

void writeProcessName(SafeWriter& out) {
  char path[kPathSize];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return;
  path[n] = '\0';
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '/') name = p + 1;
  }
  out.text(name);  // plain data: a '%' in the name is just a character
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void writeDateTime(SafeWriter& out) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t local = static_cast<int64_t>(now.tv_sec) + g_utcOffsetSeconds;
  int64_t days = local / 86400;
  int64_t secs = local % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  int year = 1970, month = 1, day = 1;
  civilFromDays(days, year, month, day);
  out.text("Date/time: ").decimal(day).character('/').decimal(month).character('/').decimal(year);
  out.text(", ").paddedDecimal(static_cast<uint64_t>(secs / 3600), 2).character(':');
  out.paddedDecimal(static_cast<uint64_t>(secs / 60 % 60), 2).character(':');
  out.paddedDecimal(static_cast<uint64_t>(secs % 60), 2).character(':');
  out.decimal(now.tv_nsec / 1000000).character('\n');
}

void writeEnvironment(SafeWriter& out) {
  out.text("Environment\n===========\n");
  writeDateTime(out);
  out.text("Number of CPUs: ").decimal(g_cpuCount).character('\n');
#if defined(__x86_64__)
  const int processorType = 8664;
#else
  const int processorType = 0;
#endif
  out.text("Processor type: ").decimal(processorType).character('\n');
  utsname system{};
  out.text("System: ");
  if (uname(&system) == 0) {
    out.text(system.sysname).character(' ').text(system.release).text(" (");
    out.text(system.version).text(") ").text(system.machine);
  } else {
    out.text("unknown");
  }
  out.text("\n\n");
}

void writeSizeLine(SafeWriter& out, const char* label, uint64_t bytes) {
  out.text(label).unsignedDecimal(bytes >> 10).text("K (").unsignedDecimal(bytes >> 20);
  out.text("M) bytes\n");
}

void writeMemoryStatus(SafeWriter& out) {
  MemoryStatus status;
  queryMemoryStatus(status);
  out.text("Memory status\n=============\n");
  writeSizeLine(out, "Total Reserved: ", status.totalReserved);
  writeSizeLine(out, "Total Commited: ", status.totalCommitted);
  writeSizeLine(out, "Total Free: ", status.totalFree);
  writeSizeLine(out, "Largest Free: ", status.largestFree);
  out.character('\n');
}

void writeRegisters(SafeWriter& out, const ucontext_t* context) {
#if defined(__x86_64__)
  if (!context) return;
  const greg_t* r = context->uc_mcontext.gregs;
  auto reg = [&](const char* name, int index) {
    out.text(name).character('=').hex(static_cast<uint64_t>(r[index]), 16);
  };
  out.text("Registers\n=========\n");
  reg("RAX", REG_RAX); out.character(' '); reg("RBX", REG_RBX); out.character(' ');
  reg("RCX", REG_RCX); out.character(' '); reg("RDX", REG_RDX); out.character('\n');
  reg("RSI", REG_RSI); out.character(' '); reg("RDI", REG_RDI); out.character(' ');
  reg("RBP", REG_RBP); out.character(' '); reg("RSP", REG_RSP); out.character('\n');
  reg("R8", REG_R8); out.character(' '); reg("R9", REG_R9); out.character(' ');
  reg("R10", REG_R10); out.character(' '); reg("R11", REG_R11); out.character('\n');
  reg("R12", REG_R12); out.character(' '); reg("R13", REG_R13); out.character(' ');
  reg("R14", REG_R14); out.character(' '); reg("R15", REG_R15); out.character('\n');
  reg("RIP", REG_RIP); out.character('\n');
  const uint64_t segments = static_cast<uint64_t>(r[REG_CSGSFS]);
  out.text("FLG=").hex(static_cast<uint64_t>(r[REG_EFL]) & 0xFFFFFFFFu, 8);
  out.text(" CS=").hex(segments & 0xFFFF, 4).text(" GS=").hex((segments >> 16) & 0xFFFF, 4);
  out.text(" FS=").hex((segments >> 32) & 0xFFFF, 4).text(" SS=").hex(segments >> 48, 4);
  out.text("\n\n");
#else
  (void)out;
  (void)context;
#endif
}

uint64_t codeSegment(const ucontext_t* context) {
#if defined(__x86_64__)
  if (context) return static_cast<uint64_t>(context->uc_mcontext.gregs[REG_CSGSFS]) & 0xFFFF;
#endif
  (void)context;
  return 0;
}

void writeReport(int fd, const FaultState& f, bool dumpSaved) {
  SafeWriter out(fd);
  out.text("Crash report\n============\n");
  out.text("Process: ");
  writeProcessName(out);
  out.character('\n');
  out.text("Reason: 0x").hex(f.code).text(" - ").text(exceptionName(f.code));
  out.text(" at ").hex(codeSegment(f.context), 4).character(':').address(f.pc).character('\n');
  if (f.code == kExceptionAccessViolation && !f.sent) {
    out.text("Attempt to ").text(f.isWrite ? "write to" : "read from").character(' ');
    out.address(f.address).character('\n');
  }
  const pid_t tid = currentThreadId();
  out.text("Thread ID: 0x").hex(static_cast<uint64_t>(tid)).text(" [").decimal(tid).text("]\n\n");
  char stack[kCallStackBudget];
  formatStackWalk(f.pc, stack, sizeof stack);
  out.text("Call stack\n==========\n").text(stack).character('\n');
  writeEnvironment(out);
  writeMemoryStatus(out);
  writeRegisters(out, f.context);
  out.text(dumpSaved ? "\nMini dump saved successfully.\n" : "\nFailed to save minidump.\n");
  out.flush();
}

void writeInstructions(const char* folder) {
  char path[kPathSize];
  if (!joinPath(path, folder, kCrashInstructionsFileName)) return;
  const int fd = createFile(path);
  if (fd < 0) return;
  SafeWriter out(fd);
  out.text("Crash Report Instructions\n\n");
  out.text("Your game crashed and we are very sorry about this.\n");
  out.text("In the folder ").text(folder).text(" there should be two files:\n");
  out.text(kCrashDumpFileName).character('\n');
  out.text(kCrashReportFileName).text("\n\n");
  out.text("Please email those files to: ").text(kSupportAddress).character('\n');
  out.text("We'll make sure to check the issue and release an update for our game, "
           "as soon as possible.\n\n");
  out.text("Thanks for the help.\n");
  out.text("Brindle Media Support Team");
  out.flush();
  close(fd);
}

void tellStandardError(const char* a, const char* b) {
  SafeWriter err(STDERR_FILENO);
  err.text(a).text(b).character('\n');
}

void restoreDefaultAction(int signal) {
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

void onFatalSignal(int signal, siginfo_t* info, void* context) {
  const int savedErrno = errno;
  const pid_t writer = g_writerThread.load();
  if (writer != 0 && writer != currentThreadId()) {
    // Another thread is writing the report and will end the process; wait for it
    // rather than cutting its files short.
    for (;;) pause();
  }
  writeCrashReport(signal, info, context);
  restoreDefaultAction(signal);
  // Pending until the handler returns; a fault then meets the default action too.
  raise(signal);
  errno = savedErrno;
}

void recordFallbackFolder() {
  const std::string folder = getUserDataFolder();
  g_fallbackFolder[0] = '\0';
  if (folder.size() + 1 < sizeof g_fallbackFolder && folder != ".") {
    memcpy(g_fallbackFolder, folder.c_str(), folder.size() + 1);
  }
}

}  // namespace

const char* exceptionName(uint32_t code) {
  switch (code) {
    case kExceptionAccessViolation: return "EXCEPTION_ACCESS_VIOLATION";
    case kExceptionDatatypeMisalignment: return "EXCEPTION_DATATYPE_MISALIGNMENT";
    case kExceptionBreakpoint: return "EXCEPTION_BREAKPOINT";
    case kExceptionSingleStep: return "EXCEPTION_SINGLE_STEP";
    case kExceptionArrayBoundsExceeded: return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case kExceptionFltDenormalOperand: return "EXCEPTION_FLT_DENORMAL_OPERAND";
    case kExceptionFltDivideByZero: return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
    case kExceptionFltInexactResult: return "EXCEPTION_FLT_INEXACT_RESULT";
    case kExceptionFltInvalidOperation: return "EXCEPTION_FLT_INVALID_OPERATION";
    case kExceptionFltOverflow: return "EXCEPTION_FLT_OVERFLOW";
    case kExceptionFltStackCheck: return "EXCEPTION_FLT_STACK_CHECK";
    case kExceptionFltUnderflow: return "EXCEPTION_FLT_UNDERFLOW";
    case kExceptionIntDivideByZero: return "EXCEPTION_INT_DIVIDE_BY_ZERO";
    case kExceptionIntOverflow: return "EXCEPTION_INT_OVERFLOW";
    case kExceptionPrivInstruction: return "EXCEPTION_PRIV_INSTRUCTION";
    case kExceptionInPageError: return "EXCEPTION_IN_PAGE_ERROR";
    case kExceptionIllegalInstruction: return "EXCEPTION_ILLEGAL_INSTRUCTION";
    case kExceptionNoncontinuableException: return "EXCEPTION_NONCONTINUABLE_EXCEPTION";
    case kExceptionStackOverflow: return "EXCEPTION_STACK_OVERFLOW";
    case kExceptionInvalidDisposition: return "EXCEPTION_INVALID_DISPOSITION";
    case kExceptionGuardPage: return "EXCEPTION_GUARD_PAGE";
    case kExceptionInvalidHandle: return "EXCEPTION_INVALID_HANDLE";
    default: return "UNKNOWN";
  }
}

uint32_t exceptionCodeForSignal(int signal, int code, uint64_t faultAddress,
                                uint64_t stackPointer) {
  switch (signal) {
    case SIGSEGV: {
      // A fault just below (or at) the stack pointer is the stack running into
      // its guard region.
      const uint64_t window = 64 * 1024;
      if (stackPointer != 0 && faultAddress + window >= stackPointer &&
          faultAddress <= stackPointer + window) {
        return kExceptionStackOverflow;
      }
      return kExceptionAccessViolation;
    }
    case SIGBUS:
      return code == BUS_ADRALN ? kExceptionDatatypeMisalignment : kExceptionInPageError;
    case SIGFPE:
      switch (code) {
        case FPE_INTDIV: return kExceptionIntDivideByZero;
        case FPE_INTOVF: return kExceptionIntOverflow;
        case FPE_FLTDIV: return kExceptionFltDivideByZero;
        case FPE_FLTOVF: return kExceptionFltOverflow;
        case FPE_FLTUND: return kExceptionFltUnderflow;
        case FPE_FLTRES: return kExceptionFltInexactResult;
        case FPE_FLTSUB: return kExceptionArrayBoundsExceeded;
        default: return kExceptionFltInvalidOperation;
      }
    case SIGILL:
      return (code == ILL_PRVOPC || code == ILL_PRVREG) ? kExceptionPrivInstruction
                                                        : kExceptionIllegalInstruction;
    case SIGTRAP:
      return code == TRAP_TRACE ? kExceptionSingleStep : kExceptionBreakpoint;
    default:
      return kExceptionFatalAppExit;
  }
}

int writeCrashReport(int signal, siginfo_t* info, void* context) {
  pid_t expected = 0;
  if (!g_writerThread.compare_exchange_strong(expected, currentThreadId())) return -1;

  const FaultState fault = readFault(signal, info, context);
  if (fault.code == kExceptionStackOverflow) {
    tellStandardError("*** FATAL ERROR: EXCEPTION_STACK_OVERFLOW detected!", "");
  }
  char folder[kPathSize];
  folder[0] = '\0';
  const int reportFd = openReport(folder);
  if (reportFd < 0) {
    tellStandardError("*** Crash report could not be written", "");
    return 0;
  }
  char dumpPath[kPathSize];
  const bool dumpSaved = joinPath(dumpPath, folder, kCrashDumpFileName) &&
                         writeRawDump(dumpPath, signal, info, context, fault.code);
  writeReport(reportFd, fault, dumpSaved);
  close(reportFd);
  writeInstructions(folder);
  tellStandardError("*** Crash report written to ", folder);
  return 0;
}

void installCrashHandler() {
  recordFallbackFolder();
  g_cpuCount = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
  const time_t now = time(nullptr);
  tm local{};
  if (localtime_r(&now, &local)) g_utcOffsetSeconds = local.tm_gmtoff;
  primeStackWalk();

  stack_t altStack{};
  altStack.ss_sp = g_altStack;
  altStack.ss_size = sizeof g_altStack;
  sigaltstack(&altStack, nullptr);

  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_sigaction = &onFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  for (int s : kSignals) sigaction(s, &action, nullptr);
}
