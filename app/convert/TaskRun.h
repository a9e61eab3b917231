// One run of a conversion task: the task works on a worker thread while its progress dialog
// runs modally and polls it; the task's results are read only after the worker has ended.
#pragma once

#include <functional>
#include <string>

class CDlgProgressBase;
class CTaskBaseClass;

namespace platform::gui {
class WorkerThread;
}

// What the run left, read after its worker has ended.
struct TaskRunResult {
  bool finished = false;  // the progress dialog ended with OK
  int retCode = 0;        // the task's convert result
  std::string errorInfo;
  std::string targetFile;
};

// Starts body on worker (it works on task) and runs progress modally. When the dialog ends
// other than with OK, onStop runs (when given) and the task is stopped. Then waits for the
// worker, a while plainly and then with the window's events handled, reads the task's results,
// and cancels the task when the run did not finish. The task is the caller's still.
TaskRunResult RunUnderProgress(platform::gui::WorkerThread &worker, CTaskBaseClass &task,
                               CDlgProgressBase &progress, std::function<void()> body,
                               const std::function<void()> &onStop = {});
