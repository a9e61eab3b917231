// Starts the real program on a private display and looks at it from outside, as a user's
// display sees it: the main window's place, size, minimum size and title, the preview's grey,
// the prompt of a disabled menu item on the status bar as soon as the pointer moves onto it,
// the second start that finds the first (also framed as a window manager frames it) and keeps
// the dialog or message box the user is answering above it, the end of the program when its
// window is closed, and a start that leaves no toolkit warning on the terminal.
// clang-format off
// gtest before Xlib, whose macros (None, Bool) clash with gtest's names.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "PrivateDisplay.h"
#include "tests/support/ExitCleanup.h"
#include "tests/support/TempFolder.h"

extern char **environ;

namespace {

using namespace std::chrono_literals;

// How long the program may take to show or to end, on a busy machine and in a sanitizer build.
constexpr std::chrono::seconds kProgramDeadline{30};

// A window can go between the listing of the window tree and a question about it (a window
// manager's own windows come and go); the questions then fail, which their callers check, instead
// of ending the test program.
XErrorHandler g_otherErrors = nullptr;
int IgnoreWindowsGone(Display *display, XErrorEvent *error) {
  if (error->error_code == BadWindow || error->error_code == BadMatch) return 0;
  return g_otherErrors != nullptr ? g_otherErrors(display, error) : 0;
}
const bool g_windowsGoneIgnored = (g_otherErrors = XSetErrorHandler(IgnoreWindowsGone), true);

// Looks at ready every 20 ms until it holds or deadline has passed; whether it holds. The
// program runs in a process of its own, so waiting is looking again.
bool Eventually(const std::function<bool()> &ready,
                std::chrono::milliseconds deadline = kProgramDeadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(20ms);
  }
}

// A program (Quenda unless told), started on display; killed if it still runs when the object
// goes.
class Process {
 public:
  // What it writes to its standard error goes to errorFile when one is named, and its standard
  // output is then discarded too.
  explicit Process(const std::string &display,
                   const std::string &program = QUENDA_BUILD_DIR "Quenda",
                   const std::string &errorFile = "") {
    const char *args[] = {program.c_str(), nullptr};
    setenv("DISPLAY", display.c_str(), 1);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (!errorFile.empty()) {
      posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
      posix_spawn_file_actions_addopen(&files, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0600);
    }
    if (posix_spawnp(&m_pid, program.c_str(), &files, nullptr, const_cast<char **>(args),
                     environ) != 0) {
      m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&files);
    if (m_pid > 0) test_support::EndOnAbnormalEnd(m_pid);
  }
  ~Process() {
    if (m_pid > 0) test_support::ForgetProcess(m_pid);
    if (m_pid > 0 && !m_status) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  bool Started() const { return m_pid > 0; }
  // Asks the program to end, as a session that closes does.
  void Terminate() const { kill(m_pid, SIGTERM); }

  // The exit code once the process has ended normally in time; none otherwise.
  std::optional<int> ExitCode() {
    Eventually([this] {
      int status = 0;
      if (!m_status && waitpid(m_pid, &status, WNOHANG) == m_pid) m_status = status;
      return m_status.has_value();
    });
    if (!m_status || !WIFEXITED(*m_status)) return std::nullopt;
    return WEXITSTATUS(*m_status);
  }

 private:
  pid_t m_pid = -1;
  std::optional<int> m_status;
};

// The shown top-level windows with the given title, or all shown ones for an empty title
// (there is no window manager on the private display).
std::vector<Window> ShownWindows(Display *d, const std::string &title = "") {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> shown;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return shown;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes a;
    char *name = nullptr;
    if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
    const bool named = XFetchName(d, children[i], &name) && name != nullptr && title == name;
    if (name != nullptr) XFree(name);
    if (title.empty() || named) shown.push_back(children[i]);
  }
  if (children != nullptr) XFree(children);
  return shown;
}

// The shown windows titled title once there is one, waiting for the program to show its
// window; empty when none appeared.
std::vector<Window> WaitForShownWindows(Display *x11, const std::string &title) {
  std::vector<Window> found;
  Eventually([&] {
    found = ShownWindows(x11, title);
    return !found.empty();
  });
  return found;
}

