#include "platform/gui/SingleInstance.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace platform::gui {

namespace {

struct DisplayCloser {
  void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// The window's title as the window manager protocol gives it (UTF-8), else its plain name.
bool HasTitle(Display *display, Window window, const std::string &title) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char *data = nullptr;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    const bool same = type == utf8 && format == 8 && after == 0 &&
                      std::string(reinterpret_cast<char *>(data), count) == title;
    XFree(data);
    if (same) return true;
  }
  char *name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    const bool same = title == name;
    XFree(name);
    return same;
  }
  return false;
}

// A window the user has: shown, or minimised by the window manager. Toolkits keep hidden
// windows that carry the program's name as their default title; those do not count.
bool IsUsersWindow(Display *display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.c_class == InputOnly) {
    return false;
  }
  if (attributes.map_state == IsViewable) return true;
  const Atom wmState = XInternAtom(display, "WM_STATE", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char *data = nullptr;
  bool managed = false;
  if (XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    constexpr long kWithdrawnState = 0;
    managed = format == 32 && count >= 1 && reinterpret_cast<long *>(data)[0] != kWithdrawnState;
    XFree(data);
  }
  return managed;
}

bool IsMainWindow(Display *display, Window window, const std::string &title) {
  return IsUsersWindow(display, window) && HasTitle(display, window, title);
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

}  // namespace

bool BringExistingWindowToTop(const std::string &title) {
  DisplayPtr display(XOpenDisplay(nullptr));
  if (!display) return false;
  Display *d = display.get();
  // A top-level window is a child of the root window, or, where a window manager frames its
  // windows, a child of such a frame.
  for (Window top : Children(d, DefaultRootWindow(d))) {
    Window found = None;
    if (IsMainWindow(d, top, title)) {
      found = top;
    } else {
      for (Window inner : Children(d, top)) {
        if (IsMainWindow(d, inner, title)) {
          found = inner;
          break;
        }
      }
    }
    if (found == None) continue;
    XRaiseWindow(d, found);
    if (found != top) XRaiseWindow(d, top);
    XFlush(d);
    return true;
  }
  return false;
}

}  // namespace platform::gui
