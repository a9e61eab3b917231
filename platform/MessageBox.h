// Modal message boxes as the engine and the shell ask for them. The engine reaches them only
// through this interface, so it runs with no display: the program installs a service that shows
// real boxes on the UI thread, tests install one with scripted answers.
#pragma once

#include <string>

namespace platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows text with the given buttons under the caption "Quenda" and waits for the answer.
  // Callable from any thread.
  virtual MessageAnswer Show(const std::string &text, MessageButtons buttons) = 0;
};

// Installs the service every later ShowMessageBox goes to (null restores the default, which
// writes the text to standard error and answers Ok, or No to a question).
void SetMessageBoxService(MessageBoxService *service);

MessageAnswer ShowMessageBox(const std::string &text, MessageButtons buttons = MessageButtons::Ok);

}  // namespace platform
