#include "app/convert/Conversion.h"

#include <chrono>
#include <cstdint>

#include "app/convert/DlgConProgress.h"
#include "app/convert/DlgProgress.h"
#include "app/convert/DlgProgressBase.h"
#include "app/convert/DlgSetting.h"
#include "app/convert/DlgStatusView.h"
#include "app/convert/DlgYCConvertSet.h"
#include "app/core/TargetSizes.h"
#include "codec/TargetName.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskBatch.h"
#include "engine/TaskComposite.h"
#include "engine/TaskModeConv.h"
#include "platform/MessageBox.h"
#include "platform/StringCase.h"

namespace {

using namespace std::chrono_literals;

// How long a run waits for its worker before it waits on with the window handling its events
// (a question the worker asks must still be answerable).
constexpr std::chrono::milliseconds kWorkerWait = 258ms;

// The message for a failed run: the task's error text, or, when the task gave none, a text
// that names the target, so the operator never sees an empty box.
std::string FailureMessage(const std::string &errorInfo, const std::string &target) {
  if (!errorInfo.empty()) return errorInfo;
  return target + " can not be written.";
}

}  // namespace

Conversion::Conversion(CImageFileEngine &engine, ConversionRequest request)
    : m_engine(engine), m_request(std::move(request)) {}

Conversion::~Conversion() = default;

bool Conversion::IsRunning() {
  return !m_worker.WaitFor(0ms);
}

void Conversion::WaitForWorker() {
  m_worker.Join();
}

PassEnd Conversion::ImportExportPass(bool exportSide, const tagFileInfo *previewed,
                                     WorkerBody body) {
  if (!AskParameters(exportSide, previewed)) return {};
  CDlgProgress progress(nullptr);
  if (m_request.composite == 0) {
    m_task = std::make_unique<CTaskBatch>(m_engine);
  } else {
    m_task = std::make_unique<CTaskComposite>(m_engine);
  }
  progress.m_pTask = m_task.get();
  SetTaskParameters();
  const RunResult run = Run(progress, body);
  m_task.reset();

  if (run.retCode != 0) {
    platform::ShowMessageBox(
        FailureMessage(run.errorInfo, run.targetFile.empty() ? m_request.target : run.targetFile));
  }
  if (run.retCode != 0 || !run.finished) {
    PassEnd again;
    again.again = true;
    return again;
  }
  return ShowResult(run.targetFile);
}

bool Conversion::AskParameters(bool exportSide, const tagFileInfo *previewed) {
  if (m_settings == nullptr) {
    m_settings = std::make_unique<CDlgSetting>(nullptr, m_request.files, m_engine);
  }
  CDlgSetting &dialog = *m_settings;
  dialog.m_bExport = exportSide ? 1 : 0;
  dialog.m_ifilesNum = static_cast<int>(m_request.files.size());
  dialog.m_iImgSize = 0;
  dialog.m_iShiftMode = 0;
  dialog.m_iCompositeMode = 0;
  dialog.m_sTarget = m_request.files.front();
  dialog.m_sExt = m_request.format;
  if (exportSide && previewed != nullptr) {
    const uint32_t width = previewed->rgbInfo.width;
    const uint32_t height = previewed->rgbInfo.height;
    dialog.m_sImageSize = std::to_string(width) + "*" + std::to_string(height);
    dialog.m_iImgSize = SizeIndexOf(width, height);
  }
  if (dialog.DoModal() != platform::gui::kIdOk) return false;

  m_request.composite = static_cast<unsigned>(dialog.m_iCompositeMode);
  m_request.imageSize = static_cast<unsigned>(dialog.m_iImgSize);
  m_request.shiftMode = static_cast<unsigned>(dialog.m_iShiftMode);
  m_request.target = dialog.m_sTarget;
  return true;
}

