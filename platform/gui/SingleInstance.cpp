#include "platform/gui/SingleInstance.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace platform::gui {

namespace {

struct DisplayCloser {
  void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
  void operator()(void *data) const { XFree(data); }
};

// A window may vanish while the search looks at it. Xlib's default handler would end the
// program on the error that follows; during the search such a window simply does not match.
// The handler is the process's; the errors of every request sent meanwhile arrive before it
// is given back.
class IgnoreXErrors {
 public:
  explicit IgnoreXErrors(Display *display)
      : m_display(display),
        m_previous(XSetErrorHandler([](Display *, XErrorEvent *) { return 0; })) {}
  ~IgnoreXErrors() {
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
  }
  IgnoreXErrors(const IgnoreXErrors &) = delete;
  IgnoreXErrors &operator=(const IgnoreXErrors &) = delete;

 private:
  Display *m_display;
  XErrorHandler m_previous;
};

// A property read whole: its type, format and items. None when the window lacks it.
struct Property {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  std::unique_ptr<unsigned char, XFreeDeleter> data;
};

std::optional<Property> ReadProperty(Display *display, Window window, Atom name, Atom type) {
  constexpr long kMaxLongs = 1 << 16;
  Property property;
  unsigned long after = 0;
  unsigned char *data = nullptr;
  if (XGetWindowProperty(display, window, name, 0, kMaxLongs, False, type, &property.type,
                         &property.format, &property.count, &after, &data) != Success) {
    return std::nullopt;
  }
  property.data.reset(data);
  if (property.type == None || data == nullptr || after != 0) return std::nullopt;
  return property;
}

// The window's title as the window manager protocol gives it (UTF-8), else its plain name.
bool HasTitle(Display *display, Window window, const std::string &title) {
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const auto netName =
      ReadProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8);
  if (netName && netName->type == utf8 && netName->format == 8 &&
      std::string(reinterpret_cast<char *>(netName->data.get()), netName->count) == title) {
    return true;
  }
  char *name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    const bool same = title == name;
    XFree(name);
    return same;
  }
  return false;
}

// The ICCCM state a window manager gives each client window it manages; none when the window
// is not managed.
std::optional<long> WmState(Display *display, Window window) {
  const Atom wmState = XInternAtom(display, "WM_STATE", False);
  const auto state = ReadProperty(display, window, wmState, wmState);
  if (!state || state->format != 32 || state->count < 1) return std::nullopt;
  return reinterpret_cast<long *>(state->data.get())[0];
}

// A window the user has: shown, or minimised by the window manager. Toolkits keep hidden
// windows that carry the program's name as their default title; those do not count, nor do
// the pop-ups that bypass the window manager (drop-down lists, menus, tool tips), which take
// the program's name as well but are no program's main window.
bool IsUsersWindow(Display *display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.c_class == InputOnly ||
      attributes.override_redirect) {
    return false;
  }
  if (attributes.map_state == IsViewable) return true;
  constexpr long kWithdrawnState = 0;
  const std::optional<long> state = WmState(display, window);
  return state && *state != kWithdrawnState;
}

std::vector<Window> Children(Display *display, Window window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> result;
  if (XQueryTree(display, window, &root, &parent, &children, &count) && children != nullptr) {
    result.assign(children, children + count);
    XFree(children);
  }
  return result;
}

Window Parent(Display *display, Window window) {
  Window root = 0, parent = None, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return None;
  if (children != nullptr) XFree(children);
  return parent;
}

// The window a window manager that follows the desktop conventions names on a window (the root,
// or that window itself); None when there is no such name.
Window SupportingWindow(Display *display, Window window) {
  const auto check = ReadProperty(
      display, window, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW);
  if (!check || check->type != XA_WINDOW || check->format != 32 || check->count < 1) return None;
  return static_cast<Window>(reinterpret_cast<unsigned long *>(check->data.get())[0]);
}

