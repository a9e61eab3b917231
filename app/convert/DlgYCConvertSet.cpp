#include "app/convert/DlgYCConvertSet.h"

#include <wx/textctrl.h>

#include <filesystem>
#include <system_error>

#include "app/common/DialogTemplate.h"
#include "app/common/FileNameText.h"
#include "app/common/SystemFontForEdit.h"
#include "app/convert/TargetFolder.h"
#include "app/res/Resource.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"

namespace {

using namespace res;

constexpr char kSameFolder[] =
    "The target directory can not be the same as \nthe source directory!";

}  // namespace

CDlgYCConvertSet::CDlgYCConvertSet(wxWindow *pParent) : DialogBase(pParent) {
  CreateFromTemplate(*this, IDD_DLG_YCCONVERTSET);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnButtonBrowse(); }, IDC_BTN_YCBROWSE);
}

bool CDlgYCConvertSet::DoDataExchange(bool save) {
  if (save) {
    m_sTarget = FileNameBehind(GetDlgItemText(IDC_EDIT_YCTARGET), m_sShownTarget);
  } else {
    ShowTarget(m_sTarget);
  }
  return true;
}

bool CDlgYCConvertSet::OnInitDialog() {
  DialogBase::OnInitDialog();
  SetSystemFontForEdit(this, IDC_EDIT_YCTARGET);
  sPathName = SourceFolderOf(m_sTarget);
  // A source directly in "/" has no folder to show, but its targets would still replace it.
  const size_t separator = m_sTarget.rfind(platform::kPathSeparator);
  m_sSourceFolder = separator == 0 ? m_sTarget.substr(0, 1) : sPathName;
  ShowTarget(sPathName);
  m_dstPath = sPathName;
  CheckRadioButton(IDC_RDO_Y, IDC_RDO_YC, IDC_RDO_YC);
  SetTitle(m_bStill ? "Still Mode Convert" : "Animation Mode Convert");
  // OK, the default button and first in the tab order, has the keyboard: Enter presses it.
  if (wxWindow *ok = FindWindow(platform::gui::kIdOk)) ok->SetFocus();
  return true;
}

void CDlgYCConvertSet::OnButtonBrowse() {
  const std::optional<std::string> folder = BrowseForFolder(this, m_dstPath);
  if (!folder) return;
  m_dstPath = WithTrailingSeparator(*folder);
  ShowTarget(m_dstPath);
}

void CDlgYCConvertSet::ShowTarget(const std::string &target) {
  m_sTarget = target;
  m_sShownTarget = target;
  if (auto *edit = GetDlgItem<wxTextCtrl>(IDC_EDIT_YCTARGET))
    edit->ChangeValue(FileNameText(target));
}

void CDlgYCConvertSet::OnOK() {
  if (const int checked = GetCheckedRadioButton(IDC_RDO_Y, IDC_RDO_YC)) {
    m_converMode = checked - IDC_RDO_Y;
  }
  // The folder checked is the one the dialog hands back: the edit's text, read first.
  if (!UpdateData(true)) return;
  if (IsSourceFolder(m_sTarget)) {
    platform::ShowMessageBox(kSameFolder);
    return;
  }
  EndDialog(platform::gui::kIdOk);
}

bool CDlgYCConvertSet::IsSourceFolder(const std::string &folder) const {
  if (folder == sPathName) return true;
  // The same folder reached another way (a link, "/./", another spelling): the targets would
  // overwrite their sources.
  std::error_code error;
  return !m_sSourceFolder.empty() && std::filesystem::equivalent(folder, m_sSourceFolder, error);
}
