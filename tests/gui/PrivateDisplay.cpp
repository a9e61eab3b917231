#include "PrivateDisplay.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/support/ExitCleanup.h"

namespace {

// The display number the server writes to fd once it listens, or "" when it does not within
// the time-out.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  for (;;) {
    pollfd waitFor{fd, POLLIN, 0};
    if (poll(&waitFor, 1, 10000) <= 0) return "";
    char c = 0;
    if (read(fd, &c, 1) != 1) return "";
    if (c == '\n') return number;
    number += c;
  }
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
  // The server picks a free display number itself and reports it, so test programs that start
  // at the same moment never share one. Without -noreset the server resets when its last
  // client leaves, and a connection made during that reset is refused.
  int fds[2];
  if (pipe(fds) != 0) return;
  const std::string reportFd = std::to_string(fds[1]);
  const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  const char *args[] = {"Xvfb",      "-displayfd", reportFd.c_str(), "-screen", "0", screen.c_str(),
                        "-nolisten", "tcp",        "-noreset",       nullptr};
  // Forked rather than spawned: the server is told to end when this program ends, however it
  // ends (a SIGKILL included), so no server outlives its test program.
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp("Xvfb", const_cast<char **>(args));
    _exit(127);
  }
  close(fds[1]);
  const std::string number = pid > 0 ? ReadDisplayNumber(fds[0]) : "";
  close(fds[0]);
  if (pid <= 0) return;
  m_pid = pid;
  test_support::EndOnAbnormalEnd(pid);
  if (number.empty()) return;
  Display *display = XOpenDisplay((":" + number).c_str());
  if (display == nullptr) return;
  XCloseDisplay(display);
  m_name = ":" + number;
}

PrivateDisplay::~PrivateDisplay() {
  if (m_pid <= 0) return;
  test_support::ForgetProcess(m_pid);
  kill(m_pid, SIGTERM);
  waitpid(m_pid, nullptr, 0);
}
