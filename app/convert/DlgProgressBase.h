// What the two progress dialogs share: a bar that a 100 ms timer moves to the progress of a
// task running on a worker thread, and the end of the dialog when the task is done.
#pragma once

#include <wx/timer.h>

#include <atomic>

#include "platform/gui/DialogBase.h"

class CTaskBaseClass;
class wxGauge;

class CDlgProgressBase : public platform::gui::DialogBase {
 public:
  ~CDlgProgressBase() override;

  // The "worker ended" flag. The workflow sets it to 1 once the worker thread that runs the
  // task has ended, after the worker's last write to the task (from the worker itself, as its
  // last step, or from the user-interface thread). The next tick then ends the dialog: with OK
  // when the task's progress is 100, otherwise as cancelled, so that a task which ends below
  // 100 (a failure the dialog does not watch, or a stop without a result) never leaves the
  // dialog waiting for an operator who is told to wait. The dialog must outlive the worker.
  std::atomic<int> m_bWorkerEnded{0};

  wxGauge *m_ctrlProgress = nullptr;  // the bar, 0 to 100

 protected:
  // endsOnFailure: the dialog also ends, as cancelled, in the tick that sees a non-zero result.
  CDlgProgressBase(wxWindow *pParent, unsigned templateId, bool endsOnFailure);

  // The task to poll, set by the workflow before the dialog runs; null: the ticks do nothing.
  virtual CTaskBaseClass *PolledTask() const = 0;

  bool DoDataExchange(bool save) override;
  // Starts the timer.
  bool OnInitDialog() override;
  void OnOK() override;
  // The Cancel button, Esc and the close box.
  void OnCancel() override;

 private:
  void OnTimer(wxTimerEvent &event);
  // The end of the pause on a full bar: the dialog ends with the outcome that tick fixed.
  void OnPauseEnd(wxTimerEvent &event);
  // Ends the dialog once: the timers stop first, so no later tick reads the task.
  void Finish(int result);

  wxTimer m_nTimer;
  wxTimer m_nPause;  // one shot: the pause at 100
  const bool m_bEndsOnFailure;
  bool m_bFinished = false;
  int m_iPausedOutcome = 0;  // during the pause, how the dialog will end; else 0
};
