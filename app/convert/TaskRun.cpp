#include "app/convert/TaskRun.h"

#include <chrono>

#include "app/convert/DlgProgressBase.h"
#include "engine/TaskBaseClass.h"
#include "platform/gui/WorkerThread.h"

namespace {

using namespace std::chrono_literals;

// How long the run waits for its worker before it waits on with the window handling its
// events (a question the worker asks must still be answerable).
constexpr std::chrono::milliseconds kWorkerWait = 258ms;

}  // namespace

TaskRunResult RunUnderProgress(platform::gui::WorkerThread &worker, CTaskBaseClass &task,
                               CDlgProgressBase &progress, std::function<void()> body,
                               const std::function<void()> &onStop) {
  worker.Start([body = std::move(body), &progress] {
    body();
    // After the worker's last write to the task: the dialog may end on what it reads now.
    progress.m_bWorkerEnded = 1;
  });

  TaskRunResult result;
  result.finished = progress.DoModal() == platform::gui::kIdOk;
  if (!result.finished) {
    if (onStop) onStop();
    task.Stop();
  }
  worker.WaitFor(kWorkerWait);
  worker.Join();

  // The worker has ended: the task's results are final.
  result.retCode = task.GetConvertResult();
  result.errorInfo = task.GetErrorInfo();
  result.targetFile = task.GetTargetFileName();
  if (!result.finished) task.Cancel();
  return result;
}
