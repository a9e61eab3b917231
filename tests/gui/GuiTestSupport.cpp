#include "GuiTestSupport.h"

// clang-format off
// gtest before Xlib, whose macros (None, Bool) clash with gtest's names.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <stdlib.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/radiobut.h>
#include <wx/utils.h>

#include "PrivateDisplay.h"
#include "platform/HeapTuning.h"
#include "platform/gui/DialogBase.h"

void Pump(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    wxYield();
    wxMilliSleep(10);
  }
}

int RunModal(platform::gui::DialogBase &dialog, std::function<bool()> act) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool acted = false;
  Poll operatorActs([&] {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the dialog did not end";
      if (dialog.IsModal()) dialog.EndModal(platform::gui::kIdCancel);
      return true;
    }
    if (!acted && dialog.IsShown()) acted = act();
    return false;
  });
  return dialog.DoModal();
}

void Click(wxWindow &window, int id) {
  wxWindow *control = window.FindWindow(id);
  ASSERT_NE(control, nullptr) << id;
  wxCommandEvent click(wxEVT_BUTTON, id);
  if (auto *radio = dynamic_cast<wxRadioButton *>(control)) {
    radio->SetValue(true);
    click.SetEventType(wxEVT_RADIOBUTTON);
    click.SetInt(1);
  }
  click.SetEventObject(control);
  control->ProcessWindowEvent(click);
}

std::vector<uint32_t> GrabScreen(int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr) return pixels;
  XImage *image =
      XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
  if (image != nullptr) {
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        pixels.push_back(static_cast<uint32_t>(XGetPixel(image, col, row) & 0xFFFFFF));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixels;
}

std::vector<std::string> ShownTitlesBottomToTop() {
  std::vector<std::string> titles;
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr) return titles;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      char *name = nullptr;
      if (XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable && XFetchName(display, children[i], &name) &&
          name != nullptr) {
        titles.emplace_back(name);
      }
      if (name != nullptr) XFree(name);
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(display);
  return titles;
}

bool ConfigureFromOutside(const std::string &title, int x, int y, int width, int height) {
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  bool found = false;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes;
      char *name = nullptr;
      if (!XGetWindowAttributes(display, children[i], &attributes) ||
          attributes.map_state != IsViewable || !XFetchName(display, children[i], &name) ||
          name == nullptr) {
        continue;
      }
      found = title == name;
      XFree(name);
      if (found) {
        XMoveResizeWindow(display, children[i], x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
      }
    }
    if (children != nullptr) XFree(children);
  }
  XSync(display, False);
  XCloseDisplay(display);
  return found;
}

int RunTestsInEventLoop(int argc, char **argv, wxApp &app, std::function<bool()> finish) {
  platform::TuneHeapForPictures();  // as the program does
  testing::InitGoogleTest(&argc, argv);
  PrivateDisplay display;
  if (display.Name().empty()) {
    std::fprintf(stderr, "Xvfb could not be started\n");
    return 1;
  }
  setenv("DISPLAY", display.Name().c_str(), 1);
  setenv("GDK_BACKEND", "x11", 1);
  wxApp::SetInstance(&app);
  if (!wxEntryStart(argc, argv)) return 1;
  int result = 1;
  if (app.CallOnInit()) {
    app.CallAfter([&] {
      result = RUN_ALL_TESTS();
      if (!finish()) {
        result = 1;
        app.ExitMainLoop();
      }
    });
    app.OnRun();
    app.OnExit();
  }
  wxEntryCleanup();
  return result;
}

namespace {

class AnchorApp : public wxApp {
 public:
  bool OnInit() override {
    anchor = new wxFrame(nullptr, wxID_ANY, "anchor");
    return true;
  }
  wxFrame *anchor = nullptr;
};

}  // namespace

int RunTestsWithAnchorWindow(int argc, char **argv) {
  auto *app = new AnchorApp;
  return RunTestsInEventLoop(argc, argv, *app, [app] { return app->anchor->Destroy(); });
}
