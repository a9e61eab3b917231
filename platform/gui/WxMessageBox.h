// Message boxes shown by the toolkit: modal, owned by the dialog the operator is in (else the
// main window), under the program's caption. A box asked for on a worker thread is handed to the
// user-interface thread, and the worker waits there for the operator's answer.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

#include "platform/MessageBox.h"

namespace platform::gui {

class WxMessageBoxService final : public MessageBoxService {
 public:
  // How a message's bytes become the text of the box; a message may hold a file's name, which
  // need not be UTF-8. Without one, the bytes are taken as UTF-8.
  using TextOf = wxString (*)(std::string_view bytes);

  explicit WxMessageBoxService(std::string caption, TextOf textOf = nullptr)
      : m_caption(std::move(caption)), m_textOf(textOf) {}
  MessageAnswer Show(const std::string &text, MessageButtons buttons) override;

 private:
  MessageAnswer ShowHere(const std::string &text, MessageButtons buttons) const;

  std::string m_caption;
  TextOf m_textOf;
};

// Installs a service for the lifetime of this object and restores the default afterwards.
class ScopedMessageBoxService {
 public:
  explicit ScopedMessageBoxService(MessageBoxService &service) { SetMessageBoxService(&service); }
  ~ScopedMessageBoxService() { SetMessageBoxService(nullptr); }
  ScopedMessageBoxService(const ScopedMessageBoxService &) = delete;
  ScopedMessageBoxService &operator=(const ScopedMessageBoxService &) = delete;
};

}  // namespace platform::gui