PassEnd Conversion::ShowResult(const std::string &target) {
  CDlgStatusView status(nullptr);
  status.m_bReview = (m_request.files.size() == 1 || m_request.composite > 0) ? 1 : 0;
  unsigned button = 0;
  if (status.DoModal() == platform::gui::kIdOk) button = status.m_uiButton;
  PassEnd end;
  if (button == 2) end.review = target;
  end.refreshList = platform::EqualsNoCase(GetFolder(m_request.files.front()), GetFolder(target));
  end.again = button == 1;
  return end;
}

void Conversion::ExchangeFields(std::unique_ptr<CTaskBaseClass> &kept, WorkerBody body) {
  const std::string &first = m_request.files.front();
  CDlgYCConvertSet dialog(nullptr);
  dialog.m_sTarget = first;
  dialog.m_bStill = m_request.files.size() == 1 ? 1 : 0;
  if (dialog.DoModal() != platform::gui::kIdOk) return;

  m_request.composite = static_cast<unsigned>(CompositeMode::None);
  m_request.target = dialog.m_sTarget;
  CDlgConProgress progress(nullptr);
  kept.reset();  // the task of the last run goes before the new one is made
  m_task = std::make_unique<CTaskModeConv>(m_engine);
  progress.m_pModeConvert = m_task.get();
  SetTaskParameters();
  if (dialog.m_converMode >= 0 && dialog.m_converMode <= 2) {
    m_request.ycMode = static_cast<unsigned>(dialog.m_converMode);
  }
  // The still mode reaches 100 before it writes its target: only the run's end has the result.
  // The Y/C task stops a sequence only on its cancel flag, checked before each next file.
  const RunResult run = Run(progress, body, [task = m_task.get()] { task->m_cancelFlag = 1; });
  if (run.retCode != 0) {
    platform::ShowMessageBox(
        FailureMessage(run.errorInfo, run.targetFile.empty() ? m_request.target + GetFileName(first)
                                                             : run.targetFile));
  }
  // The worker has ended: the task stays with the pane until the next exchange.
  kept = std::move(m_task);
}

void Conversion::SetTaskParameters() {
  const TargetSize &size = TargetSizeOf(m_request.imageSize);
  m_task->UpdateConvParameter(size.width, size.height, m_request.shiftMode, m_request.composite);
}

Conversion::RunResult Conversion::Run(CDlgProgressBase &progress, WorkerBody body,
                                      const std::function<void()> &onStop) {
  CTaskBaseClass &task = *m_task;
  m_worker.Start([body, &task, request = m_request, &progress] {
    body(task, request);
    // After the worker's last write to the task: the dialog may end on what it reads now.
    progress.m_bWorkerEnded = 1;
  });

  RunResult result;
  result.finished = progress.DoModal() == platform::gui::kIdOk;
  if (!result.finished) {
    if (onStop) onStop();
    task.Stop();
  }
  m_worker.WaitFor(kWorkerWait);
  m_worker.Join();

  // The worker has ended: the task's results are final.
  result.retCode = task.GetConvertResult();
  result.errorInfo = task.GetErrorInfo();
  result.targetFile = task.GetTargetFileName();
  if (!result.finished) task.Cancel();
  return result;
}

int Conversion::ConvertFiles(CTaskBaseClass &task, const ConversionRequest &request) {
  int ret = 0;
  task.LoadRGB(request.files, 0, ret);
  if (task.GetConvertResult() == 0) task.GetRGB(0);
  if (task.GetConvertResult() == 0) task.SaveRGB(request.target, request.format);
  return ret;
}

int Conversion::ExchangeFieldsOfFiles(CTaskBaseClass &task, const ConversionRequest &request) {
  int ret = 0;
  const int mode = static_cast<int>(request.ycMode);
  if (request.files.size() != 1) {
    task.LoadAllRGB(request.files, 0, ret, request.target, request.format, mode);
    return ret;
  }
  task.LoadRGB(request.files, 0, ret);
  if (task.GetConvertResult() == 0) {
    task.GetYUVDataSrc(mode);
    task.SaveRGB(request.target, request.format);
  }
  return ret;
}
