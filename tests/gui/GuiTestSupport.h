// Helpers for tests that run the toolkit's windows in the test program itself.
#pragma once

#include <wx/gdicmn.h>
#include <wx/mousestate.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class wxApp;
class wxUIActionSimulator;
class wxDialog;
class wxWindow;
typedef struct _GtkWidget GtkWidget;
namespace platform::gui {
class DialogBase;
}

// How long a test waits for the toolkit at most before it fails: long enough for a machine
// busy with other work.
inline constexpr std::chrono::milliseconds kWaitDeadline{20000};

// Handles the toolkit's events until ready() holds or deadline has passed; whether it holds. A
// test waits this way for the state it needs (a window mapped, a folder listed, a button
// sensitive, a file written), never for a fixed time, which a busy machine outlasts.
bool WaitUntil(const std::function<bool()> &ready,
               std::chrono::milliseconds deadline = kWaitDeadline);

// Whether the display server has carried out every request made so far (a simulated input
// included) and the toolkit has handled every event that came of them: the state to wait for
// when the point is that an input has had all its effects, or that nothing more happens.
bool ToolkitIdle();

// Calls step every 50 ms, also inside modal dialogs, until it returns true.
class Poll : public wxTimer {
 public:
  explicit Poll(std::function<bool()> step) : m_step(std::move(step)) { Start(50); }
  void Notify() override {
    if (m_step()) Stop();
  }

 private:
  std::function<bool()> m_step;
};

// Whether window is mapped on the screen and the toolkit idle (see ToolkitIdle): ready for input
// from the keyboard or the mouse.
bool ShownAndSettled(wxWindow &window);

// Clicks button of input where the pointer is, as a click of its own: the toolkit joins two
// clicks on one spot within its double-click time into a double-click, so a click that follows
// one made here sooner waits out the rest of that time first.
void SingleClick(wxUIActionSimulator &input, int button = wxMOUSE_BTN_LEFT);

// Runs dialog modally and calls act every 50 ms once it shows, until act returns true (act
// ends the dialog, or lets it end). A dialog still open 20 s after it was started fails the
// test, naming what state() says the test waits for, and is cancelled, so a broken test does
// not hang. Returns what DoModal returned.
int RunModal(platform::gui::DialogBase &dialog, std::function<bool()> act,
             std::function<std::string()> state = {});

// The deadline of every driver of dialogs: once dialog has been shown for 20 s since
// shownSince, fails the test naming it and what (the driver's state), cancels it and returns
// true.
bool CloseWhenOverdue(wxDialog &dialog, std::chrono::steady_clock::time_point shownSince,
                      const std::string &what);

// Sends the click of the button or radio button id of window (a radio button is checked
// first, as a click would).
void Click(wxWindow &window, int id);

// The pixels (0xRRGGBB) of a rectangle of the screen, rows top to bottom; empty on failure.
std::vector<uint32_t> GrabScreen(int x, int y, int width, int height);

// The middle of a toolkit widget on the screen.
wxPoint MiddleOnScreen(GtkWidget *widget);

// The titles of the shown children of the root window, bottom to top of the stacking order.
std::vector<std::string> ShownTitlesBottomToTop();

// Moves and sizes the shown top-level window titled `title` from outside the toolkit, as a
// window manager that ignores the window's size hints would; false when there is none.
bool ConfigureFromOutside(const std::string &title, int x, int y, int width, int height);

// The body of a test program's main: starts a private display, starts app on it and runs every
// test inside app's event loop. A failed toolkit assertion fails the running test; a test that
// runs for two minutes ends the program. Then finish, still inside the loop, closes the last window
// so that the loop ends; it returns false when it could not. The program's exit code.
int RunTestsInEventLoop(int argc, char **argv, wxApp &app, std::function<bool()> finish);

// The same for tests that make their own windows: the program's application object is a plain
// one that keeps an empty frame open so that the event loop lives while the tests run.
int RunTestsWithAnchorWindow(int argc, char **argv);
