#include "app/common/DialogTemplate.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/font.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/valtext.h>

#include "app/res/Resource.h"
#include "platform/gui/NativeLook.h"

namespace {

using res::DialogControl;
namespace style = res::style;

long BorderStyle(unsigned styles) {
  if (styles & style::kStaticEdge) return wxBORDER_STATIC;
  if (styles & style::kBorder) return wxBORDER_SIMPLE;
  return 0;
}

wxWindow *CreateStandardControl(wxWindow &dialog, const DialogControl &control, int id,
                                const wxPoint &position, const wxSize &size) {
  const wxString text = wxString::FromUTF8(control.text);
  const unsigned styles = control.styles;
  switch (control.kind) {
    case DialogControl::Kind::Text: {
      long textStyle = wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END | BorderStyle(styles);
      if (styles & style::kRight) textStyle |= wxALIGN_RIGHT;
      auto *label = new wxStaticText(&dialog, id, wxEmptyString, position, size, textStyle);
      label->SetLabelText(text);
      if (styles & style::kCentreV) platform::gui::CentreTextVertically(*label);
      if (styles & style::kStaticEdge) platform::gui::DrawStaticEdge(*label);
      return label;
    }
    case DialogControl::Kind::Button:
    case DialogControl::Kind::DefaultButton: {
      auto *button = new wxButton(&dialog, id, text, position, size);
      if (control.kind == DialogControl::Kind::DefaultButton) button->SetDefault();
      return button;
    }
    case DialogControl::Kind::GroupBox:
      return new wxStaticBox(&dialog, id, text, position, size);
    case DialogControl::Kind::Edit: {
      long editStyle = BorderStyle(styles);
      if (styles & style::kReadOnly) editStyle |= wxTE_READONLY;
      auto *edit = new wxTextCtrl(&dialog, id, text, position, size, editStyle);
      platform::gui::UseNarrowEditMargins(*edit);
      if (styles & style::kNumber) edit->SetValidator(wxTextValidator(wxFILTER_DIGITS));
      return edit;
    }
    case DialogControl::Kind::RadioButton:
      return new wxRadioButton(&dialog, id, text, position, size,
                               (styles & style::kGroup) ? wxRB_GROUP : 0);
    case DialogControl::Kind::CheckBox:
      return new wxCheckBox(&dialog, id, text, position, size);
    case DialogControl::Kind::Progress:
      return new wxGauge(&dialog, id, 100, position, size, wxGA_HORIZONTAL | BorderStyle(styles));
    case DialogControl::Kind::ComboBox:
      return new wxChoice(&dialog, id, position, size);
    case DialogControl::Kind::ListView: {
      long listStyle = wxLC_REPORT | wxBORDER_SUNKEN;
      if (styles & style::kNoHeader) listStyle |= wxLC_NO_HEADER;
      if (styles & style::kSingleSel) listStyle |= wxLC_SINGLE_SEL;
      return new wxListCtrl(&dialog, id, position, size, listStyle);
    }
  }
  return nullptr;
}

}  // namespace

void CreateFromTemplate(wxWindow &dialog, const res::DialogTemplate &dialogTemplate,
                        const TemplateControlFactory &factory) {
  // The template's face is not on this system; the system's face at the template's size keeps
  // the dialog units, and with them the layout, as the template means them.
  wxFont font = dialog.GetFont();
  font.SetPointSize(dialogTemplate.fontPoints);
  dialog.SetFont(font);
  dialog.SetClientSize(
      dialog.ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height)));
  for (const DialogControl &control : dialogTemplate.controls) {
    const wxPoint position = dialog.ConvertDialogToPixels(wxPoint(control.x, control.y));
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(control.width, control.height));
    const int id = control.id == res::IDC_STATIC ? wxID_ANY : static_cast<int>(control.id);
    wxWindow *window = factory ? factory(control, position, size) : nullptr;
    if (!window) window = CreateStandardControl(dialog, control, id, position, size);
    if (!window) continue;
    if (control.styles & style::kDisabled) window->Disable();
    if (control.styles & style::kHidden) window->Hide();
  }
}

const res::DialogTemplate *CreateFromTemplate(wxWindow &window, unsigned templateId,
                                              const TemplateControlFactory &factory) {
  const res::DialogTemplate *dialogTemplate = res::FindDialogTemplate(templateId);
  if (dialogTemplate == nullptr) return nullptr;
  if (auto *topLevel = dynamic_cast<wxTopLevelWindow *>(&window))
    topLevel->SetTitle(wxString::FromUTF8(dialogTemplate->caption));
  CreateFromTemplate(window, *dialogTemplate, factory);
  return dialogTemplate;
}
