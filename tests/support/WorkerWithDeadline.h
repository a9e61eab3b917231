// Waits of a test on another thread, each with a deadline: a task that never reaches the point
// a test waits for fails the test with a message, instead of leaving the test program waiting
// until the runner's time limit kills it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <source_location>
#include <string>
#include <thread>
#include <utility>

namespace test_support {

inline constexpr std::chrono::seconds kWaitDeadline{20};

// Whether future is ready within the deadline; if not, fails the running test naming what it
// waited for.
template <typename T>
[[nodiscard]] bool ReadyWithin(const std::future<T> &future, const std::string &what,
                               std::source_location where = std::source_location::current()) {
  if (future.wait_for(kWaitDeadline) == std::future_status::ready) return true;
  ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
      << "waited " << kWaitDeadline.count() << " s for " << what << " in vain";
  return false;
}

// A thread running body for a test. Join (or the destructor) waits for its end within the
// deadline. A body still running then fails the test and ends the program: it uses what the
// test holds, so the test can neither leave it behind nor wait for it. Unblock whatever the
// body may wait for before joining.
class WorkerWithDeadline {
 public:
  explicit WorkerWithDeadline(std::function<void()> body)
      : m_thread([this, body = std::move(body)] {
          body();
          m_ended.set_value();
        }) {}
  ~WorkerWithDeadline() { Join(); }
  WorkerWithDeadline(const WorkerWithDeadline &) = delete;
  WorkerWithDeadline &operator=(const WorkerWithDeadline &) = delete;

  void Join() {
    if (!m_thread.joinable()) return;
    if (!ReadyWithin(m_end, "the worker thread to end")) {
      std::fflush(stdout);
      std::fputs("the worker thread does not end: the test program stops\n", stderr);
      std::abort();
    }
    m_thread.join();
  }

 private:
  std::promise<void> m_ended;
  std::future<void> m_end = m_ended.get_future();
  std::thread m_thread;
};

}  // namespace test_support
