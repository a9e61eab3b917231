#include "platform/gui/WxMessageBox.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

#include <future>

namespace platform::gui {

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
  const bool question = buttons == MessageButtons::YesNo;
  const long style = question ? wxYES_NO | wxICON_QUESTION : wxOK | wxICON_EXCLAMATION;
  wxWindow *owner = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
  const wxString message = m_textOf != nullptr ? m_textOf(text) : wxString::FromUTF8(text);
  wxMessageDialog box(owner, message, wxString::FromUTF8(m_caption), style);
  const int id = box.ShowModal();
  if (!question) return MessageAnswer::Ok;
  return id == wxID_YES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace platform::gui
