// A message-box service for tests: records every text shown and answers from a script (No to
// a question and Ok to a message once the script is used up). Installed while it lives.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/MessageBox.h"

namespace test_support {

class ScriptedMessageBox : public platform::MessageBoxService {
 public:
  explicit ScriptedMessageBox(std::deque<platform::MessageAnswer> answers = {})
      : m_answers(std::move(answers)) {
    platform::SetMessageBoxService(this);
  }
  ~ScriptedMessageBox() override { platform::SetMessageBoxService(nullptr); }
  ScriptedMessageBox(const ScriptedMessageBox &) = delete;
  ScriptedMessageBox &operator=(const ScriptedMessageBox &) = delete;

  platform::MessageAnswer Show(const std::string &text, platform::MessageButtons buttons) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_texts.push_back(text);
    if (m_answers.empty()) {
      return buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::No
                                                        : platform::MessageAnswer::Ok;
    }
    const platform::MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }

  // Every text shown so far, in order.
  std::vector<std::string> Texts() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
  }

 private:
  mutable std::mutex m_mutex;
  std::deque<platform::MessageAnswer> m_answers;
  std::vector<std::string> m_texts;
};

}  // namespace test_support
