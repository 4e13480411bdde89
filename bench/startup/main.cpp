// startup_bench [runs]: how long the game takes from process start to the first
// frame of its title screen, with the start-up logos left out. Each run starts
// the real program from a scratch folder that holds a copy of it and its
// content with the logo list emptied, reads its output through a pipe and
// stops the clock at the title screen's first-frame line, noting the CPU time
// the program has used by then. Prints every run and the medians. Needs a
// display (Xvfb) like the game itself.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFirstFrameLine = "main menu: first frame";
constexpr int kTimeoutSeconds = 60;

std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program beside its content, every entry a link to the real one but the
// configuration, whose logo list is empty.
bool makeProgramFolder(const fs::path& exe, const fs::path& work) {
  const fs::path content = fs::canonical(exe.parent_path() / "content");
  fs::create_directories(work / "content" / "config");
  fs::copy_file(exe, work / "Starmoor", fs::copy_options::overwrite_existing);
  for (const auto& entry : fs::directory_iterator(content)) {
    if (entry.path().filename() == "config") continue;
    fs::create_symlink(entry.path(), work / "content" / entry.path().filename());
  }
  for (const auto& entry : fs::directory_iterator(content / "config")) {
    if (entry.path().filename() == "config.xml") continue;
    fs::create_symlink(entry.path(), work / "content" / "config" / entry.path().filename());
  }
  const std::string config = readText(content / "config" / "config.xml");
  const std::regex logos("<LogoScreens>[\\s\\S]*?</LogoScreens>");
  if (!std::regex_search(config, logos)) return false;
  std::ofstream(work / "content" / "config" / "config.xml") << std::regex_replace(config, logos, "<LogoScreens/>");
  std::ofstream(work / "events.txt") << "30 quit\n";
  return true;
}

// CPU time the program's live threads have run so far, in ms (the scheduler's
// nanosecond counts): on a busy machine it shows the work that the wall clock
// mixes with waiting for a core.
double cpuMsOf(pid_t pid) {
  double ns = 0.0;
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
    std::ifstream in(task.path() / "schedstat");
    double run = 0.0;
    if (in >> run) ns += run;
  }
  return ns / 1.0e6;
}

struct Start {
  double wallMs = -1.0;  // to the first-frame line; -1: it never came
  double cpuMs = -1.0;   // the program's CPU time by then
};

Start timeOneStart(const fs::path& work, int run) {
  const fs::path user = work / ("user" + std::to_string(run));
  fs::create_directories(user / "data");
  fs::create_directories(user / "config");
  int out[2];
  if (pipe(out) != 0) return {};
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    close(out[0]);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("STARMOOR_STORE", "none", 1);
    setenv("XDG_DATA_HOME", (user / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (user / "config").c_str(), 1);
    setenv("STARMOOR_EVENT_SCRIPT", (work / "events.txt").c_str(), 1);
    const std::string program = (work / "Starmoor").string();
    execl(program.c_str(), program.c_str(), "-windowed", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  Start s;
  std::string seen;
  char buffer[4096];
  alarm(kTimeoutSeconds);
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    seen.append(buffer, static_cast<size_t>(n));
    if (s.wallMs < 0.0 && seen.find(kFirstFrameLine) != std::string::npos) {
      s.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      s.cpuMs = cpuMsOf(pid);
    }
  }
  alarm(0);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return s;
}

double medianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

void onAlarm(int) {}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  struct sigaction sa {};
  sa.sa_handler = onAlarm;  // a hung program ends the read, not the bench
  sigaction(SIGALRM, &sa, nullptr);
  const fs::path exe = fs::canonical("/proc/self/exe").parent_path() / "Starmoor";
  char tmpl[] = "/tmp/starmoor-startup-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const fs::path work = tmpl;
  if (!fs::exists(exe) || !makeProgramFolder(exe, work)) {
    std::fprintf(stderr, "cannot prepare the program beside %s\n", exe.c_str());
    fs::remove_all(work);
    return 1;
  }
  std::vector<double> times, cpu;
  for (int run = 0; run < runs; ++run) {
    const Start s = timeOneStart(work, run);
    if (s.wallMs < 0) {
      std::printf("run %2d: no title screen\n", run + 1);
      continue;
    }
    std::printf("run %2d: %.1f ms (CPU %.1f ms)\n", run + 1, s.wallMs, s.cpuMs);
    times.push_back(s.wallMs);
    cpu.push_back(s.cpuMs);
  }
  fs::remove_all(work);
  if (times.empty()) return 1;
  std::printf("start-up to the title screen's first frame: median %.1f ms over %zu runs (min %.1f, max %.1f); "
              "CPU median %.1f ms\n",
              medianOf(times), times.size(), *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), medianOf(cpu));
  return 0;
}