// The preview pane of the main window, right of the 228-pixel file pane and between the bars,
// is drawn grey 0x818181 and the file pane beside it is not: the window has had its first paint.
bool PreviewIsDrawnGrey(Display *x11, Window window) {
  // A window not yet shown whole cannot be read; it is not drawn yet either. A window manager's
  // frame takes its part of the 800 x 600.
  XWindowAttributes a;
  if (!XGetWindowAttributes(x11, window, &a) || a.map_state != IsViewable || a.width < 770 ||
      a.height < 520)
    return false;
  int x = 0, y = 0;
  Window child = 0;
  if (!XTranslateCoordinates(x11, window, a.root, 0, 0, &x, &y, &child) || x < 0 || y < 0 ||
      x + a.width > WidthOfScreen(a.screen) || y + a.height > HeightOfScreen(a.screen))
    return false;
  XImage *shot = XGetImage(x11, window, 0, 0, static_cast<unsigned>(a.width),
                           static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (shot == nullptr) return false;
  int notGrey = 0;
  for (int py = 150; py <= 500; py += 25) {
    for (int px = 300; px <= 760; px += 20)
      notGrey += (XGetPixel(shot, px, py) & 0xFFFFFF) != 0x818181;
  }
  const bool filePaneGrey = (XGetPixel(shot, 100, 300) & 0xFFFFFF) == 0x818181u;
  XDestroyImage(shot);
  return notGrey == 0 && !filePaneGrey;
}

// The pixels of the status bar's prompt pane, along the bottom of the 800 x 600 main window.
std::vector<unsigned long> StatusPrompt(Display *x11, Window window) {
  std::vector<unsigned long> pixels;
  XImage *shot = XGetImage(x11, window, 0, 580, 500, 18, AllPlanes, ZPixmap);
  if (shot == nullptr) return pixels;
  for (int py = 0; py < 18; ++py) {
    for (int px = 0; px < 500; ++px) pixels.push_back(XGetPixel(shot, px, py) & 0xFFFFFF);
  }
  XDestroyImage(shot);
  return pixels;
}

TEST(Program, MainWindowIsCentredGreySingleAndClosesCleanly) {
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
  Display *x11 = XOpenDisplay(display.Name().c_str());
  ASSERT_NE(x11, nullptr);
  Process first(display.Name());
  ASSERT_TRUE(first.Started());
  const std::vector<Window> found = WaitForShownWindows(x11, "Quenda");
  ASSERT_EQ(found.size(), 1u) << "no window titled Quenda appeared";
  const Window window = found.front();
  EXPECT_TRUE(Eventually([&] { return PreviewIsDrawnGrey(x11, window); }));

  // 800 x 600 at ((1280 - 800) / 2, (1024 - 600) / 2).
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x11, window, &a));
  EXPECT_EQ(a.width, 800);
  EXPECT_EQ(a.height, 600);
  EXPECT_EQ(a.x, 240);
  EXPECT_EQ(a.y, 212);

  // A window manager learns the minimum size from the hints on the client window, the one it
  // sees. With no window manager nothing frames the window, so the window is as large as its
  // client window and the minimum of the one is that of the other.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(x11, window, &hints, &supplied));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_EQ(hints.min_width, 800);
  EXPECT_EQ(hints.min_height, 600);

  // A second start finds the first, opens no window and ends with code 0.
  const size_t shownBefore = ShownWindows(x11).size();
  {
    Process second(display.Name());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.ExitCode(), 0);
  }
  EXPECT_EQ(ShownWindows(x11).size(), shownBefore);

  // With no file chosen every item of the Convert menu is disabled; the pointer's single move
  // onto one shows its prompt on screen, without waiting for any later event.
  const std::vector<unsigned long> idle = StatusPrompt(x11, window);
  XTestFakeMotionEvent(x11, 0, 240 + 71, 212 + 12, CurrentTime);
  XTestFakeButtonEvent(x11, 1, True, CurrentTime);
  XTestFakeButtonEvent(x11, 1, False, CurrentTime);
  XFlush(x11);
  ASSERT_TRUE(Eventually([&] { return ShownWindows(x11).size() > shownBefore; }));
  std::vector<unsigned long> prompts[3];
  std::vector<unsigned long> before = idle;
  for (int move = 0; move < 6; ++move) {
    const int item = move % 3;
    XTestFakeMotionEvent(x11, 0, 240 + 115, 212 + 37 + 25 * item, CurrentTime);
    XFlush(x11);
    std::vector<unsigned long> now;
    EXPECT_TRUE(Eventually([&] {
      now = StatusPrompt(x11, window);
      return move < 3 ? now != before : now == prompts[item];
    })) << "move "
        << move << " onto item " << item;
    if (move < 3) prompts[item] = now;
    before = now;
  }
  EXPECT_NE(prompts[0], prompts[2]);
  const KeyCode escape = XKeysymToKeycode(x11, XK_Escape);
  XTestFakeKeyEvent(x11, escape, True, CurrentTime);
  XTestFakeKeyEvent(x11, escape, False, CurrentTime);
  XFlush(x11);
  EXPECT_TRUE(Eventually([&] { return ShownWindows(x11).size() == shownBefore; }));

  // Closing the window (as a window manager's close box asks) ends the program with code 0.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(x11, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(x11, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(x11, window, False, NoEventMask, &close);
  XFlush(x11);
  EXPECT_EQ(first.ExitCode(), 0);
  XCloseDisplay(x11);
}

