// The progress dialogs polling a scripted task, and the result dialog's buttons and keys.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/uiaction.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "GuiTestSupport.h"
#include "app/DlgConProgress.h"
#include "app/DlgProgress.h"
#include "app/DlgStatusView.h"
#include "app/res/Resource.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskBaseClass.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;

// What a worker would have written by the time of the n-th poll (from 1).
struct TaskState {
  unsigned progress = 0;
  int result = 0;
  bool workerEnded = false;  // set before this poll's progress is read, as a worker ends
};

// A task whose progress and result follow a script, one step per poll of its progress.
class ScriptedTask : public CTaskBaseClass {
 public:
  ScriptedTask(CImageFileEngine &engine, std::function<TaskState(int)> script,
               CDlgProgressBase &dialog)
      : CTaskBaseClass(engine), m_script(std::move(script)), m_dialog(dialog) {
    RaiseFlagFor(1);
  }
  void LoadRGB(const std::vector<std::string> &, unsigned, int &) override {}
  tagRGBInfo *GetRGB(int) override { return nullptr; }
  tagFileInfo *GetFilesPropety(int &filesNum) override {
    filesNum = 0;
    return nullptr;
  }
  int SaveRGB(const std::string &, const std::string &) override { return 0; }

  unsigned GetProgressStatus() override {
    ++polls;
    lastPoll = Clock::now();
    const TaskState state = m_script(polls);
    m_iRetCode = state.result;
    // The dialog reads the flag before the progress: the next poll's flag is raised now.
    RaiseFlagFor(polls + 1);
    return state.progress;
  }

  int polls = 0;
  Clock::time_point lastPoll;

 private:
  void RaiseFlagFor(int poll) {
    if (m_script(poll).workerEnded) m_dialog.m_bWorkerEnded = 1;
  }
  std::function<TaskState(int)> m_script;
  CDlgProgressBase &m_dialog;
};

struct ProgressCase {
  const char *what;
  bool yc;  // CDlgConProgress, else CDlgProgress
  std::function<TaskState(int)> script;
  int result;   // what DoModal returns
  int polls;    // the poll that ends the dialog
  int bar;      // the bar's last value
  bool paused;  // the dialog stayed 200 ms after its last poll
};

// Ends at the poll the case says, with its outcome, the full bar held for 200 ms, and no poll
// of the task after the end.
TEST(ProgressDialogs, EndAsTheTaskAndTheWorkerSay) {
  const auto rising = [](int failAt) {
    return [failAt](int poll) {
      const unsigned progress = std::min(10u * poll, 100u);
      return TaskState{progress, progress >= unsigned(failAt) ? 12000 : 0, false};
    };
  };
  const ProgressCase cases[] = {
      {"100 before the first tick", false,
       [](int) {
         return TaskState{100, 0, false};
       },
       kIdOk, 1, 100, true},
      {"Y/C: 100 before the first tick", true,
       [](int) {
         return TaskState{100, 0, false};
       },
       kIdOk, 1, 100, true},
      {"a result turning non-zero at 40", false, rising(40), kIdCancel, 4, 40, false},
      {"100 and a failure in one tick", false,
       [](int poll) {
         return poll < 3 ? TaskState{50, 0} : TaskState{100, 20001};
       },
       kIdCancel, 3, 100, true},
      {"the worker ends below 100", false,
       [](int poll) {
         return TaskState{30, 0, poll >= 3};
       },
       kIdCancel, 3, 30, false},
      {"the worker ends at 100", false,
       [](int poll) {
         return poll < 2 ? TaskState{60, 0} : TaskState{100, 0, true};
       },
       kIdOk, 2, 100, true},
      // The Y/C dialog does not watch the result: a failure at 40 ends it only when the worker
      // has ended.
      {"Y/C: a failure at 40, then the worker ends", true,
       [](int poll) {
         return TaskState{40, 12000, poll >= 6};
       },
       kIdCancel, 6, 40, false},
  };
  CImageFileEngine engine;
  for (const ProgressCase &c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<CDlgProgressBase> dialog;
    std::unique_ptr<ScriptedTask> task;
    if (c.yc) {
      auto *yc = new CDlgConProgress;
      dialog.reset(yc);
      task = std::make_unique<ScriptedTask>(engine, c.script, *dialog);
      yc->m_pModeConvert = task.get();
    } else {
      auto *progress = new CDlgProgress;
      dialog.reset(progress);
      task = std::make_unique<ScriptedTask>(engine, c.script, *dialog);
      progress->m_pTask = task.get();
    }
    EXPECT_EQ(RunModal(*dialog, [] { return false; }), c.result);
    const auto ended = Clock::now();
    EXPECT_EQ(task->polls, c.polls);
    ASSERT_NE(dialog->m_ctrlProgress, nullptr);
    EXPECT_EQ(dialog->m_ctrlProgress->GetValue(), c.bar);
    EXPECT_EQ(ended - task->lastPoll >= 200ms, c.paused);
    Pump(300ms);
    EXPECT_EQ(task->polls, c.polls);
  }
}

