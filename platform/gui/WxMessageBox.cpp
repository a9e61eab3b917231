#include "platform/gui/WxMessageBox.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

#include <future>

#include "platform/gui/NativeLook.h"

namespace platform::gui {

namespace {

// The window a box belongs to: the modal dialog the operator is in, the innermost when one
// runs from another, else the main window. A box owned by the main window while a dialog runs
// would, once closed, hand the main window the top of the stack (with no window manager to
// keep the dialog above it), hiding the dialog the operator still has to answer.
wxWindow *ActiveOwner() {
  for (auto node = wxTopLevelWindows.GetLast(); node != nullptr; node = node->GetPrevious()) {
    auto *dialog = dynamic_cast<wxDialog *>(node->GetData());
    if (dialog != nullptr && dialog->IsModal() && dialog->IsShown() && !dialog->IsBeingDeleted()) {
      return dialog;
    }
  }
  return wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
}

}  // namespace

MessageAnswer WxMessageBoxService::Show(const std::string &text, MessageButtons buttons) {
  if (wxThread::IsMain() || wxTheApp == nullptr) return ShowHere(text, buttons);
  // The box belongs to the user-interface thread; this thread waits for the answer. The main
  // thread's event loop (a modal progress dialog's included) runs the call.
  std::promise<MessageAnswer> answer;
  std::future<MessageAnswer> result = answer.get_future();
  wxTheApp->CallAfter(
      [this, &answer, &text, buttons] { answer.set_value(ShowHere(text, buttons)); });
  return result.get();
}

MessageAnswer WxMessageBoxService::ShowHere(const std::string &text, MessageButtons buttons) const {
  WrapLongWordsInMessageBoxes();
  const bool question = buttons == MessageButtons::YesNo;
  const long style = question ? wxYES_NO | wxICON_QUESTION : wxOK | wxICON_EXCLAMATION;
  const wxString message = m_textOf != nullptr ? m_textOf(text) : wxString::FromUTF8(text);
  wxMessageDialog box(ActiveOwner(), message, wxString::FromUTF8(m_caption), style);
  const int id = box.ShowModal();
  if (!question) return MessageAnswer::Ok;
  return id == wxID_YES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace platform::gui
