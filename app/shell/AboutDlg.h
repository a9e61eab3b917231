// The About box: the program's two pictures side by side, its version line and an OK button.
#pragma once

#include "platform/gui/DialogBase.h"

class wxPaintEvent;

class CAboutDlg : public platform::gui::DialogBase {
 public:
  // A null parent makes the main window the owner while the box runs.
  explicit CAboutDlg(wxWindow *parent = nullptr);

 private:
  void OnPaint(wxPaintEvent &event);
};
