#include "app/convert/DlgProgressBase.h"

#include <wx/gauge.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/common/DialogTemplate.h"
#include "app/res/Resource.h"
#include "engine/TaskBaseClass.h"

namespace {

constexpr int kTimerId = 1;
constexpr int kTickMs = 100;
// How long a full bar stays on screen before the dialog goes.
constexpr unsigned long kFullBarPauseMs = 200;

}  // namespace

CDlgProgressBase::CDlgProgressBase(wxWindow *pParent, unsigned templateId, bool endsOnFailure)
    : DialogBase(pParent), m_nTimer(this, kTimerId), m_bEndsOnFailure(endsOnFailure) {
  CreateFromTemplate(*this, templateId);
  Bind(wxEVT_TIMER, &CDlgProgressBase::OnTimer, this, kTimerId);
}

CDlgProgressBase::~CDlgProgressBase() {
  m_nTimer.Stop();
}

bool CDlgProgressBase::DoDataExchange(bool) {
  m_ctrlProgress = GetDlgItem<wxGauge>(res::IDC_PROGRESS);
  return true;
}

bool CDlgProgressBase::OnInitDialog() {
  DialogBase::OnInitDialog();
  if (m_ctrlProgress != nullptr) m_ctrlProgress->SetRange(100);
  m_bFinished = false;
  m_nTimer.Start(kTickMs);
  return true;
}

void CDlgProgressBase::OnOK() {
  Finish(platform::gui::kIdOk);
}

void CDlgProgressBase::OnCancel() {
  Finish(platform::gui::kIdCancel);
}

void CDlgProgressBase::OnTimer(wxTimerEvent &) {
  CTaskBaseClass *task = PolledTask();
  if (m_bFinished || task == nullptr) return;
  // The flag is read before the progress: a worker that has ended wrote its last progress
  // before the flag was set, so the progress read next is final.
  const bool workerEnded = m_bWorkerEnded.load() != 0;
  const unsigned progress = task->GetProgressStatus();
  const int result = m_bEndsOnFailure ? task->GetConvertResult() : 0;
  if (m_ctrlProgress != nullptr) {
    m_ctrlProgress->SetValue(static_cast<int>(std::min(progress, 100u)));
  }
  // The outcome is fixed by what this tick read; a failure wins over 100.
  if (progress == 100) {
    Update();
    wxMilliSleep(kFullBarPauseMs);
  }
  if (result != 0) {
    Finish(platform::gui::kIdCancel);
  } else if (progress == 100) {
    Finish(platform::gui::kIdOk);
  } else if (workerEnded) {
    Finish(platform::gui::kIdCancel);
  }
}

void CDlgProgressBase::Finish(int result) {
  if (m_bFinished) return;
  m_bFinished = true;
  m_nTimer.Stop();
  EndDialog(result);
}
