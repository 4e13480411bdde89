// The real program closed the way a window manager closes it: a WM_DELETE_WINDOW
// message to its window, with no scripted input at all.
#include <gtest/gtest.h>

#if defined(STARMOOR_EXE) && defined(STARMOOR_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestEnv.h"

namespace {

unsigned long windowPid(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) return 0;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  unsigned long pid = 0;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data && type == XA_CARDINAL && format == 32 && count == 1) {
    pid = *reinterpret_cast<unsigned long*>(data);
  }
  if (data) XFree(data);
  return pid;
}

// Windows of other tests' programs come and go while the tree is walked; a
// request on one that has just gone is no failure of ours. Xlib's default
// handler would end the test process for it.
int ignoreVanishedWindow(Display*, XErrorEvent*) { return 0; }

// Other tests may run the program on the same display at the same time, so the
// window is told apart by the process that owns it.
Window findMappedWindowOf(Display* display, pid_t pid) {
  XSetErrorHandler(ignoreVanishedWindow);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes;
    if (windowPid(display, children[i]) == static_cast<unsigned long>(pid) &&
        XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable) {
      found = children[i];
    }
  }
  if (children) XFree(children);
  return found;
}

void sendClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// Waits up to the given time for the child; -1 when it is still running.
int waitForExit(pid_t pid, int seconds) {
  for (int tick = 0; tick < seconds * 10; ++tick) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    usleep(100 * 1000);
  }
  return -1;
}

TEST(ProgramWindow, ClosingTheWindowEndsTheProgramWithZeroThroughTheQuitPath) {
  testenv::TempUserDirs dirs;
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr) << "no X display";
  const std::string log = dirs.root() + "/out.txt";

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Started from the filesystem root: the program has to find its content itself.
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    if (chdir("/") != 0) _exit(126);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("STARMOOR_EVENT_SCRIPT");
    execl(STARMOOR_EXE, STARMOOR_EXE, "-windowed", static_cast<char*>(nullptr));
    _exit(127);
  }

  Window window = 0;
  int status = -1;
  for (int tick = 0; tick < 600 && !window; ++tick) {
    window = findMappedWindowOf(display, child);
    if (!window) {
      status = waitForExit(child, 0);
      if (status != -1) break;  // ended before it showed a window
      usleep(100 * 1000);
    }
  }
  if (window) {
    // Let the first frames run so the close meets the frame loop, not the set-up.
    usleep(1500 * 1000);
    sendClose(display, window);
    status = waitForExit(child, 120);
  }
  XCloseDisplay(display);
  if (status == -1) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  std::ifstream outText(log);
  const std::string output((std::istreambuf_iterator<char>(outText)), std::istreambuf_iterator<char>());
  ASSERT_NE(window, 0u) << "the program never showed its window\n" << output;
  ASSERT_NE(status, -1) << "the program did not end after its window was closed\n" << output;
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  // The close took the quit path, which alone stamps checkValue in the registry.
  bool stamped = false;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dirs.config())) {
    if (entry.path().filename() == "checkValue") stamped = true;
  }
  EXPECT_TRUE(stamped) << output;
}

}  // namespace
#endif
