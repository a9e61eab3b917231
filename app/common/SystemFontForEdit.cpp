#include "app/common/SystemFontForEdit.h"

#include <wx/settings.h>
#include <wx/window.h>

void SetSystemFontForEdit(wxWindow *hWnd, unsigned long ContorlID) {
  if (!hWnd) return;
  wxWindow *control = hWnd->FindWindow(static_cast<long>(ContorlID));
  if (!control) return;
  control->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  control->Refresh();
}