// Keys as the keyboard sends them; with no window manager they go to the window under the
// pointer. Each character of text is typed, shifted where the keyboard needs it.
void PressKey(Display *d, KeySym key, bool control = false) {
  const KeyCode code = XKeysymToKeycode(d, key);
  const bool shift = XkbKeycodeToKeysym(d, code, 0, 0) != key;
  const KeyCode ctrlKey = XKeysymToKeycode(d, XK_Control_L);
  const KeyCode shiftKey = XKeysymToKeycode(d, XK_Shift_L);
  if (control) XTestFakeKeyEvent(d, ctrlKey, True, CurrentTime);
  if (shift) XTestFakeKeyEvent(d, shiftKey, True, CurrentTime);
  XTestFakeKeyEvent(d, code, True, CurrentTime);
  XTestFakeKeyEvent(d, code, False, CurrentTime);
  if (shift) XTestFakeKeyEvent(d, shiftKey, False, CurrentTime);
  if (control) XTestFakeKeyEvent(d, ctrlKey, False, CurrentTime);
  XSync(d, False);
}
void TypeText(Display *d, const std::string &text) {
  for (const unsigned char c : text) PressKey(d, c);  // Latin-1 keysyms are the characters
}

// A shown window, not a pop-up, that is none of known, once there is one (up to 15 s); None
// when none appeared.
Window WaitForNewWindow(Display *d, const std::vector<Window> &known) {
  for (int i = 0; i < 300; ++i) {
    for (Window w : ShownWindows(d)) {
      XWindowAttributes a;
      if (std::find(known.begin(), known.end(), w) == known.end() &&
          XGetWindowAttributes(d, w, &a) && !a.override_redirect) {
        return w;
      }
    }
    std::this_thread::sleep_for(50ms);
  }
  return None;
}

