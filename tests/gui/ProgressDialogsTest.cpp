// The progress dialogs polling a scripted task, and the result dialog's buttons and keys.
#include <gtest/gtest.h>
#include <wx/gauge.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "app/convert/DlgConProgress.h"
#include "app/convert/DlgProgress.h"
#include "app/convert/DlgStatusView.h"
#include "app/res/Resource.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskBaseClass.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;

// What the worker has written by a poll of the progress.
struct TaskState {
  unsigned progress;
  int result = 0;
};

// A task whose progress and result follow a script, one step per poll of its progress (the
// last step repeats), and whose worker ends just before poll workerEndsAt (0: never).
class ScriptedTask : public CTaskBaseClass {
 public:
  ScriptedTask(CImageFileEngine &engine, std::vector<TaskState> script, int workerEndsAt,
               CDlgProgressBase &dialog)
      : CTaskBaseClass(engine),
        m_script(std::move(script)),
        m_workerEndsAt(workerEndsAt),
        m_dialog(dialog) {}
  void LoadRGB(const std::vector<std::string> &, unsigned, int &) override {}
  tagRGBInfo *GetRGB(int) override { return nullptr; }
  tagFileInfo *GetFilesPropety(int &filesNum) override { return filesNum = 0, nullptr; }
  int SaveRGB(const std::string &, const std::string &) override { return 0; }

  unsigned GetProgressStatus() override {
    const int poll = ++polls;
    lastPoll = Clock::now();
    const TaskState &now = m_script[std::min<size_t>(poll, m_script.size()) - 1];
    m_iRetCode = now.result;
    // The dialog reads the flag before the progress: the next poll's flag is raised now.
    if (poll + 1 == m_workerEndsAt) m_dialog.m_bWorkerEnded = 1;
    return now.progress;
  }

  std::atomic<int> polls{0};
  Clock::time_point lastPoll;

 private:
  std::vector<TaskState> m_script;
  int m_workerEndsAt;
  CDlgProgressBase &m_dialog;
};

// A progress dialog of either kind polling its own scripted task.
struct ProgressRun {
  ProgressRun(bool yc, std::vector<TaskState> script, int workerEndsAt = 0) {
    if (yc) {
      auto *con = new CDlgConProgress;
      dialog.reset(con);
      task = std::make_unique<ScriptedTask>(engine, std::move(script), workerEndsAt, *dialog);
      con->m_pModeConvert = task.get();
    } else {
      auto *progress = new CDlgProgress;
      dialog.reset(progress);
      task = std::make_unique<ScriptedTask>(engine, std::move(script), workerEndsAt, *dialog);
      progress->m_pTask = task.get();
    }
  }
  CImageFileEngine engine;
  std::unique_ptr<CDlgProgressBase> dialog;
  std::unique_ptr<ScriptedTask> task;
};

void PressEscape(wxWindow &window) {
  wxKeyEvent key(wxEVT_CHAR_HOOK);
  key.m_keyCode = WXK_ESCAPE;
  window.ProcessWindowEvent(key);
}

// Each run ends with its outcome at the poll the case says (any poll: 0), with the bar as
// given, after holding a full bar for 200 ms; no poll of the task follows the end.
TEST(ProgressDialogs, EndAsTheTaskTheWorkerOrTheOperatorSay) {
  struct Case {
    const char *what;
    bool yc;  // CDlgConProgress, else CDlgProgress
    std::vector<TaskState> script;
    int workerEndsAt;
    std::function<void(CDlgProgressBase &)> operatorCancels;  // at poll 3
    int result, polls, bar;
    bool paused;
  };
  const Case cases[] = {
      {"100 before the first tick", false, {{100}}, 0, {}, kIdOk, 1, 100, true},
      {"Y/C: 100 before the first tick", true, {{100}}, 0, {}, kIdOk, 1, 100, true},
      {"a result turning non-zero at 40",
       false,
       {{10}, {20}, {30}, {40, 12000}},
       0,
       {},
       kIdCancel,
       4,
       40,
       false},
      {"100 and a failure in one tick",
       false,
       {{50}, {50}, {100, 20001}},
       0,
       {},
       kIdCancel,
       3,
       100,
       true},
      {"the worker ends below 100", false, {{30}}, 3, {}, kIdCancel, 3, 30, false},
      {"the worker ends at 100", false, {{60}, {100}}, 2, {}, kIdOk, 2, 100, true},
      // The Y/C dialog does not watch the result; a failed task ends with its worker.
      {"Y/C: a failure at 40, then the worker ends",
       true,
       {{40, 12000}},
       6,
       {},
       kIdCancel,
       6,
       40,
       false},
      {"Cancel", false, {{50}}, 0, [](auto &d) { Click(d, kIdCancel); }, kIdCancel, 0, 50, false},
      {"Esc", true, {{50}}, 0, [](auto &d) { PressEscape(d); }, kIdCancel, 0, 50, false},
      {"close box", false, {{50}}, 0, [](auto &d) { d.Close(); }, kIdCancel, 0, 50, false},
      // The tick that read 100 fixed the outcome; the toolkit draws the bar meanwhile.
      {"Cancel during the pause at 100",
       false,
       {{50}, {50}, {100}},
       0,
       [](auto &d) { Click(d, kIdCancel); },
       kIdOk,
       3,
       100,
       true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ProgressRun run(c.yc, c.script, c.workerEndsAt);
    CDlgProgressBase &dialog = *run.dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                         if (!c.operatorCancels || run.task->polls < 3) return false;
                         EXPECT_EQ(dialog.GetTitle(), "Progress Status...");
                         c.operatorCancels(dialog);
                         return true;
                       }),
              c.result);
    const auto ended = Clock::now();
    const int polls = run.task->polls;
    if (c.polls != 0) {
      EXPECT_EQ(polls, c.polls);
    }
    ASSERT_NE(dialog.m_ctrlProgress, nullptr);
    EXPECT_EQ(dialog.m_ctrlProgress->GetValue(), c.bar);
    EXPECT_EQ(ended - run.task->lastPoll >= 200ms, c.paused);
    // The timer ticks every 100 ms: none may read the task once the dialog has ended.
    EXPECT_FALSE(WaitUntil([&] { return run.task->polls != polls; }, 300ms));
  }
}

