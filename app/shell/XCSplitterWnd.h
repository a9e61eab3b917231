// The main window's splitter: one row, two columns, with a bar that cannot be moved. Presses
// and drags on the bar do nothing and the cursor over it never turns into the split cursor.
#pragma once

#include <wx/splitter.h>

class XCSplitterWnd : public wxSplitterWindow {
 public:
  explicit XCSplitterWnd(wxWindow *parent, wxWindowID id = wxID_ANY);
};
