#include "app/DialogTemplate.h"

#include <wx/button.h>
#include <wx/font.h>
#include <wx/stattext.h>

#include "app/res/Resource.h"

void CreateFromTemplate(wxWindow &dialog, const res::DialogTemplate &dialogTemplate) {
  // The template's face is not on this system; the system's face at the template's size keeps
  // the dialog units, and with them the layout, as the template means them.
  wxFont font = dialog.GetFont();
  font.SetPointSize(dialogTemplate.fontPoints);
  dialog.SetFont(font);
  dialog.SetClientSize(
      dialog.ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height)));
  for (const res::DialogControl &control : dialogTemplate.controls) {
    const wxPoint position = dialog.ConvertDialogToPixels(wxPoint(control.x, control.y));
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(control.width, control.height));
    const int id = control.id == res::IDC_STATIC ? wxID_ANY : static_cast<int>(control.id);
    const wxString text = wxString::FromUTF8(control.text);
    switch (control.kind) {
      case res::DialogControl::Kind::Text: {
        auto *label = new wxStaticText(&dialog, id, wxEmptyString, position, size,
                                       wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
        label->SetLabelText(text);
        break;
      }
      case res::DialogControl::Kind::Button:
      case res::DialogControl::Kind::DefaultButton: {
        auto *button = new wxButton(&dialog, id, text, position, size);
        if (control.kind == res::DialogControl::Kind::DefaultButton) button->SetDefault();
        break;
      }
    }
  }
}
