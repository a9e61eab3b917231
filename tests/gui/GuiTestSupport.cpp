#include "GuiTestSupport.h"

// clang-format off
// gtest before Xlib, whose macros (None, Bool) clash with gtest's names.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
// clang-format on
#include <stdlib.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/debug.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "PrivateDisplay.h"
#include "platform/HeapTuning.h"
#include "platform/gui/DialogBase.h"
#include "tests/support/ExitCleanup.h"

bool WaitUntil(const std::function<bool()> &ready, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    wxYield();
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    wxMilliSleep(2);
  }
}

bool ToolkitIdle() {
  // The simulated input has reached the server before its call returned; the round trip makes
  // every event the server sent back for it, and for the drawing so far, known here. The
  // toolkit's own timers and idle callbacks are no events: inside a menu they never rest.
  GdkDisplay *display = gdk_display_get_default();
  gdk_display_sync(display);
  if (XPending(GDK_DISPLAY_XDISPLAY(display)) > 0) return false;
  if (GdkEvent *event = gdk_display_peek_event(display)) {
    gdk_event_free(event);
    return false;
  }
  // Then the program's own queued events, and its windows' idle work (a list lays out its items
  // there), which may ask for more.
  return wxTheApp == nullptr || (!wxTheApp->HasPendingEvents() && !wxTheApp->ProcessIdle());
}

bool ShownAndSettled(wxWindow &window) {
  return window.GetHandle() != nullptr && gtk_widget_get_mapped(window.GetHandle()) &&
         ToolkitIdle();
}

void SingleClick(wxUIActionSimulator &input, int button) {
  static std::chrono::steady_clock::time_point last;
  const std::chrono::milliseconds joined(wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC) + 50);
  WaitUntil([&] { return std::chrono::steady_clock::now() - last > joined; }, joined);
  input.MouseClick(button);
  last = std::chrono::steady_clock::now();
}

namespace {

// A dialog on screen this long after it came up has been forgotten by its test.
constexpr std::chrono::seconds kDialogDeadline{20};
// A test of a window program still running after this long hangs: the program ends.
constexpr unsigned kTestTimeLimitSeconds = 120;

}  // namespace

bool CloseWhenOverdue(wxDialog &dialog, std::chrono::steady_clock::time_point shownSince,
                      const std::string &what) {
  if (std::chrono::steady_clock::now() - shownSince < kDialogDeadline) return false;
  ADD_FAILURE() << "the dialog \"" << dialog.GetTitle().utf8_string() << "\" was still open after "
                << kDialogDeadline.count() << " s (" << what << "); it is cancelled";
  if (dialog.IsModal()) {
    dialog.EndModal(platform::gui::kIdCancel);
  } else {
    dialog.Close(true);
  }
  return true;
}

int RunModal(platform::gui::DialogBase &dialog, std::function<bool()> act,
             std::function<std::string()> state) {
  const auto started = std::chrono::steady_clock::now();
  bool acted = false;
  Poll operatorActs([&] {
    if (CloseWhenOverdue(dialog, started,
                         state ? "run by the test, waiting for " + state() : "run by the test")) {
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

namespace {

// Fails the running test with the toolkit's assertion instead of showing its dialog.
void FailOnAssertion(const wxString &file, int line, const wxString &function,
                     const wxString &condition, const wxString &message) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line)
      << "toolkit assertion " << condition.utf8_string() << " failed in " << function.utf8_string()
      << (message.empty() ? "" : ": ") << message.utf8_string();
}

// Ends the program when a test runs past the time limit (it hangs), naming the test, before
// CTest's own limit kills it and so leaves its folders and display behind.
class TestTimeLimit : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo &test) override {
    test_support::SetDoing(std::string(test.test_suite_name()) + "." + test.name());
    alarm(kTestTimeLimitSeconds);
  }
  void OnTestEnd(const testing::TestInfo &) override {
    alarm(0);
    test_support::SetDoing("");
  }
};

}  // namespace

int RunTestsInEventLoop(int argc, char **argv, wxApp &app, std::function<bool()> finish) {
  platform::TuneHeapForPictures();  // as the program does
  testing::InitGoogleTest(&argc, argv);
  PrivateDisplay display;
  if (display.Name().empty()) {
    std::fprintf(stderr, "Xvfb could not be started\n");
    return 1;
  }
  testing::UnitTest::GetInstance()->listeners().Append(new TestTimeLimit);
  setenv("DISPLAY", display.Name().c_str(), 1);
  setenv("GDK_BACKEND", "x11", 1);
  wxApp::SetInstance(&app);
  if (!wxEntryStart(argc, argv)) return 1;
  // A failed assertion of the toolkit would open a dialog that nobody answers.
  wxSetAssertHandler(FailOnAssertion);
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

wxPoint MiddleOnScreen(GtkWidget *widget) {
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(widget), &x, &y);
  GtkAllocation area;
  gtk_widget_get_allocation(widget, &area);
  if (!gtk_widget_get_has_window(widget)) {
    x += area.x;
    y += area.y;
  }
  return {x + area.width / 2, y + area.height / 2};
}
