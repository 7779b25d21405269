#pragma once
// A desktop for assistive technology, started by a test of its own: an Xvfb server, a session
// bus and the AT-SPI bus on it (at-spi-bus-launcher), with this process's environment pointed at
// them so that Qt's programs started afterwards (on xcb) and AT-SPI clients meet there. Every
// server runs in a process group of its own, which goes when the object goes, or with this
// process should it crash. Every wait is bounded; what failed is told by error().

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

class AccessibleDesktop {
 public:
  AccessibleDesktop() : error_(startAll()) {}

  ~AccessibleDesktop() {
    for (auto pid = groups_.rbegin(); pid != groups_.rend(); ++pid) stop(*pid);
  }

  AccessibleDesktop(const AccessibleDesktop&) = delete;
  AccessibleDesktop& operator=(const AccessibleDesktop&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  // Empty when everything runs; else what did not.
  std::string startAll() {
    unsetenv("AT_SPI_BUS_ADDRESS");
    const std::string display =
        start({"Xvfb", "-displayfd", "{fd}", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (display.empty()) return "Xvfb did not start";
    setenv("DISPLAY", (":" + display).c_str(), 1);
    const std::string bus = start({"dbus-daemon", "--session", "--nofork", "--print-address={fd}"});
    if (bus.empty()) return "the session bus (dbus-daemon) did not start";
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
    if (start({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"}, false) != "started")
      return "at-spi-bus-launcher did not start";
    if (!waitFor(10000, [] { return owned("org.a11y.Bus"); }))
      return "the accessibility bus never appeared on the session bus (at-spi2-core installed?)";
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    return {};
  }

  // Starts `args` in a process group of its own. With `readLine`, "{fd}" in an argument is a
  // pipe the program writes a line to when it is ready, and the line is returned ("" when none
  // came within ten seconds); without, the answer is "started".
  std::string start(std::vector<std::string> args, bool readLine = true) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::vector<char*> argv;
    for (std::string& arg : args) {
      if (const auto at = arg.find("{fd}"); at != std::string::npos) arg.replace(at, 4, std::to_string(fds[1]));
      argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
      setpgid(0, 0);
      // A test that crashes takes its servers with it.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (getppid() != parent) _exit(1);
      close(fds[0]);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
      close(fds[0]);
      return {};
    }
    setpgid(pid, pid);
    groups_.push_back(pid);
    if (!readLine) {
      close(fds[0]);
      return "started";
    }
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd ready{fds[0], POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t n = read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      line.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (const auto end = line.find('\n'); end != std::string::npos) return line.substr(0, end);
    return {};
  }

  // Whether a program owns `name` on the session bus; asking does not start one.
  static bool owned(const char* name) {
    const std::string command = std::string("dbus-send --session --print-reply=literal --reply-timeout=2000 "
                                            "--dest=org.freedesktop.DBus /org/freedesktop/DBus "
                                            "org.freedesktop.DBus.NameHasOwner string:") +
                                name + " 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[128];
      while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
      pclose(pipe);
    }
    return out.find("boolean true") != std::string::npos;
  }

  template <class Done>
  static bool waitFor(int milliseconds, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }

  // Ends a process group: politely first, by force after two seconds.
  static void stop(pid_t group) {
    kill(-group, SIGTERM);
    const bool leaderGone = waitFor(2000, [group] { return waitpid(group, nullptr, WNOHANG) != 0; });
    if (!waitFor(2000, [group] { return kill(-group, 0) != 0; })) kill(-group, SIGKILL);
    if (!leaderGone) waitpid(group, nullptr, 0);
  }

  std::vector<pid_t> groups_;
  std::string error_;
};

// Waits, within ten seconds, for Qt's bridge to switch accessibility on, as it does once the
// application has reached the accessibility bus; tells on standard error when it never did.
inline bool WaitForAccessibility() {
  QElapsedTimer waited;
  waited.start();
  while (!QAccessible::isActive() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!QAccessible::isActive())
    std::fprintf(stderr, "accessibility never came on: Qt did not reach the AT-SPI bus\n");
  return QAccessible::isActive();
}
