// The file pane's filter combo: a drop-down list on which only the Up and Down keys work (they
// move the selection and so choose a filter) and the right mouse button does nothing.
#pragma once

#include <wx/choice.h>

class CComboBoxColor : public wxChoice {
 public:
  CComboBoxColor(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size);

 private:
  // Swallows every key press but Up and Down; keys held with Alt (system keys) pass.
  void PreTranslateMessage(wxKeyEvent &event);
  void OnRButtonDown(wxMouseEvent &event);
  void OnRButtonUp(wxMouseEvent &event);
  void OnRButtonDblClk(wxMouseEvent &event);
};