// The first instance shows the Open dialog, then the message that the chosen pipe opens no
// document. A second start meanwhile brings the main window above a stranger's window, and the
// modal window the user is answering above the main window: under it the main window takes no
// input, and with no window manager nothing else would bring it back.
TEST(Program, SecondStartKeepsTheOpenDialogOrMessageAboveTheMainWindow) {
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
  Display *x11 = XOpenDisplay(display.Name().c_str());
  ASSERT_NE(x11, nullptr);
  test_support::TempFolder folder;
  const std::string pipe = folder.Path() + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  Process first(display.Name());
  ASSERT_TRUE(first.Started());
  const std::vector<Window> found = WaitForShownWindows(x11, "Quenda");
  ASSERT_EQ(found.size(), 1u) << "no window titled Quenda appeared";
  const Window main = found.front();

  // The pointer over window, so that the keyboard reaches it.
  const auto pointAt = [&](Window window) {
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(x11, window, &a));
    XTestFakeMotionEvent(x11, 0, a.x + a.width / 2, a.y + a.height / 2, CurrentTime);
    XSync(x11, False);
  };
  const auto secondStartLeavesOnTop = [&](Window modal) {
    const Window cover =
        XCreateSimpleWindow(x11, DefaultRootWindow(x11), 0, 0, 1280, 1024, 0, 0, 0);
    XMapRaised(x11, cover);
    XSync(x11, False);
    {
      Process second(display.Name());
      ASSERT_TRUE(second.Started());
      EXPECT_EQ(second.ExitCode(), 0);
    }
    const std::vector<Window> stack = ShownWindows(x11);  // bottom to top
    const auto at = [&](Window w) {
      return std::find(stack.begin(), stack.end(), w) - stack.begin();
    };
    EXPECT_LT(at(cover), at(main));
    EXPECT_LT(at(main), at(modal));
    EXPECT_LT(at(modal), static_cast<long>(stack.size()));
    XDestroyWindow(x11, cover);
    XSync(x11, False);
  };

  pointAt(main);
  PressKey(x11, XK_o, true);
  const Window chooser = WaitForNewWindow(x11, {main});
  ASSERT_NE(chooser, None) << "Ctrl+O showed no Open dialog";
  {
    SCOPED_TRACE("Open dialog");
    secondStartLeavesOnTop(chooser);
  }

  pointAt(chooser);
  TypeText(x11, pipe);
  PressKey(x11, XK_Return);
  const Window message = WaitForNewWindow(x11, {main, chooser});
  ASSERT_NE(message, None) << "no message that the pipe opens no document";
  {
    SCOPED_TRACE("message box");
    secondStartLeavesOnTop(message);
  }
  XCloseDisplay(x11);
}

// The first instance's window framed as window managers frame their clients, two windows deep;
// a second start raises the frame, opens no window and ends with code 0, whether it finds the
// window by the client list of a window manager that runs or by the mark the window manager
// puts on its clients, also when a window manager that has ended left its empty list behind.
TEST(Program, SecondStartFindsTheFirstWindowUnderAWindowManager) {
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
  Display *x11 = XOpenDisplay(display.Name().c_str());
  ASSERT_NE(x11, nullptr);
  Process first(display.Name());
  ASSERT_TRUE(first.Started());
  const std::vector<Window> found = WaitForShownWindows(x11, "Quenda");
  ASSERT_EQ(found.size(), 1u) << "no window titled Quenda appeared";
  const Window client = found.front();

  const Window root = DefaultRootWindow(x11);
  const Window frame = XCreateSimpleWindow(x11, root, 200, 150, 820, 640, 0, 0, 0);
  const Window border = XCreateSimpleWindow(x11, frame, 10, 30, 800, 600, 0, 0, 0);
  XMapWindow(x11, border);
  XMapWindow(x11, frame);
  // As a window manager does, so that the client outlives this connection's frame.
  XAddToSaveSet(x11, client);
  XReparentWindow(x11, client, border, 0, 0);
  const Atom wmState = XInternAtom(x11, "WM_STATE", False);
  const Atom clientList = XInternAtom(x11, "_NET_CLIENT_LIST", False);
  const Atom wmCheck = XInternAtom(x11, "_NET_SUPPORTING_WM_CHECK", False);
  const auto nameWindow = [&](Window on, Window named) {
    const long id[] = {static_cast<long>(named)};
    XChangeProperty(x11, on, wmCheck, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(id), 1);
  };
  // The window a running window manager names on the root, naming itself.
  const Window live = XCreateSimpleWindow(x11, root, -10, -10, 1, 1, 0, 0, 0);
  nameWindow(live, live);
  // One that has ended left the root naming a window that is gone.
  const Window gone = XCreateSimpleWindow(x11, root, -10, -10, 1, 1, 0, 0, 0);
  XDestroyWindow(x11, gone);

  struct Case {
    const char *name;
    bool marked;     // the client carries WM_STATE
    bool published;  // the root lists the client in _NET_CLIENT_LIST (else the list is empty)
    Window manager;  // the window the root names as its window manager's
  };
  // Listed but unmarked: only the list can find it. Marked but left out of the empty list of a
  // window manager that has ended: only the window tree can find it.
  for (const Case &c : {Case{"marked", true, false, 0}, Case{"published", false, true, live},
                        Case{"stale list", true, false, gone}}) {
    SCOPED_TRACE(c.name);
    if (c.manager != 0) {
      nameWindow(root, c.manager);
    } else {
      XDeleteProperty(x11, root, wmCheck);
    }
    if (c.marked) {
      const long normal[] = {1 /* NormalState */, 0 /* no icon window */};
      XChangeProperty(x11, client, wmState, wmState, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char *>(normal), 2);
    } else {
      XDeleteProperty(x11, client, wmState);
    }
    const long clients[] = {static_cast<long>(client)};
    XChangeProperty(x11, root, clientList, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(clients), c.published ? 1 : 0);
    // Another window covers the frame.
    const Window cover = XCreateSimpleWindow(x11, root, 0, 0, 1280, 1024, 0, 0, 0);
    XMapRaised(x11, cover);
    XSync(x11, False);
    const size_t shownBefore = ShownWindows(x11).size();
    {
      Process second(display.Name());
      ASSERT_TRUE(second.Started());
      EXPECT_EQ(second.ExitCode(), 0);
    }
    EXPECT_EQ(ShownWindows(x11).size(), shownBefore);
    const std::vector<Window> stack = ShownWindows(x11);  // bottom to top
    ASSERT_FALSE(stack.empty());
    EXPECT_EQ(stack.back(), frame);
    XDestroyWindow(x11, cover);
  }
  XCloseDisplay(x11);
}

