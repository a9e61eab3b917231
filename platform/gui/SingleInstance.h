// The single-instance test of start-up: a program that finds its own main window already on
// the display brings that window to the top and ends.
#pragma once

#include <string>

namespace platform::gui {

// Looks on the display for a top-level window titled exactly `title`, shown or minimised (the
// toolkit's hidden windows and pop-ups do not count). The top-level windows are those the
// window manager lists on the root window while it runs, else those a window manager marks as
// its clients however deep it has framed them, else (no window manager) the root window's
// children. When one exists, raises it to the top of the stacking order, and above it the
// dialogs and message boxes shown for it, each above the one it was opened from, so the one the
// user is answering stays in sight (a minimised window stays minimised; nothing is sent to the
// program that owns it), and returns true. False when there is none or no display.
bool BringExistingWindowToTop(const std::string &title);

}  // namespace platform::gui
