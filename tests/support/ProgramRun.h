#pragma once
// Starts the real program the way a player does: from another folder, with default
// signal handling, SDL's dummy audio, optionally scripted input (STARMOOR_EVENT_SCRIPT),
// and its output kept in a log. The caller's TempUserDirs supply XDG_DATA_HOME and
// XDG_CONFIG_HOME.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace testenv {

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The unprivileged account a root test run hands the program to, so that file
// permissions mean for it what they mean for a player.
constexpr uid_t kNobody = 65534;

struct ProgramRun {
  std::string exe;      // the program
  std::string script;   // the event script, or empty for none
  std::string log;      // stdout and stderr
  bool asPlayer = false;  // when run as root, the program runs as kNobody
  bool ignoreHangUp = false;  // started as nohup starts it: SIGHUP ignored
  // A file-size limit (ulimit -f) in bytes for the program, -1 for none. The
  // limit would cut its log short too, so its output then comes through a pipe
  // that this process copies to the log.
  long long fileSizeLimit = -1;

  pid_t pid = -1;
  int status = -1;      // wait status, -1 while running or after a timeout
  std::string output;

  // Starts the program in the background, from the filesystem root.
  void start() {
    int relay[2] = {-1, -1};
    if (fileSizeLimit >= 0 && pipe2(relay, O_CLOEXEC) != 0) relay[0] = relay[1] = -1;
    pid = fork();
    if (pid != 0) {
      if (relay[1] >= 0) close(relay[1]);
      outPipe_ = relay[0];
      if (outPipe_ >= 0) {
        fcntl(outPipe_, F_SETFL, O_NONBLOCK);
        std::ofstream(log, std::ios::binary | std::ios::trunc);
      }
      return;
    }
    const int out = relay[1] >= 0 ? relay[1] : open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    if (chdir("/") != 0) _exit(126);
    // A player's start: default signal handling, whatever this test run inherited
    // (a run under nohup or in a background job ignores hang-ups and interrupts).
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) signal(sig, SIG_DFL);
    if (ignoreHangUp) signal(SIGHUP, SIG_IGN);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (script.empty()) unsetenv("STARMOOR_EVENT_SCRIPT");
    else setenv("STARMOOR_EVENT_SCRIPT", script.c_str(), 1);
    if (asPlayer && geteuid() == 0) {
      if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(125);
    }
    if (fileSizeLimit >= 0) {
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(124);
    }
    execl(exe.c_str(), exe.c_str(), "-windowed", static_cast<char*>(nullptr));
    _exit(127);
  }

  // Waits up to the given time; a program still running then is killed and
  // status stays -1. The log is read either way.
  int wait(int seconds) {
    status = -1;
    for (int tick = 0; tick < seconds * 20 && status == -1; ++tick) {
      int s = 0;
      drain();
      if (waitpid(pid, &s, WNOHANG) == pid) status = s;
      else usleep(50 * 1000);
    }
    if (status == -1) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    drain();
    if (outPipe_ >= 0) close(outPipe_);
    outPipe_ = -1;
    output = readText(log);
    return status;
  }

  int run(int seconds) {
    start();
    return wait(seconds);
  }

  // Waits up to the given time for the log to hold the text.
  bool waitForOutput(const std::string& text, int seconds) const {
    for (int tick = 0; tick < seconds * 20; ++tick) {
      drain();
      if (readText(log).find(text) != std::string::npos) return true;
      usleep(50 * 1000);
    }
    return false;
  }

  bool exitedWith(int code) const { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code; }

 private:
  // Copies what the relay pipe holds now to the log.
  void drain() const {
    if (outPipe_ < 0) return;
    std::ofstream out(log, std::ios::binary | std::ios::app);
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(outPipe_, chunk, sizeof chunk)) > 0) out.write(chunk, n);
  }
  int outPipe_ = -1;  // the relay's reading end, while the program runs
};

// The program copied into a folder of its own, with a copy of the content beside
// it (or none), for runs that damage the content.
inline std::string copyProgram(const std::string& from, const std::string& contentFrom,
                               const std::string& folder, bool withContent) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  const std::string exe = folder + "/" + fs::path(from).filename().string();
  fs::copy_file(from, exe, fs::copy_options::overwrite_existing);
  if (withContent) {
    fs::copy(contentFrom, folder + "/content",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  return exe;
}

// The program beside links to its content, but a configuration without logos:
// a run reaches the main menu on its first frame.
inline std::string programWithoutLogos(const std::string& program, const std::string& folder,
                                       const std::string& sourceDir) {
  namespace fs = std::filesystem;
  const fs::path content = fs::path(sourceDir) / "content";
  fs::create_directories(folder + "/content/config");
  const std::string exe = copyProgram(program, "", folder, false);
  for (const auto& entry : fs::directory_iterator(content)) {
    if (entry.path().filename() != "config")
      fs::create_symlink(entry.path(), fs::path(folder) / "content" / entry.path().filename());
  }
  for (const auto& entry : fs::directory_iterator(content / "config")) {
    if (entry.path().filename() != "config.xml")
      fs::create_symlink(entry.path(), fs::path(folder) / "content/config" / entry.path().filename());
  }
  const std::string config = readText((content / "config/config.xml").string());
  std::ofstream(folder + "/content/config/config.xml", std::ios::binary)
      << std::regex_replace(config, std::regex("<LogoScreens>[\\s\\S]*?</LogoScreens>"), "<LogoScreens/>");
  return exe;
}

}  // namespace testenv
