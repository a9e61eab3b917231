// The main window's toolbar: flat, at the top, with tool tips and status prompts.
#pragma once

#include <wx/toolbar.h>

class CMyToolBar : public wxToolBar {
 public:
  CMyToolBar(wxWindow *parent, wxWindowID id, long style);

  // Adds the buttons of the toolbar resource with their images, tool tips and status prompts.
  // False when an image is missing.
  bool LoadToolBar();
};
