// A worker thread that the user-interface thread starts and later waits for. Waiting never
// freezes the window for good: after a timed wait, the wait for the end goes on while the
// toolkit keeps handling events, so a question the worker asks (a message box handed to the
// user-interface thread) can still be answered.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform::gui {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Waits for a worker that still runs (Join).
  ~WorkerThread();
  WorkerThread(const WorkerThread &) = delete;
  WorkerThread &operator=(const WorkerThread &) = delete;

  // Starts body on a new thread at once. A previous worker is waited for first.
  void Start(std::function<void()> body);

  // Waits at most timeout for the worker to end; true when it has ended (or none was started).
  bool WaitFor(std::chrono::milliseconds timeout);

  // Waits until the worker has ended, the main window's events handled meanwhile (its windows
  // take no input during the wait; a box that the worker shows does), then joins the thread.
  void Join();

 private:
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_ended;
  bool m_bRunning = false;
};

}  // namespace platform::gui
