// Starts the real program on a private display and looks at it from outside, as a user's
// display sees it: the main window's place, size and title, the preview's grey, the second
// start that finds the first, and the end of the program when its window is closed.
// clang-format off
// gtest before Xlib, whose macros (None, Bool) clash with gtest's names.
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PrivateDisplay.h"

extern char **environ;

namespace {

using namespace std::chrono_literals;

const std::string kProgram = QUENDA_BUILD_DIR "Quenda";

// A program started on the private display.
class Process {
 public:
  explicit Process(const std::string &display) {
    std::vector<std::string> env = {"DISPLAY=" + display};
    for (char **e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("DISPLAY=", 0) != 0) env.emplace_back(*e);
    }
    std::vector<char *> envp;
    for (std::string &s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    const char *args[] = {kProgram.c_str(), nullptr};
    if (posix_spawn(&m_pid, kProgram.c_str(), nullptr, nullptr, const_cast<char **>(args),
                    envp.data()) != 0) {
      m_pid = -1;
    }
  }
  ~Process() {
    if (m_pid > 0 && !m_status) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  bool Started() const { return m_pid > 0; }

  // The exit status once the process has ended within timeout; none while it runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!m_status) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = status;
        break;
      }
      if (std::chrono::steady_clock::now() > end) break;
      std::this_thread::sleep_for(20ms);
    }
    return m_status;
  }

 private:
  pid_t m_pid = -1;
  std::optional<int> m_status;
};

std::string WindowName(Display *d, Window w) {
  char *name = nullptr;
  std::string result;
  if (XFetchName(d, w, &name) && name != nullptr) {
    result = name;
    XFree(name);
  }
  return result;
}

// The shown top-level windows (there is no window manager on the private display).
std::vector<Window> ShownTopLevelWindows(Display *d) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> shown;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return shown;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
        a.c_class == InputOutput) {
      shown.push_back(children[i]);
    }
  }
  if (children != nullptr) XFree(children);
  return shown;
}

std::vector<Window> ShownWindowsTitled(Display *d, const std::string &title) {
  std::vector<Window> found;
  for (Window w : ShownTopLevelWindows(d)) {
    if (WindowName(d, w) == title) found.push_back(w);
  }
  return found;
}

std::optional<Window> WaitForMainWindow(Display *d) {
  for (int i = 0; i < 300; ++i) {
    const std::vector<Window> found = ShownWindowsTitled(d, "Quenda");
    if (!found.empty()) return found.front();
    std::this_thread::sleep_for(50ms);
  }
  return std::nullopt;
}

class ProgramTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_display = new PrivateDisplay; }
  static void TearDownTestSuite() {
    delete s_display;
    s_display = nullptr;
  }
  void SetUp() override {
    ASSERT_FALSE(s_display->Name().empty()) << "Xvfb could not be started";
    m_x = XOpenDisplay(s_display->Name().c_str());
    ASSERT_NE(m_x, nullptr);
  }
  void TearDown() override {
    if (m_x != nullptr) XCloseDisplay(m_x);
  }

  static PrivateDisplay *s_display;
  Display *m_x = nullptr;
};

PrivateDisplay *ProgramTest::s_display = nullptr;

TEST_F(ProgramTest, MainWindowIsCentredGreySingleAndClosesCleanly) {
  Process first(s_display->Name());
  ASSERT_TRUE(first.Started());
  const std::optional<Window> window = WaitForMainWindow(m_x);
  ASSERT_TRUE(window.has_value()) << "no window titled Quenda appeared";
  std::this_thread::sleep_for(500ms);  // let the first paint finish

  // 800 x 600 at ((1280 - 800) / 2, (1024 - 600) / 2).
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(m_x, *window, &a));
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(m_x, *window, DefaultRootWindow(m_x), 0, 0, &x, &y, &child);
  EXPECT_EQ(a.width, 800);
  EXPECT_EQ(a.height, 600);
  EXPECT_EQ(x, 240);
  EXPECT_EQ(y, 212);

  // The preview pane, right of the 228-pixel file pane and between the bars, is grey 0x818181.
  XImage *shot = XGetImage(m_x, *window, 0, 0, 800, 600, AllPlanes, ZPixmap);
  ASSERT_NE(shot, nullptr);
  int grey = 0, samples = 0;
  for (int py = 150; py <= 500; py += 25) {
    for (int px = 300; px <= 760; px += 20) {
      ++samples;
      if ((XGetPixel(shot, px, py) & 0xFFFFFF) == 0x818181) ++grey;
    }
  }
  // The file pane beside it is not.
  EXPECT_NE(XGetPixel(shot, 100, 300) & 0xFFFFFF, 0x818181u);
  XDestroyImage(shot);
  EXPECT_EQ(grey, samples);

  // A second start finds the first, opens no window and ends with code 0.
  const size_t shownBefore = ShownTopLevelWindows(m_x).size();
  {
    Process second(s_display->Name());
    ASSERT_TRUE(second.Started());
    const std::optional<int> status = second.WaitForExit(20s);
    ASSERT_TRUE(status.has_value()) << "the second start did not end";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
  }
  EXPECT_EQ(ShownTopLevelWindows(m_x).size(), shownBefore);
  EXPECT_EQ(ShownWindowsTitled(m_x, "Quenda").size(), 1u);

  // Closing the window (as a window manager's close box asks) ends the program with code 0.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = *window;
  close.xclient.message_type = XInternAtom(m_x, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(m_x, *window, False, NoEventMask, &close);
  XFlush(m_x);
  const std::optional<int> status = first.WaitForExit(20s);
  ASSERT_TRUE(status.has_value()) << "the program did not end after its window was closed";
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 0);
}

}  // namespace