// The shown window titled title anywhere in the window tree below window (a window manager's
// frames hold their clients), pop-ups left out; None when there is none.
Window FindClient(Display *d, Window window, const std::string &title) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = None;
  if (!XQueryTree(d, window, &root, &parent, &children, &count)) return None;
  for (unsigned i = 0; i < count && found == None; ++i) {
    XWindowAttributes a;
    char *name = nullptr;
    if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
        !a.override_redirect && XFetchName(d, children[i], &name) && name != nullptr &&
        title == name) {
      found = children[i];
    }
    if (name != nullptr) XFree(name);
    if (found == None) found = FindClient(d, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

// The root's child that holds window: the window manager's frame around a client.
Window TopLevelOf(Display *d, Window window) {
  for (;;) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, window, &root, &parent, &children, &count)) return None;
    if (children != nullptr) XFree(children);
    if (parent == root) return window;
    window = parent;
  }
}

// True once a window manager runs: the window it names on the root names itself.
bool WaitForWindowManager(Display *d) {
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  const auto named = [&](Window on) -> Window {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    Window result = None;
    if (XGetWindowProperty(d, on, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && type == XA_WINDOW && format == 32 && count == 1) {
      result = static_cast<Window>(*reinterpret_cast<unsigned long *>(data));
    }
    if (data != nullptr) XFree(data);
    return result;
  };
  return Eventually([&] {
    const Window wm = named(DefaultRootWindow(d));
    return wm != None && named(wm) == wm;
  });
}

// The root's _NET_CLIENT_LIST names a window titled title, in time.
bool WaitForListedClient(Display *x11, const std::string &title) {
  const Atom clientList = XInternAtom(x11, "_NET_CLIENT_LIST", False);
  return Eventually([&] {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(x11, DefaultRootWindow(x11), clientList, 0, 1024, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) != Success)
      return false;
    bool found = false;
    for (unsigned long k = 0; k < count && format == 32 && !found; ++k) {
      char *name = nullptr;
      found = XFetchName(x11, reinterpret_cast<Window *>(data)[k], &name) && name != nullptr &&
              title == name;
      if (name != nullptr) XFree(name);
    }
    if (data != nullptr) XFree(data);
    return found;
  });
}