// Whether the window manager that published the root's properties still runs: the window it
// names on the root exists and names itself. One that has ended leaves the root's properties
// behind, naming a window that is gone (or, later, a stranger's).
bool WindowManagerRuns(Display *display) {
  const Window named = SupportingWindow(display, DefaultRootWindow(display));
  return named != None && SupportingWindow(display, named) == named;
}

// The client windows as a window manager that follows the desktop conventions lists them on
// the root window; none when no such window manager runs, or the one that published the list
// has ended (its list is then stale, often empty).
std::optional<std::vector<Window>> PublishedClients(Display *display) {
  if (!WindowManagerRuns(display)) return std::nullopt;
  const auto list = ReadProperty(display, DefaultRootWindow(display),
                                 XInternAtom(display, "_NET_CLIENT_LIST", False), XA_WINDOW);
  if (!list || list->type != XA_WINDOW || list->format != 32) return std::nullopt;
  const auto *ids = reinterpret_cast<unsigned long *>(list->data.get());
  return std::vector<Window>(ids, ids + list->count);
}

// The client window inside one child of the root: the first window down its tree (breadth
// first) that carries WM_STATE, where a window manager has framed it, however deep; the child
// itself where nothing below carries it (no window manager).
Window ClientWindow(Display *display, Window topLevel) {
  std::deque<Window> pending{topLevel};
  while (!pending.empty()) {
    const Window window = pending.front();
    pending.pop_front();
    if (WmState(display, window)) return window;
    for (Window child : Children(display, window)) pending.push_back(child);
  }
  return topLevel;
}

std::vector<Window> ClientWindows(Display *display) {
  if (auto published = PublishedClients(display)) return *published;
  std::vector<Window> clients;
  for (Window top : Children(display, DefaultRootWindow(display))) {
    clients.push_back(ClientWindow(display, top));
  }
  return clients;
}

// Raises the client and the root's child that holds it: a window manager that frames its
// clients hears of the client's request and restacks the frame; without one the window that
// holds the client is what the stacking order of the screen is made of.
void Raise(Display *display, Window client) {
  const Window root = DefaultRootWindow(display);
  XRaiseWindow(display, client);
  Window top = client;
  for (Window parent = Parent(display, top); parent != None && parent != root;
       parent = Parent(display, top)) {
    top = parent;
  }
  if (top != client) XRaiseWindow(display, top);
}

// How many steps of "transient for" lead from window to owner: 1 for a dialog or message box
// of owner's, 2 for one opened from that dialog, and so on; 0 when they lead elsewhere or
// nowhere. A chain longer than limit is a loop and leads nowhere.
size_t StepsToOwner(Display *display, Window window, Window owner, size_t limit) {
  Window step = window;
  for (size_t steps = 1; steps <= limit; ++steps) {
    Window next = None;
    if (!XGetTransientForHint(display, step, &next) || next == None) return 0;
    if (next == owner) return steps;
    step = next;
  }
  return 0;
}

// Raises the dialogs and message boxes shown for owner above it, each above the one it was
// opened from. A modal one takes the program's input while the window under it takes none, so
// it must stay in sight; without a window manager nothing else would put it back on top.
void RaiseDialogsOf(Display *display, Window owner, const std::vector<Window> &clients) {
  std::vector<std::pair<size_t, Window>> dialogs;
  for (Window client : clients) {
    if (client == owner || !IsUsersWindow(display, client)) continue;
    if (const size_t steps = StepsToOwner(display, client, owner, clients.size()))
      dialogs.emplace_back(steps, client);
  }
  std::stable_sort(dialogs.begin(), dialogs.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  for (const auto &dialog : dialogs) Raise(display, dialog.second);
}

}  // namespace

bool BringExistingWindowToTop(const std::string &title) {
  DisplayPtr display(XOpenDisplay(nullptr));
  if (!display) return false;
  Display *d = display.get();
  const IgnoreXErrors ignore(d);
  const std::vector<Window> clients = ClientWindows(d);
  for (Window client : clients) {
    if (IsUsersWindow(d, client) && HasTitle(d, client, title)) {
      Raise(d, client);
      RaiseDialogsOf(d, client, clients);
      return true;
    }
  }
  return false;
}

}  // namespace platform::gui
