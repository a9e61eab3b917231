// The target folder of a Y/C conversion ("Reverse Field Dominance"). The caption tells the
// mode of the run: "Still Mode Convert" for one selected file, "Animation Mode Convert" for
// several. The targets take their sources' file names, so a target folder that is the folder of
// the first source is refused. The plane choices are hidden with "Y/C Convert" checked: every
// run exchanges both fields.
#pragma once

#include <string>

#include "platform/gui/DialogBase.h"

class CDlgYCConvertSet : public platform::gui::DialogBase {
 public:
  explicit CDlgYCConvertSet(wxWindow *pParent = nullptr);

  // The caller sets m_sTarget (the first source's path) and m_bStill before DoModal, and
  // after OK reads m_sTarget (the target folder, ending in the separator) and m_converMode.
  std::string m_sTarget;
  int m_bStill = 1;       // 1 for one selected file, 0 for several
  std::string m_dstPath;  // the folder the browser opens on, ending in the separator
  std::string sPathName;  // the folder of the first source, ending in the separator
  int m_converMode = 0;   // 0 "Y Convert", 1 "C Convert", 2 "Y/C Convert"

 protected:
  bool DoDataExchange(bool save) override;
  bool OnInitDialog() override;
  // Refuses the source folder, however the target names it; otherwise ends with OK. The
  // folder checked is the one handed back, as the edit shows it.
  void OnOK() override;

 private:
  void OnButtonBrowse();
  bool IsSourceFolder(const std::string &folder) const;
  // Makes target the target and shows it in the target edit.
  void ShowTarget(const std::string &target);

  // The target last put in the edit, by its own bytes: the edit holds only its shown form.
  std::string m_sShownTarget;
  // The folder the first source lies in, as the file system names it: sPathName, or "/" for a
  // source directly in it (whose sPathName is empty).
  std::string m_sSourceFolder;
};
