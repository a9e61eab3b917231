#include "app/filepane/DlgFileProperty.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/DialogTemplate.h"
#include "app/common/FileNameText.h"
#include "app/common/SystemFontForEdit.h"
#include "app/res/Resource.h"

CDlgFileProperty::CDlgFileProperty(wxWindow *parent) : DialogBase(parent) {
  CreateFromTemplate(*this, res::IDD_FILE_PROPERTY);
}

bool CDlgFileProperty::OnInitDialog() {
  DialogBase::OnInitDialog();
  SetSystemFontForEdit(this, res::IDC_EDT_FILE_NAME);
  return true;
}

bool CDlgFileProperty::DoDataExchange(bool save) {
  // The dialog only shows its members; nothing is read back. The format is part of the name, and
  // shown as the name is.
  if (save) return true;
  const std::pair<unsigned, const std::string *> texts[] = {
      {res::IDC_STC_SIZE, &m_sBits},
      {res::IDC_STC_UPDATE_TIME, &m_sUpdateTime},
      {res::IDC_STC_WIDTH_HEIGHT, &m_sWidth},
      {res::IDC_STC_FORMAT, &m_sFormat},
  };
  for (const auto &[id, text] : texts) {
    if (auto *label = GetDlgItem<wxStaticText>(static_cast<int>(id)))
      label->SetLabelText(FileNameText(*text));
  }
  if (auto *path = GetDlgItem<wxTextCtrl>(res::IDC_EDT_FILE_NAME))
    path->ChangeValue(FileNameText(m_sFileName));
  return true;
}
