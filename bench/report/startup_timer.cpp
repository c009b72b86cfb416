// Times programs from their start until their first window titled as given
// is mapped, watching the X server rather than polling it, and writes the
// times as hyperfine's JSON export does.
//
// Usage: startup_timer RUNS OUT.json NAME TITLE PROGRAM [NAME TITLE PROGRAM]...
// The programs take turns, one warm-up start each first, so a change of
// load on the machine falls on all of them alike.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/report/process_results.h"

namespace {

using kxc2::bench::Median;
using kxc2::bench::ProcessTimes;
using kxc2::bench::WriteProcessJson;
using Clock = std::chrono::steady_clock;
constexpr auto kGiveUpAfter = std::chrono::seconds(30);

struct Program {
  std::string title;
  std::string path;
  ProcessTimes times;
};

std::string WindowName(Display* display, Window window) {
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
          Success &&
      data) {
    name.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  if (name.empty()) {
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain) {
      name = plain;
      XFree(plain);
    }
  }
  return name;
}

// A window manager may frame the program's window: look one level down too.
bool Titled(Display* display, Window window, const std::string& title) {
  if (WindowName(display, window).find(title) != std::string::npos) return true;
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  bool found = false;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i)
      found = WindowName(display, children[i]).find(title) != std::string::npos;
    if (children) XFree(children);
  }
  return found;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }  // windows vanish as programs end

bool WaitForEvent(Display* display, Clock::time_point deadline) {
  while (!XPending(display)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    ::poll(&watch, 1, static_cast<int>(std::min<long long>(left, 100)));
  }
  return true;
}

void EndChild(pid_t child) {
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
}

// Seconds from fork to the first mapped window with the title, if any.
std::optional<double> TimeOneStart(Display* display, const Program& program) {
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, True);  // forget events of earlier runs
  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Recovery copies the user's editors left behind would ask a question first.
    const std::string data = std::filesystem::path(program.path).parent_path() / "data";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, STDOUT_FILENO);
    ::dup2(quiet, STDERR_FILENO);
    ::execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const auto deadline = start + kGiveUpAfter;
  std::optional<double> seconds;
  while (!seconds && WaitForEvent(display, deadline)) {
    XEvent event;
    XNextEvent(display, &event);
    Window candidate = 0;
    if (event.type == MapNotify) {
      candidate = event.xmap.window;
      // The title may come after the mapping.
      XSelectInput(display, candidate, PropertyChangeMask);
    } else if (event.type == PropertyNotify && event.xproperty.state == PropertyNewValue) {
      candidate = event.xproperty.window;
    }
    if (candidate && Titled(display, candidate, program.title))
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  EndChild(child);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || (argc - 3) % 3 != 0) {
    std::fputs("Usage: startup_timer RUNS OUT.json NAME TITLE PROGRAM [NAME TITLE PROGRAM]...\n", stderr);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  if (runs < 1) {
    std::fputs("startup_timer: RUNS must be at least 1\n", stderr);
    return 2;
  }
  std::vector<Program> programs;
  for (int i = 3; i < argc; i += 3) programs.push_back({argv[i + 1], argv[i + 2], {argv[i], {}, {}}});

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("startup_timer: cannot open the X display\n", stderr);
    return 1;
  }
  XSetErrorHandler(IgnoreXErrors);
  for (int run = 0; run <= runs; ++run)
    for (Program& program : programs) {
      const auto seconds = TimeOneStart(display, program);
      if (!seconds) {
        std::fprintf(stderr, "startup_timer: %s showed no window titled \"%s\"\n", program.path.c_str(),
                     program.title.c_str());
        return 1;
      }
      if (run > 0) program.times.wallSeconds.push_back(*seconds);  // run 0 warms the caches
    }
  XCloseDisplay(display);
  std::vector<ProcessTimes> times;
  for (const Program& program : programs) {
    std::printf("%-24s median %8.1f ms (%d runs)\n", program.times.name.c_str(),
                Median(program.times.wallSeconds) * 1e3, runs);
    times.push_back(program.times);
  }
  if (!WriteProcessJson(argv[2], times)) {
    std::fprintf(stderr, "startup_timer: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
