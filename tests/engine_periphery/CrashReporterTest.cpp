#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TestEnv.h"
#include "platform/CrashMemoryStatus.h"
#include "platform/CrashReporter.h"
#include "platform/ProcMaps.h"
#include "platform/SafeWriter.h"

namespace fs = std::filesystem;

namespace {

// The faults are made where no compiler check or sanitizer can step in first:
// through an address the optimiser cannot see, in functions left uninstrumented.
volatile uintptr_t g_zeroAddress = 0;
volatile int g_zeroDivisor = 0;
volatile int g_neverReached = -1;
volatile int g_sink = 0;

__attribute__((noinline, no_sanitize("address", "undefined"))) void writeThroughNull() {
  *reinterpret_cast<volatile int*>(g_zeroAddress) = 1;
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int readThroughNull() {
  return *reinterpret_cast<volatile int*>(g_zeroAddress + 0x10);
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int divideByZero() {
  return 7 / g_zeroDivisor;
}

__attribute__((noinline)) int recurseForever(int depth) {
  if (depth == g_neverReached) return 0;
  volatile char frame[512];
  frame[depth % 512] = static_cast<char>(depth);
  return recurseForever(depth + 1) + frame[0];
}

// A scenario run inside a death-test child (or a re-executed copy of this program):
// move into the folder, install the reporter, fault.
void crashIn(const std::string& folder, const std::string& scenario) {
  if (chdir(folder.c_str()) != 0) _exit(90);
  installCrashHandler();
  if (scenario == "nullwrite") writeThroughNull();
  if (scenario == "nullread") readThroughNull();
  if (scenario == "recursion") recurseForever(0);
  if (scenario == "divide") g_sink = divideByZero();
  if (scenario == "abort") abort();
  if (scenario == "kill") kill(getpid(), SIGSEGV);
  _exit(91);
}

// A copy of this program started under another name crashes straight away.
struct CrashOnStart {
  CrashOnStart() {
    const char* scenario = std::getenv("STARMOOR_CRASH_SCENARIO");
    const char* folder = std::getenv("STARMOOR_CRASH_FOLDER");
    if (scenario && folder) crashIn(folder, scenario);
  }
} g_crashOnStart;

std::string ownProgramPath() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return std::string();
  self[n] = '\0';
  return self;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text between a section's underline and the next blank line.
std::string section(const std::string& report, const std::string& title) {
  const std::string head = title + "\n" + std::string(title.size(), '=') + "\n";
  const size_t start = report.find(head);
  if (start == std::string::npos) return std::string();
  const size_t body = start + head.size();
  const size_t end = report.find("\n\n", body);
  return report.substr(body, end == std::string::npos ? std::string::npos : end - body);
}

class CrashReporterDeathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "fast");
    folder_ = dirs_.root() + "/run";
    fs::create_directories(folder_);
  }
  std::string report() const { return readFile(folder_ + "/BrindleMedia-CrashReport.txt"); }
  std::string instructions() const {
    return readFile(folder_ + "/BrindleMedia-Crash-Instructions.txt");
  }
  std::string dump() const { return readFile(folder_ + "/BrindleMedia-CrashDump.dmp"); }

  testenv::TempUserDirs dirs_;
  std::string folder_;
};

}  // namespace

