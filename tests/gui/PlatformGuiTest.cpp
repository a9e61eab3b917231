// The GUI half of the platform layer under a real toolkit on a private display: message boxes
// asked for on a worker thread, the dialog base's hooks, the wait for a worker that asks a
// question and the single-instance lookup.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <atomic>
#include <string>
#include <thread>

#include "GuiTestSupport.h"
#include "PrivateDisplay.h"
#include "platform/MessageBox.h"
#include "platform/gui/DialogBase.h"
#include "platform/gui/SingleInstance.h"
#include "platform/gui/WorkerThread.h"
#include "platform/gui/WxMessageBox.h"

namespace {

using namespace std::chrono_literals;
using platform::MessageAnswer;
using platform::MessageButtons;

// Answers every message box without showing it, and notes what it was asked.
class MessageBoxAnswerer : public wxModalDialogHook {
 public:
  explicit MessageBoxAnswerer(int answer) : m_answer(answer) { Register(); }
  ~MessageBoxAnswerer() override { Unregister(); }

  int Enter(wxDialog *dialog) override {
    auto *box = dynamic_cast<wxMessageDialog *>(dialog);
    if (box == nullptr) return wxID_NONE;
    ++count;
    onMainThread = wxThread::IsMain();
    caption = box->GetTitle().utf8_string();
    message = box->GetMessage().utf8_string();
    return m_answer;
  }
  void Exit(wxDialog *) override {}

  int count = 0;
  bool onMainThread = false;
  std::string caption;
  std::string message;

 private:
  int m_answer;
};

TEST(MessageBoxes, AWorkersQuestionIsAskedOnTheMainThreadUnderTheProgramsCaption) {
  platform::gui::WxMessageBoxService service("Quenda");
  platform::gui::ScopedMessageBoxService installed(service);
  MessageBoxAnswerer answerer(wxID_YES);
  std::atomic<int> answer{-1};
  std::thread worker([&answer] {
    answer = static_cast<int>(platform::ShowMessageBox("overwrite?", MessageButtons::YesNo));
  });
  for (int i = 0; i < 200 && answer < 0; ++i) Pump(10ms);
  worker.join();
  EXPECT_EQ(answer, static_cast<int>(MessageAnswer::Yes));
  EXPECT_EQ(answerer.count, 1);
  EXPECT_TRUE(answerer.onMainThread);
  EXPECT_EQ(answerer.caption, "Quenda");
  EXPECT_EQ(answerer.message, "overwrite?");
}

// A dialog with one edit control that refuses an empty text.
class NameDialog : public platform::gui::DialogBase {
 public:
  NameDialog() : DialogBase(nullptr, "Name") {
    SetClientSizeInDialogUnits(120, 60);
    new wxTextCtrl(this, 1000, "", DialogToPixels(8, 8, 100, 12).GetPosition());
    new wxButton(this, platform::gui::kIdOk, "OK", DialogToPixels(8, 30, 40, 14).GetPosition());
    new wxButton(this, platform::gui::kIdCancel, "Cancel",
                 DialogToPixels(60, 30, 40, 14).GetPosition());
  }
  std::string m_sName = "first";
  int initCalls = 0;
  int refusals = 0;