// Under a real window manager the main window opens centred, frame and all. When the window
// manager ends it leaves its empty client list and its check behind; a second start still finds
// the first window, opens none and ends with code 0.
TEST(Program, UnderAWindowManagerCentredAndFoundAfterTheManagerEnds) {
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
  Display *x11 = XOpenDisplay(display.Name().c_str());
  ASSERT_NE(x11, nullptr);
  // The window manager's errors about a missing menu are no concern here.
  Process manager(display.Name(), "openbox", "/dev/null");
  ASSERT_TRUE(manager.Started()) << "openbox is missing: scripts/setup.sh installs it";
  ASSERT_TRUE(WaitForWindowManager(x11));
  Process first(display.Name());
  ASSERT_TRUE(first.Started());

  // The frame's top left at ((1280 - 800) / 2, (1024 - 600) / 2) once the placement settled.
  Window client = None;
  XWindowAttributes frame{};
  Eventually([&] {
    client = FindClient(x11, DefaultRootWindow(x11), "Quenda");
    const Window top = client == None ? None : TopLevelOf(x11, client);
    return top != None && top != client && XGetWindowAttributes(x11, top, &frame) &&
           frame.x == 240 && frame.y == 212;
  });
  ASSERT_NE(client, None) << "no window titled Quenda appeared";
  EXPECT_EQ(frame.x, 240);
  EXPECT_EQ(frame.y, 212);
  EXPECT_EQ(frame.width, 800);

  manager.Terminate();
  EXPECT_TRUE(manager.ExitCode().has_value());
  XSync(x11, False);
  const size_t shownBefore = ShownWindows(x11, "Quenda").size();
  EXPECT_EQ(shownBefore, 1u);
  {
    Process second(display.Name());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.ExitCode(), 0);
  }
  EXPECT_EQ(ShownWindows(x11, "Quenda").size(), shownBefore);
  XCloseDisplay(x11);
}

// The 32-bit items (atoms, windows or numbers, as type says) of window's property; none when
// it is not set so.
std::vector<long> PropertyItems(Display *d, Window window, const char *property, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char *data = nullptr;
  std::vector<long> items;
  if (XGetWindowProperty(d, window, XInternAtom(d, property, False), 0, 1024, False, type, &actual,
                         &format, &count, &after, &data) == Success &&
      data != nullptr && actual == type && format == 32) {
    const long *values = reinterpret_cast<const long *>(data);
    items.assign(values, values + count);
  }
  if (data != nullptr) XFree(data);
  return items;
}

// What a window manager and the program have made of the program's client window: the frame
// around it, the frame's extents the window manager published, the states it holds and the
// minimum size the program asks of it.
struct Framing {
  Window frame = None;                      // the root's child that holds the client
  int x = 0, y = 0, width = 0, height = 0;  // the frame's rectangle
  int clientWidth = 0, clientHeight = 0;
  std::vector<long> extents;  // left, right, top, bottom
  std::vector<long> states;   // _NET_WM_STATE
  bool hasMinimum = false;
  int minWidth = 0, minHeight = 0;

  bool operator==(const Framing &) const = default;
  // The window manager has framed the client and wrapped the frame round its present size.
  bool Framed(Window client) const {
    return frame != None && frame != client && extents.size() == 4 &&
           width == clientWidth + extents[0] + extents[1] &&
           height == clientHeight + extents[2] + extents[3];
  }
  bool Holds(Atom state) const {
    return std::find(states.begin(), states.end(), static_cast<long>(state)) != states.end();
  }
};