TEST_F(CrashReporterDeathTest, NullWriteNamesTheAccessViolationAndTheAddress) {
  EXPECT_EXIT(crashIn(folder_, "nullwrite"), ::testing::KilledBySignal(SIGSEGV),
              "Crash report written to");
  const std::string text = report();
  const std::string program = fs::path(ownProgramPath()).filename().string();
  EXPECT_EQ(text.rfind("Crash report\n============\nProcess: " + program + "\n", 0), 0u) << text;
  EXPECT_NE(text.find("Reason: 0xC0000005 - EXCEPTION_ACCESS_VIOLATION at "), std::string::npos);
  // 64-bit addresses in full, not cut to 32 bits.
  EXPECT_NE(text.find("\nAttempt to write to 0x0000000000000000\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nThread ID: 0x"), std::string::npos);
  const std::string stack = section(text, "Call stack");
  // The faulting instruction comes first, inside this program.
  EXPECT_EQ(stack.find("0x"), 0u);
  EXPECT_NE(stack.substr(0, stack.find('\n')).find(" " + program + " + 0x"), std::string::npos)
      << stack;
  EXPECT_NE(section(text, "Environment").find("Number of CPUs: "), std::string::npos);
  EXPECT_NE(section(text, "Memory status").find("Largest Free: "), std::string::npos);
  EXPECT_NE(section(text, "Registers").find("RIP="), std::string::npos);
  EXPECT_NE(text.find("\nMini dump saved successfully.\n"), std::string::npos);

  const std::string raw = dump();
  ASSERT_GT(raw.size(), 64u);
  EXPECT_EQ(raw.substr(0, 8), "BGECRASH");
  int32_t signal = 0;
  memcpy(&signal, raw.data() + 12, sizeof signal);
  EXPECT_EQ(signal, SIGSEGV);
  EXPECT_NE(raw.find("MAPS"), std::string::npos);

  // The instructions say where the files are.
  const std::string help = instructions();
  EXPECT_EQ(help.rfind("Crash Report Instructions\n\n", 0), 0u);
  EXPECT_NE(help.find("In the folder " + fs::canonical(folder_).string() +
                      " there should be two files:\nBrindleMedia-CrashDump.dmp\n"
                      "BrindleMedia-CrashReport.txt\n\n"),
            std::string::npos)
      << help;
}

TEST_F(CrashReporterDeathTest, OtherFaultsAreNamedByKind) {
  EXPECT_EXIT(crashIn(folder_, "nullread"), ::testing::KilledBySignal(SIGSEGV), "");
  EXPECT_NE(report().find("\nAttempt to read from 0x0000000000000010\n"), std::string::npos)
      << report();

  EXPECT_EXIT(crashIn(folder_, "divide"), ::testing::KilledBySignal(SIGFPE), "");
  EXPECT_NE(report().find("Reason: 0xC0000094 - EXCEPTION_INT_DIVIDE_BY_ZERO"), std::string::npos)
      << report();
  EXPECT_EQ(report().find("Attempt to"), std::string::npos);

  EXPECT_EXIT(crashIn(folder_, "abort"), ::testing::KilledBySignal(SIGABRT), "");
  EXPECT_NE(report().find("Reason: 0x40000015 - UNKNOWN"), std::string::npos) << report();

  // Sent by a process: the record holds the sender, which is no address.
  EXPECT_EXIT(crashIn(folder_, "kill"), ::testing::KilledBySignal(SIGSEGV), "");
  EXPECT_NE(report().find("EXCEPTION_ACCESS_VIOLATION"), std::string::npos) << report();
  EXPECT_EQ(report().find("Attempt to"), std::string::npos) << report();
}

TEST_F(CrashReporterDeathTest, DeepRecursionStillReportsWithinTheStackBudget) {
  EXPECT_EXIT(crashIn(folder_, "recursion"), ::testing::KilledBySignal(SIGSEGV),
              "EXCEPTION_STACK_OVERFLOW detected!");
  const std::string text = report();
  EXPECT_NE(text.find("Reason: 0xC00000FD - EXCEPTION_STACK_OVERFLOW"), std::string::npos) << text;
  const size_t head = text.find("Call stack\n==========\n");
  const size_t env = text.find("Environment\n===========\n");
  ASSERT_NE(head, std::string::npos);
  ASSERT_NE(env, std::string::npos);
  // The section holds the walk (at most 2047 characters) and its closing line break.
  const size_t walked = env - head - strlen("Call stack\n==========\n") - 1;
  EXPECT_LE(walked, 2047u);
  EXPECT_GT(walked, 1500u) << "a deep stack should nearly fill the section";
  EXPECT_NE(text.find("\nMini dump saved successfully.\n"), std::string::npos);
}

TEST_F(CrashReporterDeathTest, ASecondFaultWritesNothingMore) {
  auto twice = [this] {
    if (chdir(folder_.c_str()) != 0) _exit(90);
    installCrashHandler();
    if (writeCrashReport(SIGSEGV, nullptr, nullptr) != 0) _exit(92);
    if (writeCrashReport(SIGSEGV, nullptr, nullptr) != -1) _exit(93);
    unlink("BrindleMedia-CrashReport.txt");
    unlink("BrindleMedia-CrashDump.dmp");
    unlink("BrindleMedia-Crash-Instructions.txt");
    writeThroughNull();
    _exit(91);
  };
  EXPECT_EXIT(twice(), ::testing::KilledBySignal(SIGSEGV), "");
  EXPECT_FALSE(fs::exists(folder_ + "/BrindleMedia-CrashReport.txt"));
  EXPECT_FALSE(fs::exists(folder_ + "/BrindleMedia-CrashDump.dmp"));
  EXPECT_FALSE(fs::exists(folder_ + "/BrindleMedia-Crash-Instructions.txt"));
}

