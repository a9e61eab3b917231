// Builds a dialog's window from its template: caption, client size and controls given in dialog
// units, placed in pixels for the dialog's own font.
#pragma once

#include <wx/gdicmn.h>

#include <functional>

#include "app/res/Dialogs.h"

class wxWindow;

// Makes a control of the dialog's own class (a derived list or combo, say) in place of the
// toolkit's standard one; returns null to let the template make the standard one.
using TemplateControlFactory =
    std::function<wxWindow *(const res::DialogControl &, const wxPoint &, const wxSize &)>;

// Gives dialog the template's font size and client size and creates the template's controls
// in it, in template order (which is the tab order). Texts show exactly as the template has
// them ("&" included); the default button becomes the dialog's default. Styles: hidden and
// disabled controls are created so; see res::style for the rest.
void CreateFromTemplate(wxWindow &dialog, const res::DialogTemplate &dialogTemplate,
                        const TemplateControlFactory &factory = {});

// Finds template templateId and creates its controls in window as above; a dialog or other
// top-level window also takes the template's caption as its title. The template, or null when
// there is none (the window then stays empty).
const res::DialogTemplate *CreateFromTemplate(wxWindow &window, unsigned templateId,
                                              const TemplateControlFactory &factory = {});
