// Gives a dialog's edit control a font of the system language's character set, so paths and
// names in the operator's language show as they are spelled.
#pragma once

class wxWindow;

// Control `ContorlID` of dialog `hWnd` gets the system's default GUI font at its default size.
// On this system every font covers the operator's language (texts are UTF-8), so the font is
// the same whatever the language; the control keeps its own copy, so nothing is left to free.
// Does nothing when the dialog has no such control.
void SetSystemFontForEdit(wxWindow *hWnd, unsigned long ContorlID);