Framing FramingOf(Display *d, Window client) {
  Framing f;
  f.frame = TopLevelOf(d, client);
  XWindowAttributes a{};
  if (f.frame != None && XGetWindowAttributes(d, f.frame, &a)) {
    std::tie(f.x, f.y, f.width, f.height) = std::tuple(a.x, a.y, a.width, a.height);
  }
  if (XGetWindowAttributes(d, client, &a)) {
    std::tie(f.clientWidth, f.clientHeight) = std::pair(a.width, a.height);
  }
  f.extents = PropertyItems(d, client, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  f.states = PropertyItems(d, client, "_NET_WM_STATE", XA_ATOM);
  XSizeHints hints{};
  long supplied = 0;
  f.hasMinimum = XGetWMNormalHints(d, client, &hints, &supplied) && (hints.flags & PMinSize);
  if (f.hasMinimum)
    std::tie(f.minWidth, f.minHeight) = std::pair(hints.min_width, hints.min_height);
  return f;
}

// Under a window manager the window keeps its minimum of 800 by 600, frame included, after it
// was maximised and restored and after the window manager started again: a size asked for below
// it is refused. Each step waits for the window manager to have handled its request and for the
// program to have answered what the window manager did.
TEST(Program, UnderAWindowManagerTheMinimumSizeStays) {
  PrivateDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
  Display *x11 = XOpenDisplay(display.Name().c_str());
  ASSERT_NE(x11, nullptr);
  // Windows of the window manager that ended may still be named on the root a moment.
  const auto previousHandler = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
  std::optional<Process> manager;
  manager.emplace(display.Name(), "openbox", "/dev/null");
  ASSERT_TRUE(manager->Started());
  ASSERT_TRUE(WaitForWindowManager(x11));
  Process program(display.Name());
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(WaitForListedClient(x11, "Quenda"));
  const Window client = FindClient(x11, DefaultRootWindow(x11), "Quenda");
  ASSERT_NE(client, None);
  const Window root = DefaultRootWindow(x11);
  // The frames' changes and the program's answers to pings come as events on the root.
  XSelectInput(x11, root, SubstructureNotifyMask);
  const Atom protocols = XInternAtom(x11, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(x11, "_NET_WM_PING", False);
  const Atom maximisedVert = XInternAtom(x11, "_NET_WM_STATE_MAXIMIZED_VERT", False);
  const Atom maximisedHorz = XInternAtom(x11, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
  const Atom above = XInternAtom(x11, "_NET_WM_STATE_ABOVE", False);
  Framing now;
  const auto look = [&] { return now = FramingOf(x11, client); };

  // A message about the client, sent as a pager or a title button sends it to the window manager,
  // or as the window manager sends it to the client.
  const auto send = [&](Window to, Atom type, std::initializer_list<long> data) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = client;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    std::copy(data.begin(), data.end(), e.xclient.data.l);
    XSendEvent(x11, to, False,
               to == root ? SubstructureRedirectMask | SubstructureNotifyMask : NoEventMask, &e);
    XFlush(x11);
  };
  const auto ask = [&](const char *type, std::initializer_list<long> data) {
    send(root, XInternAtom(x11, type, False), data);
  };
  // The program has read all that came before a ping once it answers it, and has done what it
  // does upon that once its frame, extents, states and hints stay as they are for 10 looks in a
  // row.
  long pings = 0;
  const auto answered = [&] {
    const long stamp = ++pings;
    send(client, protocols, {static_cast<long>(ping), stamp, static_cast<long>(client)});
    const bool ponged = Eventually([&] {
      XEvent e;
      while (XCheckTypedEvent(x11, ClientMessage, &e)) {
        if (e.xclient.window == root && e.xclient.message_type == protocols &&
            e.xclient.data.l[0] == static_cast<long>(ping) && e.xclient.data.l[1] == stamp)
          return true;
      }
      return false;
    });
    int same = 0;
    Framing last = look();
    return ponged && Eventually([&] {
             same = look() == last ? same + 1 : 0;
             last = now;
             return same >= 10;
           });
  };
  // The window manager has framed the client, in a frame other than gone, and the program asks
  // for its minimum.
  const auto framedAndAnswered = [&](Window gone) {
    return Eventually(
               [&] { return look().Framed(client) && now.frame != gone && now.hasMinimum; }) &&
           answered();
  };
  // Maximised, the frame covers the work area (of the first desktop, the one shown); restored,
  // it no longer does.
  const auto maximise = [&](bool on) {
    ask("_NET_WM_STATE",
        {on ? 1 : 0, static_cast<long>(maximisedVert), static_cast<long>(maximisedHorz), 1});
    std::vector<long> area = PropertyItems(x11, root, "_NET_WORKAREA", XA_CARDINAL);
    area.resize(4);
    return Eventually([&] {
             look();
             const bool covers = std::vector<long>{now.x, now.y, now.width, now.height} == area;
             return now.Holds(maximisedVert) == on && now.Holds(maximisedHorz) == on &&
                    now.Framed(client) && covers == on;
           }) &&
           answered();
  };
  // The smallest the frame was made after the client was asked for 700 by 500 (width and
  // height, as a pager asks), until the program answered. A working program refuses the size,
  // so nothing shows; the window manager's handling of the request shows by that of the
  // request after it, to put the client above others, and of the one to take that back.
  const auto smallestAfterShortRequest = [&]() -> std::optional<std::pair<int, int>> {
    XSync(x11, False);
    for (XEvent e; XEventsQueued(x11, QueuedAlready) > 0;) XNextEvent(x11, &e);
    ask("_NET_MOVERESIZE_WINDOW", {(1 << 10) | (1 << 11) | (2 << 12), 0, 0, 700, 500});
    for (const long add : {1, 0}) {
      ask("_NET_WM_STATE", {add, static_cast<long>(above), 0, 1});
      if (!Eventually([&] { return look().Holds(above) == (add == 1); })) return std::nullopt;
    }
    if (!answered()) return std::nullopt;
    std::pair<int, int> smallest(now.width, now.height);
    for (XEvent e; XEventsQueued(x11, QueuedAlready) > 0;) {
      XNextEvent(x11, &e);
      if (e.type == ConfigureNotify && e.xconfigure.window == now.frame) {
        smallest.first = std::min(smallest.first, e.xconfigure.width);
        smallest.second = std::min(smallest.second, e.xconfigure.height);
      }
    }
    return smallest;
  };
  const auto expectMinimumKept = [&] {
    // The window manager keeps the client at least as large as the program's hint asks.
    ASSERT_EQ(now.extents.size(), 4u);
    EXPECT_GE(now.minWidth + now.extents[0] + now.extents[1], 800);
    EXPECT_GE(now.minHeight + now.extents[2] + now.extents[3], 600);
    const std::optional<std::pair<int, int>> smallest = smallestAfterShortRequest();
    ASSERT_TRUE(smallest.has_value()) << "the window manager or the program did not answer";
    EXPECT_GE(smallest->first, 800);
    EXPECT_GE(smallest->second, 600);
  };

  ASSERT_TRUE(framedAndAnswered(None));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(maximise(true));
    ASSERT_TRUE(maximise(false));
  }
  {
    SCOPED_TRACE("maximised and restored");
    expectMinimumKept();
  }

  const Window oldFrame = now.frame;
  manager.reset();  // ends the window manager
  manager.emplace(display.Name(), "openbox", "/dev/null");
  ASSERT_TRUE(WaitForWindowManager(x11));
  ASSERT_TRUE(WaitForListedClient(x11, "Quenda"));
  ASSERT_TRUE(framedAndAnswered(oldFrame));
  {
    SCOPED_TRACE("window manager started again");
    expectMinimumKept();
  }
  XCloseDisplay(x11);
  XSetErrorHandler(previousHandler);
}

// The toolkit says nothing on the terminal while the program starts and shows its window, on a
// bare display and under a window manager (which frames the window after it is realized).
TEST(Program, StartsWithoutToolkitWarnings) {
  for (const bool managed : {false, true}) {
    SCOPED_TRACE(managed ? "under openbox" : "bare display");
    PrivateDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
    Display *x11 = XOpenDisplay(display.Name().c_str());
    ASSERT_NE(x11, nullptr);
    std::optional<Process> windowManager;
    if (managed) {
      windowManager.emplace(display.Name(), "openbox", "/dev/null");
      ASSERT_TRUE(windowManager->Started());
      ASSERT_TRUE(WaitForWindowManager(x11));
    }
    const std::string errors = testing::TempDir() + "quenda-start-errors.txt";
    {
      Process program(display.Name(), QUENDA_BUILD_DIR "Quenda", errors);
      ASSERT_TRUE(program.Started());
      if (managed) {
        ASSERT_TRUE(WaitForListedClient(x11, "Quenda")) << "no window titled Quenda appeared";
      } else {
        ASSERT_EQ(WaitForShownWindows(x11, "Quenda").size(), 1u);
      }
      // Through the first layout and paint.
      EXPECT_TRUE(Eventually([&] {
        const Window client = FindClient(x11, DefaultRootWindow(x11), "Quenda");
        return client != None && PreviewIsDrawnGrey(x11, client);
      }));
    }
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("Gtk-WARNING"), std::string::npos) << text.str();
    EXPECT_EQ(text.str().find("Gtk-CRITICAL"), std::string::npos) << text.str();
    std::remove(errors.c_str());
    XCloseDisplay(x11);
  }
}

}  // namespace
