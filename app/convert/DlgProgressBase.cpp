#include "app/convert/DlgProgressBase.h"

#include <wx/gauge.h>

#include <algorithm>

#include "app/common/DialogTemplate.h"
#include "app/res/Resource.h"
#include "engine/TaskBaseClass.h"

namespace {

constexpr int kTimerId = 1;
constexpr int kPauseTimerId = 2;
constexpr int kTickMs = 100;
// How long a full bar stays on screen before the dialog goes.
constexpr int kFullBarPauseMs = 200;

}  // namespace

CDlgProgressBase::CDlgProgressBase(wxWindow *pParent, unsigned templateId, bool endsOnFailure)
    : DialogBase(pParent),
      m_nTimer(this, kTimerId),
      m_nPause(this, kPauseTimerId),
      m_bEndsOnFailure(endsOnFailure) {
  CreateFromTemplate(*this, templateId);
  Bind(wxEVT_TIMER, &CDlgProgressBase::OnTimer, this, kTimerId);
  Bind(wxEVT_TIMER, &CDlgProgressBase::OnPauseEnd, this, kPauseTimerId);
}

CDlgProgressBase::~CDlgProgressBase() {
  m_nTimer.Stop();
  m_nPause.Stop();
}

bool CDlgProgressBase::DoDataExchange(bool) {
  m_ctrlProgress = GetDlgItem<wxGauge>(res::IDC_PROGRESS);
  return true;
}

bool CDlgProgressBase::OnInitDialog() {
  DialogBase::OnInitDialog();
  if (m_ctrlProgress != nullptr) m_ctrlProgress->SetRange(100);
  m_bFinished = false;
  m_iPausedOutcome = 0;
  m_nTimer.Start(kTickMs);
  return true;
}

void CDlgProgressBase::OnOK() {
  Finish(platform::gui::kIdOk);
}

void CDlgProgressBase::OnCancel() {
  // Once a tick has fixed the outcome, the operator's Cancel comes too late to change it.
  if (m_iPausedOutcome == 0) Finish(platform::gui::kIdCancel);
}

void CDlgProgressBase::OnTimer(wxTimerEvent &) {
  CTaskBaseClass *task = PolledTask();
  if (m_bFinished || m_iPausedOutcome != 0 || task == nullptr) return;
  // The flag is read before the progress: a worker that has ended wrote its last progress
  // before the flag was set, so the progress read next is final.
  const bool workerEnded = m_bWorkerEnded.load() != 0;
  const unsigned progress = task->GetProgressStatus();
  const int result = m_bEndsOnFailure ? task->GetConvertResult() : 0;
  if (m_ctrlProgress != nullptr) {
    m_ctrlProgress->SetValue(static_cast<int>(std::min(progress, 100u)));
  }
  // The outcome is fixed by what this tick read; a failure wins over 100.
  const int outcome = result != 0 ? platform::gui::kIdCancel : platform::gui::kIdOk;
  if (progress == 100) {
    // The pause lets the toolkit draw the full bar; no tick is handled meanwhile and the
    // outcome stays the one read now.
    m_iPausedOutcome = outcome;
    m_nTimer.Stop();
    m_nPause.StartOnce(kFullBarPauseMs);
  } else if (result != 0 || workerEnded) {
    Finish(platform::gui::kIdCancel);
  }
}

void CDlgProgressBase::OnPauseEnd(wxTimerEvent &) {
  Finish(m_iPausedOutcome);
}

void CDlgProgressBase::Finish(int result) {
  if (m_bFinished) return;
  m_bFinished = true;
  m_nTimer.Stop();
  m_nPause.Stop();
  EndDialog(result);
}
