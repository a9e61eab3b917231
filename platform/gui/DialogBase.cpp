#include "platform/gui/DialogBase.h"

#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace platform::gui {

DialogBase::DialogBase(wxWindow *parent, const std::string &caption, long style)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(caption), wxDefaultPosition, wxDefaultSize,
               style) {
  // Handlers bound here run before the toolkit's own dialog handling, which would end the
  // dialog with codes of its own.
  Bind(wxEVT_INIT_DIALOG, &DialogBase::OnInitDialogEvent, this);
  Bind(wxEVT_CHAR_HOOK, &DialogBase::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &DialogBase::OnClose, this);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnOK(); }, kIdOk);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnCancel(); }, kIdCancel);
  SetAffirmativeId(kIdOk);
  SetEscapeId(kIdCancel);
}

int DialogBase::DoModal() {
  CentreOnParent();
  return ShowModal();
}

bool DialogBase::OnInitDialog() {
  return UpdateData(false);
}

bool DialogBase::DoDataExchange(bool) {
  return true;
}

void DialogBase::OnOK() {
  if (UpdateData(true)) EndDialog(kIdOk);
}

void DialogBase::OnCancel() {
  EndDialog(kIdCancel);
}

void DialogBase::EndDialog(int result) {
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
    Hide();
  }
}

void DialogBase::CheckRadioButton(int idFirst, int idLast, int idCheck) {
  if (idCheck < idFirst || idCheck > idLast) return;
  if (auto *button = GetDlgItem<wxRadioButton>(idCheck)) button->SetValue(true);
}

int DialogBase::GetCheckedRadioButton(int idFirst, int idLast) const {
  for (int id = idFirst; id <= idLast; ++id) {
    if (auto *button = GetDlgItem<wxRadioButton>(id); button != nullptr && button->GetValue()) {
      return id;
    }
  }
  return 0;
}

void DialogBase::SetDlgItemText(int id, const std::string &text) {
  wxWindow *control = FindWindow(id);
  if (control == nullptr) return;
  if (auto *edit = dynamic_cast<wxTextCtrl *>(control)) {
    edit->ChangeValue(wxString::FromUTF8(text));
  } else if (auto *labelled = dynamic_cast<wxControl *>(control)) {
    labelled->SetLabelText(wxString::FromUTF8(text));
  } else {
    control->SetLabel(wxString::FromUTF8(text));
  }
}

std::string DialogBase::GetDlgItemText(int id) const {
  const wxWindow *control = FindWindow(id);
  if (control == nullptr) return {};
  if (auto *edit = dynamic_cast<const wxTextCtrl *>(control)) return edit->GetValue().utf8_string();
  if (auto *labelled = dynamic_cast<const wxControl *>(control)) {
    return labelled->GetLabelText().utf8_string();
  }
  return control->GetLabel().utf8_string();
}

wxRect DialogBase::DialogToPixels(int x, int y, int width, int height) const {
  const wxPoint origin = ConvertDialogToPixels(wxPoint(x, y));
  const wxSize size = ConvertDialogToPixels(wxSize(width, height));
  return wxRect(origin, size);
}

void DialogBase::SetClientSizeInDialogUnits(int width, int height) {
  SetClientSize(ConvertDialogToPixels(wxSize(width, height)));
}

void DialogBase::OnInitDialogEvent(wxInitDialogEvent &) {
  OnInitDialog();
}

void DialogBase::OnCharHook(wxKeyEvent &event) {
  if (event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers()) {
    OnCancel();
    return;
  }
  event.Skip();
}

void DialogBase::OnClose(wxCloseEvent &event) {
  if (!event.CanVeto()) {
    event.Skip();
    return;
  }
  OnCancel();
}

}  // namespace platform::gui
