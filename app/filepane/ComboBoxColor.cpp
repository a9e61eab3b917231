#include "app/filepane/ComboBoxColor.h"

CComboBoxColor::CComboBoxColor(wxWindow *parent, wxWindowID id, const wxPoint &pos,
                               const wxSize &size)
    : wxChoice(parent, id, pos, size) {
  // The key press reaches this handler before the toolkit's own handling and before focus
  // navigation, so a press that is not passed on does nothing at all.
  Bind(wxEVT_KEY_DOWN, &CComboBoxColor::PreTranslateMessage, this);
  Bind(wxEVT_CHAR_HOOK, &CComboBoxColor::PreTranslateMessage, this);
  Bind(wxEVT_RIGHT_DOWN, &CComboBoxColor::OnRButtonDown, this);
  Bind(wxEVT_RIGHT_UP, &CComboBoxColor::OnRButtonUp, this);
  Bind(wxEVT_RIGHT_DCLICK, &CComboBoxColor::OnRButtonDblClk, this);
}

void CComboBoxColor::PreTranslateMessage(wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  if (key == WXK_UP || key == WXK_DOWN || event.AltDown()) event.Skip();
}

void CComboBoxColor::OnRButtonDown(wxMouseEvent &) {}

void CComboBoxColor::OnRButtonUp(wxMouseEvent &) {}

void CComboBoxColor::OnRButtonDblClk(wxMouseEvent &) {}
