// The base of the program's dialogs: the toolkit's dialog with the hooks the dialogs are written
// against. The OK button has id kIdOk, the Cancel button kIdCancel; DoModal returns the code the
// dialog ended with. Layout is given in dialog units, which follow the dialog's font.
#pragma once

#include <wx/dialog.h>

#include <string>

namespace platform::gui {

// Ids of a dialog's OK and Cancel buttons, and the codes DoModal returns for them.
enum : int { kIdOk = 1, kIdCancel = 2 };

class DialogBase : public wxDialog {
 public:
  // Creates the dialog's window, hidden. With a null parent the main window owns the dialog
  // while it runs. Dialogs built from a template take their caption from it.
  DialogBase(wxWindow *parent, const std::string &caption = {},
             long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);

  // Runs the dialog modally: OnInitDialog, then the operator, until EndDialog. Returns the code
  // given to EndDialog.
  int DoModal();

  // The control with the given id, or null when there is none or it is not a Control.
  template <class Control>
  Control *GetDlgItem(int id) const {
    return dynamic_cast<Control *>(FindWindow(id));
  }

  // Checks radio button idCheck of the choices idFirst to idLast (its group's others go off).
  void CheckRadioButton(int idFirst, int idLast, int idCheck);
  // The id of the checked radio button among idFirst to idLast, or 0 when none is checked.
  int GetCheckedRadioButton(int idFirst, int idLast) const;
  // The text of control id: an edit's value, any other control's label, shown as it stands
  // ("&" included). Nothing, or an empty text, when there is no such control.
  void SetDlgItemText(int id, const std::string &text);
  std::string GetDlgItemText(int id) const;

  // A rectangle given in dialog units, in pixels for this dialog's font.
  wxRect DialogToPixels(int x, int y, int width, int height) const;
  // Sizes the client area to width by height dialog units.
  void SetClientSizeInDialogUnits(int width, int height);

 protected:
  // Called once when the dialog is about to show; the default copies the members into the
  // controls (DoDataExchange with save false).
  virtual bool OnInitDialog();
  // Moves data between the members and the controls: into the controls when save is false, out
  // of them when save is true. A false result refuses the input and the dialog stays open.
  virtual bool DoDataExchange(bool save);
  // The OK button and Enter: takes the controls' data and ends with kIdOk when it is accepted.
  virtual void OnOK();
  // The Cancel button, Esc and the close box: ends with kIdCancel.
  virtual void OnCancel();

  bool UpdateData(bool save = true) { return DoDataExchange(save); }
  void EndDialog(int result);

 private:
  void OnInitDialogEvent(wxInitDialogEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnClose(wxCloseEvent &event);
};

}  // namespace platform::gui
