#include "app/filepane/DlgRename.h"

#include <wx/textctrl.h>

#include "app/common/DialogTemplate.h"
#include "app/common/FileNameText.h"
#include "app/common/SystemFontForEdit.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "codec/DeviceFileName.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/StringCase.h"

namespace {

constexpr unsigned kMaxHead = 7;

// Letters, digits and '_' only; a byte of a character beyond ASCII never passes.
bool IsValidHead(const std::string &head) {
  for (const char c : platform::ToUpper(head)) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

}  // namespace

CDlgRename::CDlgRename(wxWindow *parent) : DialogBase(parent) {
  CreateFromTemplate(*this, res::IDD_RENAME);
}

bool CDlgRename::OnInitDialog() {
  DialogBase::OnInitDialog();
  SetSystemFontForEdit(this, res::IDC_EDT_SRC_NAME);
  return true;
}

bool CDlgRename::DoDataExchange(bool save) {
  auto *source = GetDlgItem<wxTextCtrl>(res::IDC_EDT_SRC_NAME);
  auto *head = GetDlgItem<wxTextCtrl>(res::IDC_EDT_HEAD);
  auto *number = GetDlgItem<wxTextCtrl>(res::IDC_EDT_NUMBER);
  if (source == nullptr || head == nullptr || number == nullptr) return false;
  if (save) {
    // The current name is shown only; its own bytes stay in m_srcName.
    m_sHead = head->GetValue().utf8_string();
    m_sNum = number->GetValue().utf8_string();
  } else {
    source->ChangeValue(FileNameText(m_srcName));
    head->SetMaxLength(kMaxHead);
    head->ChangeValue(wxString::FromUTF8(m_sHead));
    number->SetMaxLength(kDeviceNumberDigits);
    number->ChangeValue(wxString::FromUTF8(m_sNum));
  }
  return true;
}

void CDlgRename::OnOK() {
  auto *head = GetDlgItem<wxTextCtrl>(res::IDC_EDT_HEAD);
  auto *number = GetDlgItem<wxTextCtrl>(res::IDC_EDT_NUMBER);
  if (head == nullptr || number == nullptr) return;

  const std::string headText = head->GetValue().utf8_string();
  if (!IsValidHead(headText)) {
    head->SetFocus();
    platform::ShowMessageBox(res::LoadString(res::IDS_INVALID_CHAR));
    return;
  }
  m_sHead = headText;

  // The field takes digits only as typed, but a paste can bring others.
  const std::string numberText = number->GetValue().utf8_string();
  if (!IsDeviceNumber(numberText)) {
    number->SetFocus();
    platform::ShowMessageBox(res::LoadString(res::IDS_THREE_DIGITS));
    return;
  }
  m_sNum = numberText;
  m_sNewName = FormatDeviceFileName(kPictureLetter, m_sHead, m_sNum);

  if (platform::PathExists(m_sPath + m_sNewName)) {
    platform::ShowMessageBox(res::LoadString(res::IDS_NAME_EXISTS));
    return;
  }
  DialogBase::OnOK();
}
