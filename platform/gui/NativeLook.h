// What the toolkit's own widgets need so that the program's windows look and size as their
// templates mean them: texts centred in their height or inside a sunken edge, edits whose
// margins leave the template's width to the text, and a main window that is never laid out at
// a size of one or two pixels while the window manager is asked for its frame.
#pragma once

class wxStaticText;
class wxTextCtrl;
class wxTopLevelWindow;

namespace platform::gui {

// The text sits in the middle of the control's height (the toolkit puts it at the top).
void CentreTextVertically(wxStaticText &text);

// A one-pixel sunken edge around the text, dark above and left, light below and right.
void DrawStaticEdge(wxStaticText &text);

// Margins of two pixels beside the text, as a dialog's edit has them; the toolkit's own are
// wide enough to hide two characters of a 30-unit field.
void UseNarrowEditMargins(wxTextCtrl &edit);

// Every message box the toolkit shows from now on breaks a word too long for its line (a long
// path) where it must, as it breaks text at spaces, so the box stays narrower than the screen.
void WrapLongWordsInMessageBoxes();

// Call before the window is first shown. Under a window manager the toolkit realizes the window
// with a placeholder size of two pixels by one and lays its bars out at that width (warnings on
// the terminal at every start), and the window manager, handed the placeholder, places the
// window itself at the top left. The window's own size is given to it first instead, so the bars
// are laid out at their width and the place set before showing holds.
void GiveInitialLayoutSize(wxTopLevelWindow &window);

}  // namespace platform::gui
