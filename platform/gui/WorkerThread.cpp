#include "platform/gui/WorkerThread.h"

#include <wx/app.h>
#include <wx/thread.h>
#include <wx/utils.h>

namespace platform::gui {

WorkerThread::~WorkerThread() {
  Join();
}

void WorkerThread::Start(std::function<void()> body) {
  Join();
  {
    std::lock_guard lock(m_mutex);
    m_bRunning = true;
  }
  m_thread = std::thread([this, body = std::move(body)] {
    body();
    std::lock_guard lock(m_mutex);
    m_bRunning = false;
    m_ended.notify_all();
  });
}

bool WorkerThread::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(m_mutex);
  return m_ended.wait_for(lock, timeout, [this] { return !m_bRunning; });
}

void WorkerThread::Join() {
  if (!m_thread.joinable()) return;
  if (wxTheApp != nullptr && wxThread::IsMain()) {
    constexpr std::chrono::milliseconds kSlice{20};
    while (!WaitFor(kSlice)) wxSafeYield(nullptr, true);
  }
  m_thread.join();
}

}  // namespace platform::gui
