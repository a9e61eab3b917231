// Builds a dialog's window from its template: caption, client size and controls given in dialog
// units, placed in pixels for the dialog's own font.
#pragma once

#include "app/res/Dialogs.h"

class wxWindow;

// Gives dialog the template's font size and client size and creates the template's controls
// in it. Texts show exactly as the template has them ("&" included); the default button
// becomes the dialog's default.
void CreateFromTemplate(wxWindow &dialog, const res::DialogTemplate &dialogTemplate);
