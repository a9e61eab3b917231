// The "Rename the qvel file" dialog: the operator types the head and the three-digit number of
// a KDT file's new name in the device's scheme ("M", head, ".QVEL_", number, ".KDT"); the
// dialog checks both, refuses a name already taken in the file's folder and hands the new name
// back. The caller renames the file.
#pragma once

#include <string>

#include "platform/gui/DialogBase.h"

class CDlgRename : public platform::gui::DialogBase {
 public:
  // A null parent makes the main window the owner while the dialog runs.
  explicit CDlgRename(wxWindow *parent = nullptr);

  std::string m_srcName;   // the current name with its extension, shown read-only; caller sets it
  std::string m_sHead;     // the head, at most 7 characters
  std::string m_sNum;      // the number, 3 digits; the caller pre-sets it
  std::string m_sNewName;  // the result: the new name without its folder
  std::string m_sPath;     // the file's folder, ending in the separator; caller sets it

 protected:
  bool OnInitDialog() override;
  bool DoDataExchange(bool save) override;
  void OnOK() override;
};
