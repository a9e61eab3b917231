#include "platform/MessageBox.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {
std::atomic<MessageBoxService *> g_service{nullptr};
}

void SetMessageBoxService(MessageBoxService *service) {
  g_service.store(service);
}

MessageAnswer ShowMessageBox(const std::string &text, MessageButtons buttons) {
  if (MessageBoxService *service = g_service.load()) return service->Show(text, buttons);
  std::fprintf(stderr, "Quenda: %s\n", text.c_str());
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace platform
