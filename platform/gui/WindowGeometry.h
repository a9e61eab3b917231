// Sizing a main window from the program: the toolkit sends the window system only the changes
// it believes are changes, so a size it asked for once and the window system then lost (a size
// imposed from outside) would never be asked for again.
#pragma once

#include <wx/gdicmn.h>

class wxTopLevelWindow;

namespace platform::gui {

// Asks the window system at once for outer (the window's rectangle on the screen, a window
// manager's frame included), whatever the toolkit believes the window's rectangle to be. Call
// after the toolkit's own SetSize, which keeps the toolkit's idea of the window in step.
void RequestOuterRect(wxTopLevelWindow &window, const wxRect &outer);

}  // namespace platform::gui