TEST_F(CrashReporterDeathTest, UnwritableWorkingFolderFallsBackToUserData) {
  // Nobody, not even root, creates files in /proc.
  EXPECT_EXIT(crashIn("/proc", "nullwrite"), ::testing::KilledBySignal(SIGSEGV), "");
  const std::string text = readFile(dirs_.data() + "/BrindleMedia-CrashReport.txt");
  EXPECT_NE(text.find("EXCEPTION_ACCESS_VIOLATION"), std::string::npos);
  EXPECT_NE(readFile(dirs_.data() + "/BrindleMedia-Crash-Instructions.txt")
                .find("In the folder " + dirs_.data() + " there should be two files:"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dirs_.data() + "/BrindleMedia-CrashDump.dmp"));
}

TEST_F(CrashReporterDeathTest, ProcessNameWithPercentSignsIsWrittenAsIs) {
  const std::string self = ownProgramPath();
  ASSERT_FALSE(self.empty());
  const std::string odd = folder_ + "/star%s%n%x%08X";
  fs::copy_file(self, odd);
  fs::permissions(odd, fs::perms::owner_all);
  auto runCopy = [&] {
    setenv("STARMOOR_CRASH_SCENARIO", "nullwrite", 1);
    setenv("STARMOOR_CRASH_FOLDER", folder_.c_str(), 1);
    execl(odd.c_str(), odd.c_str(), static_cast<char*>(nullptr));
    _exit(94);
  };
  EXPECT_EXIT(runCopy(), ::testing::KilledBySignal(SIGSEGV), "");
  EXPECT_NE(report().find("\nProcess: star%s%n%x%08X\n"), std::string::npos) << report();
}

TEST(CrashFormatting, SafeWriterKeepsToItsBudgetAndPrintsFullWidths) {
  char buffer[8];
  SafeWriter small(buffer, sizeof buffer);
  small.text("0123456789");
  EXPECT_STREQ(buffer, "0123456");
  EXPECT_TRUE(small.truncated());
  EXPECT_EQ(small.length(), 7u);

  char wide[96];
  SafeWriter out(wide, sizeof wide);
  out.address(0xFFFFFFFF00000010ull).character(' ').decimal(INT64_MIN).character(' ');
  out.hex(0xAB, 4).character(' ').paddedDecimal(7, 2).character(' ').text("100%s");
  EXPECT_STREQ(wide, "0xFFFFFFFF00000010 -9223372036854775808 00AB 07 100%s");
  EXPECT_FALSE(out.truncated());
}

TEST(CrashFormatting, MapsLinesAndMemoryTotals) {
  const char line[] = "7f12a000-7f12c000 r-xp 0001f000 08:01 123   /usr/lib/my lib.so";
  MappedRegion region;
  ASSERT_TRUE(parseMapsLine(line, strlen(line), region));
  EXPECT_EQ(region.start, 0x7f12a000u);
  EXPECT_EQ(region.end, 0x7f12c000u);
  EXPECT_EQ(region.fileOffset, 0x1f000u);
  EXPECT_TRUE(region.readable && region.executable && !region.writable);
  EXPECT_STREQ(region.path, "/usr/lib/my lib.so");
  const char anon[] = "7f000000-7f001000 ---p 00000000 00:00 0 ";
  ASSERT_TRUE(parseMapsLine(anon, strlen(anon), region));
  EXPECT_STREQ(region.path, "");
  const char bad[] = "zz-7f001000 ---p";
  EXPECT_FALSE(parseMapsLine(bad, strlen(bad), region));

  // Every byte of user space is counted exactly once.
  MemoryStatus status;
  ASSERT_TRUE(queryMemoryStatus(status));
  EXPECT_GT(status.totalCommitted, 0u);
  EXPECT_LE(status.largestFree, status.totalFree);
  EXPECT_EQ(status.totalFree + status.totalReserved + status.totalCommitted,
            0x00007FFFFFFFF000ull);
}