// A task that never ends keeps the dialog until the operator cancels it by the button, Esc or
// the close box; the ticks stop with it.
TEST(ProgressDialogs, OperatorCancels) {
  CImageFileEngine engine;
  const std::function<void(CDlgProgressBase &)> cancels[] = {
      [](CDlgProgressBase &d) { Click(d, kIdCancel); },
      [](CDlgProgressBase &d) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_ESCAPE;
        d.ProcessWindowEvent(key);
      },
      [](CDlgProgressBase &d) { d.Close(); }};
  for (const auto &cancel : cancels) {
    CDlgProgress dialog;
    ScriptedTask task(
        engine,
        [](int) {
          return TaskState{50, 0};
        },
        dialog);
    dialog.m_pTask = &task;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                         if (task.polls < 5) return false;
                         EXPECT_EQ(dialog.GetTitle(), "Progress Status...");
                         cancel(dialog);
                         return true;
                       }),
              kIdCancel);
    const int polls = task.polls;
    Pump(300ms);
    EXPECT_EQ(task.polls, polls);
  }
}

// OK has the focus and Enter presses it; Enter on "Convert Again" presses that; "Target
// Review" is disabled without a review; Esc and the close box end with no button.
TEST(ResultDialog, ButtonsKeysAndReview) {
  struct Case {
    const char *what;
    int review;
    std::function<void(CDlgStatusView &)> act;
    int result;
    unsigned button;
  };
  wxUIActionSimulator keys;
  const auto pressEnterOn = [&keys](int id) {
    return [&keys, id](CDlgStatusView &d) {
      d.FindWindow(id)->SetFocus();
      Pump(100ms);
      keys.Char(WXK_RETURN);
    };
  };
  const Case cases[] = {
      {"Enter on OK", 0, pressEnterOn(res::IDOK), kIdOk, 0},
      {"Enter on Convert Again", 0, pressEnterOn(res::IDC_BTN_CONVERT_AGAIN), kIdOk, 1},
      {"Convert Again", 1, [](CDlgStatusView &d) { Click(d, res::IDC_BTN_CONVERT_AGAIN); }, kIdOk,
       1},
      {"Target Review", 1, [](CDlgStatusView &d) { Click(d, res::IDC_BTN_REVIEW); }, kIdOk, 2},
      {"Esc", 1, [&keys](CDlgStatusView &) { keys.Char(WXK_ESCAPE); }, kIdCancel, 0},
      {"close box", 1, [](CDlgStatusView &d) { d.Close(); }, kIdCancel, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CDlgStatusView dialog;
    dialog.m_bReview = c.review;
    dialog.m_uiButton = 7;
    int polls = 0;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                         if (polls++ == 0) {  // let it take the focus first
                           keys.MouseMove(dialog.GetScreenPosition() + wxPoint(10, 10));
                           return false;
                         }
                         if (polls == 2) {
                           EXPECT_EQ(dialog.GetTitle(), "Result Of Convert");
                           EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(res::IDOK));
                           EXPECT_EQ(dialog.FindWindow(res::IDC_BTN_REVIEW)->IsEnabled(),
                                     c.review != 0);
                           c.act(dialog);
                         }
                         return !dialog.IsModal();
                       }),
              c.result);
    if (c.result == kIdOk) {
      EXPECT_EQ(dialog.m_uiButton, c.button);
    }
  }
}

}  // namespace

namespace {

// During the pause at 100 the main thread sleeps; what the screen shows then is what the
// dialog drew before it: the full bar, not the bar of the tick before.
TEST(ProgressDialogs, TheFullBarIsOnScreenDuringThePause) {
  CImageFileEngine engine;
  CDlgProgress dialog;
  ScriptedTask task(
      engine,
      [](int poll) {
        return TaskState{poll < 4 ? 0u : 100u, 0};
      },
      dialog);
  dialog.m_pTask = &task;
  std::vector<uint32_t> empty, duringPause;
  std::atomic<bool> grabbed{false};
  wxRect bar;
  std::thread watcher;
  EXPECT_EQ(RunModal(dialog,
                     [&] {
                       if (task.polls < 2) return false;
                       bar = wxRect(dialog.m_ctrlProgress->GetScreenPosition(),
                                    dialog.m_ctrlProgress->GetSize());
                       empty = GrabScreen(bar.x, bar.y, bar.width, bar.height);
                       watcher = std::thread([&] {
                         while (task.polls < 4) std::this_thread::sleep_for(1ms);
                         std::this_thread::sleep_for(100ms);
                         duringPause = GrabScreen(bar.x, bar.y, bar.width, bar.height);
                         grabbed = true;
                       });
                       return true;
                     }),
            kIdOk);
  watcher.join();
  ASSERT_TRUE(grabbed);
  ASSERT_FALSE(empty.empty());
  EXPECT_NE(empty, duringPause);
}

}  // namespace