 protected:
  bool OnInitDialog() override {
    ++initCalls;
    return DialogBase::OnInitDialog();
  }
  bool DoDataExchange(bool save) override {
    auto *edit = GetDlgItem<wxTextCtrl>(1000);
    if (edit == nullptr) return false;
    if (!save) {
      edit->SetValue(wxString::FromUTF8(m_sName));
      return true;
    }
    if (edit->GetValue().empty()) {
      ++refusals;
      return false;
    }
    m_sName = edit->GetValue().utf8_string();
    return true;
  }
};

void Click(wxWindow *dialog, int id) {
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(dialog->FindWindow(id));
  dialog->FindWindow(id)->ProcessWindowEvent(click);
}

TEST(DialogBase, OkTakesTheDataOnlyWhenAcceptedAndCancelLeavesTheMembers) {
  NameDialog dialog;
  EXPECT_EQ(dialog.GetDlgItem<wxTextCtrl>(1000), dialog.FindWindow(1000));
  EXPECT_EQ(dialog.GetDlgItem<wxFrame>(1000), nullptr);  // another class
  EXPECT_EQ(dialog.GetDlgItem<wxTextCtrl>(4242), nullptr);

  int step = 0;
  Poll operatorActs([&] {
    if (!dialog.IsShown()) return false;
    auto *edit = dialog.GetDlgItem<wxTextCtrl>(1000);
    switch (step++) {
      case 0:
        EXPECT_EQ(edit->GetValue(), "first");  // the members went into the controls
        edit->SetValue("");
        Click(&dialog, platform::gui::kIdOk);  // refused: the dialog stays open
        return false;
      case 1:
        EXPECT_TRUE(dialog.IsShown());
        edit->SetValue("second");
        Click(&dialog, platform::gui::kIdOk);
        return true;
    }
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), platform::gui::kIdOk);
  EXPECT_EQ(dialog.initCalls, 1);
  EXPECT_EQ(dialog.refusals, 1);
  EXPECT_EQ(dialog.m_sName, "second");

  Poll cancel([&] {
    if (!dialog.IsShown()) return false;
    dialog.GetDlgItem<wxTextCtrl>(1000)->SetValue("third");
    Click(&dialog, platform::gui::kIdCancel);
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), platform::gui::kIdCancel);
  EXPECT_EQ(dialog.m_sName, "second");
}

TEST(DialogBase, EscapeAndTheCloseBoxCancel) {
  NameDialog dialog;
  Poll escape([&] {
    if (!dialog.IsShown()) return false;
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    dialog.ProcessWindowEvent(key);
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), platform::gui::kIdCancel);
  Poll closeBox([&] {
    if (!dialog.IsShown()) return false;
    dialog.Close();
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), platform::gui::kIdCancel);
}

TEST(WorkerThread, TheWaitOutlastsItsTimeOutAndAnswersTheWorkersQuestion) {
  platform::gui::WxMessageBoxService service("Quenda");
  platform::gui::ScopedMessageBoxService installed(service);
  MessageBoxAnswerer answerer(wxID_NO);
  std::atomic<bool> release{false};
  std::atomic<int> answer{-1};
  platform::gui::WorkerThread worker;
  worker.Start([&] {
    while (!release) std::this_thread::sleep_for(1ms);
    answer = static_cast<int>(platform::ShowMessageBox("overwrite?", MessageButtons::YesNo));
  });
  EXPECT_FALSE(worker.WaitFor(258ms));  // still running
  release = true;
  worker.Join();  // the question needs this thread's events; the wait handles them
  EXPECT_EQ(answer, static_cast<int>(MessageAnswer::No));
  EXPECT_EQ(answerer.count, 1);
  EXPECT_TRUE(worker.WaitFor(0ms));
}

TEST(SingleInstance, FindsOnlyAShownWindowWithExactlyThatTitle) {
  auto *shown = new wxFrame(nullptr, wxID_ANY, "Probe window", wxPoint(10, 10), wxSize(200, 100));
  shown->Show();
  auto *hidden = new wxFrame(nullptr, wxID_ANY, "Hidden probe");
  Pump(300ms);
  EXPECT_TRUE(platform::gui::BringExistingWindowToTop("Probe window"));
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop("Probe"));
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop("probe window"));
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop("Hidden probe"));
  // The toolkit names its own hidden windows after the program; they are not main windows.
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop(wxTheApp->GetAppName().utf8_string()));
  shown->Destroy();
  hidden->Destroy();
  Pump(100ms);
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop("Probe window"));
}

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  PrivateDisplay display;
  if (display.Name().empty()) {
    std::fprintf(stderr, "Xvfb could not be started\n");
    return 1;
  }
  setenv("DISPLAY", display.Name().c_str(), 1);
  setenv("GDK_BACKEND", "x11", 1);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv)) return 1;
  int result = 1;
  if (wxTheApp->CallOnInit()) {
    // Keeps the event loop alive until the tests have run inside it.
    auto *anchor = new wxFrame(nullptr, wxID_ANY, "anchor");
    wxTheApp->CallAfter([&result, anchor] {
      result = RUN_ALL_TESTS();
      anchor->Destroy();
    });
    wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return result;
}