// What the screen shows during the pause at 100 is the full bar, in either dialog: the colour
// under the left end of the bar reaches its right end, where an empty bar showed the trough.
TEST(ProgressDialogs, TheFullBarIsOnScreenDuringThePause) {
  for (bool yc : {false, true}) {
    SCOPED_TRACE(yc ? "Y/C" : "import or export");
    ProgressRun run(yc, {{0}, {0}, {0}, {100}});
    std::vector<uint32_t> empty, duringPause;
    wxRect bar;
    std::thread watcher;
    EXPECT_EQ(RunModal(*run.dialog,
                       [&] {
                         if (run.task->polls < 2) return false;
                         const wxGauge &gauge = *run.dialog->m_ctrlProgress;
                         bar = wxRect(gauge.GetScreenPosition(), gauge.GetSize());
                         empty = GrabScreen(bar.x, bar.y, bar.width, bar.height);
                         watcher = std::thread([&] {
                           while (run.task->polls < 4) std::this_thread::sleep_for(1ms);
                           std::this_thread::sleep_for(100ms);
                           duringPause = GrabScreen(bar.x, bar.y, bar.width, bar.height);
                         });
                         return true;
                       }),
              kIdOk);
    watcher.join();
    ASSERT_EQ(empty.size(), size_t(bar.width) * bar.height);
    ASSERT_EQ(duringPause.size(), empty.size());
    // A row of the bar (the theme draws it thin, somewhere in the control), its ends a few
    // pixels inside the frame: the trough when empty, the fill all the way during the pause.
    bool full = false;
    for (size_t row = 0; row < size_t(bar.height) && !full; ++row) {
      const size_t left = row * bar.width + 6, right = left + bar.width - 13;
      full = empty[left] == empty[right] && duringPause[left] != empty[left] &&
             duringPause[right] == duringPause[left];
    }
    EXPECT_TRUE(full);
  }
}

// OK has the focus and Enter presses it; Enter on "Convert Again" presses that; "Target
// Review" is disabled without a review; Esc and the close box end with no button.
TEST(ResultDialog, ButtonsKeysAndReview) {
  wxUIActionSimulator keys;
  const auto pressEnterOn = [&keys](int id) {
    return [&keys, id](CDlgStatusView &d) {
      d.FindWindow(id)->SetFocus();
      EXPECT_TRUE(
          WaitUntil([&] { return wxWindow::FindFocus() == d.FindWindow(id) && ToolkitIdle(); }));
      keys.Char(WXK_RETURN);
    };
  };
  struct Case {
    const char *what;
    int review;
    std::function<void(CDlgStatusView &)> act;
    int result;
    unsigned button;
  };
  const Case cases[] = {
      {"Enter on OK", 0, pressEnterOn(res::IDOK), kIdOk, 0},
      {"Enter on Convert Again", 0, pressEnterOn(res::IDC_BTN_CONVERT_AGAIN), kIdOk, 1},
      {"Target Review", 1, [](auto &d) { Click(d, res::IDC_BTN_REVIEW); }, kIdOk, 2},
      {"Esc", 1, [&keys](auto &) { keys.Char(WXK_ESCAPE); }, kIdCancel, 0},
      {"close box", 1, [](auto &d) { d.Close(); }, kIdCancel, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CDlgStatusView dialog;
    dialog.m_bReview = c.review;
    dialog.m_uiButton = 7;
    int polls = 0;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                         if (polls++ == 0) {  // keys go to the window under the pointer
                           keys.MouseMove(dialog.GetScreenPosition() + wxPoint(10, 10));
                           return false;
                         }
                         EXPECT_EQ(dialog.GetTitle(), "Result Of Convert");
                         EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(res::IDOK));
                         EXPECT_EQ(dialog.FindWindow(res::IDC_BTN_REVIEW)->IsEnabled(),
                                   c.review != 0);
                         c.act(dialog);
                         return true;
                       }),
              c.result);
    if (c.result == kIdOk) {
      EXPECT_EQ(dialog.m_uiButton, c.button);
    }
  }
}

}  // namespace
