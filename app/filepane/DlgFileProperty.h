// The "File Property" dialog: full path, format, width and height, size in kilobytes and
// last-write time of the file in preview. It only shows what the caller put in its members.
#pragma once

#include <string>

#include "platform/gui/DialogBase.h"

class CDlgFileProperty : public platform::gui::DialogBase {
 public:
  // A null parent makes the main window the owner while the dialog runs.
  explicit CDlgFileProperty(wxWindow *parent = nullptr);

  std::string m_sBits;        // file size in kilobytes, decimal
  std::string m_sUpdateTime;  // last-write time, "MM/DD/YYYY hh:mm:ss"
  std::string m_sWidth;       // width "*" height
  std::string m_sFileName;    // full path
  std::string m_sFormat;      // extension in upper case

 protected:
  bool OnInitDialog() override;
  bool DoDataExchange(bool save) override;
};
