// The GUI half of the platform layer under a real toolkit on a private display: the dialog
// base's hooks, the wait for a worker that asks a question, and the single-instance lookup.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/popupwin.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <atomic>
#include <string>
#include <thread>

#include "GuiTestSupport.h"
#include "platform/MessageBox.h"
#include "platform/gui/DialogBase.h"
#include "platform/gui/SingleInstance.h"
#include "platform/gui/WorkerThread.h"
#include "platform/gui/WxMessageBox.h"

namespace {

using namespace std::chrono_literals;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;

// Answers every message box without showing it, and notes what it was asked and where.
class MessageBoxAnswerer : public wxModalDialogHook {
 public:
  explicit MessageBoxAnswerer(int answer) : m_answer(answer) { Register(); }
  ~MessageBoxAnswerer() override { Unregister(); }

  int Enter(wxDialog *dialog) override {
    auto *box = dynamic_cast<wxMessageDialog *>(dialog);
    if (box == nullptr) return wxID_NONE;
    ++count;
    onMainThread = wxThread::IsMain();
    seen = box->GetTitle().utf8_string() + ": " + box->GetMessage().utf8_string();
    return m_answer;
  }
  void Exit(wxDialog *) override {}

  int count = 0;
  bool onMainThread = false;
  std::string seen;

 private:
  int m_answer;
};

// The wait for a worker goes on past its time-out and handles the question the worker asks,
// which is shown on the main thread under the program's caption.
TEST(WorkerThread, TheWaitOutlastsItsTimeOutAndAnswersTheWorkersQuestion) {
  platform::gui::WxMessageBoxService service("Quenda");
  platform::gui::ScopedMessageBoxService installed(service);
  MessageBoxAnswerer answerer(wxID_NO);
  std::atomic<bool> release{false};
  std::atomic<int> answer{-1};
  platform::gui::WorkerThread worker;
  worker.Start([&] {
    while (!release) std::this_thread::sleep_for(1ms);
    answer =
        static_cast<int>(platform::ShowMessageBox("overwrite?", platform::MessageButtons::YesNo));
  });
  EXPECT_FALSE(worker.WaitFor(258ms));  // still running
  release = true;
  worker.Join();
  EXPECT_EQ(answer, static_cast<int>(platform::MessageAnswer::No));
  EXPECT_EQ(answerer.count, 1);
  EXPECT_TRUE(answerer.onMainThread);
  EXPECT_EQ(answerer.seen, "Quenda: overwrite?");
  EXPECT_TRUE(worker.WaitFor(0ms));
}

// A box for a long path breaks the path into lines and opens wholly on the screen.
TEST(MessageBox, LongPathWrapsAndTheBoxStaysOnTheScreen) {
  platform::gui::WxMessageBoxService service("Quenda");
  platform::gui::ScopedMessageBoxService installed(service);
  // A long name without a place to break it.
  std::string path = "/media/operator/stills/";
  while (path.size() < 259) path += "TAKE_0123456789_";
  path = path.substr(0, 259) + ".KDT";
  ASSERT_EQ(path.size(), 263u);
  const wxSize screen = wxGetDisplaySize();
  int seen = 0;
  Poll inspect([&] {
    GList *windows = gtk_window_list_toplevels();
    for (GList *w = windows; w != nullptr; w = w->next) {
      if (!GTK_IS_MESSAGE_DIALOG(w->data) || !gtk_widget_get_mapped(GTK_WIDGET(w->data))) continue;
      int x = 0, y = 0, width = 0, height = 0;
      gtk_window_get_position(GTK_WINDOW(w->data), &x, &y);
      gtk_window_get_size(GTK_WINDOW(w->data), &width, &height);
      EXPECT_GE(x, 0);
      EXPECT_LE(x + width, screen.x);
      EXPECT_LE(width, screen.x / 2);
      ++seen;
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_OK);
    }
    g_list_free(windows);
    return seen > 0;
  });
  platform::ShowMessageBox("Failed to load " + path);
  EXPECT_EQ(seen, 1);
}

// A dialog with one edit control that refuses an empty text.
class NameDialog : public platform::gui::DialogBase {
 public:
  NameDialog() : DialogBase(nullptr, "Name") {
    SetClientSizeInDialogUnits(120, 60);
    new wxTextCtrl(this, 1000, "", DialogToPixels(8, 8, 100, 12).GetPosition());
    new wxButton(this, kIdOk, "OK", DialogToPixels(8, 30, 40, 14).GetPosition());
    new wxButton(this, kIdCancel, "Cancel", DialogToPixels(60, 30, 40, 14).GetPosition());
  }
  wxTextCtrl *Edit() const { return GetDlgItem<wxTextCtrl>(1000); }
  void Click(int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(FindWindow(id));
    FindWindow(id)->ProcessWindowEvent(click);
  }
  std::string m_sName = "first";
  int refusals = 0;

 protected:
  bool DoDataExchange(bool save) override {
    if (!save) {
      Edit()->SetValue(wxString::FromUTF8(m_sName));
    } else if (Edit()->GetValue().empty()) {
      ++refusals;
      return false;
    } else {
      m_sName = Edit()->GetValue().utf8_string();
    }
    return true;
  }
};

// Runs the dialog with act called once it shows, until act returns true.
int RunWith(NameDialog &dialog, std::function<bool()> act) {
  Poll operatorActs([&] { return dialog.IsShown() && act(); });
  return dialog.DoModal();
}

TEST(DialogBase, OkTakesTheDataOnlyWhenAcceptedOtherwiseTheMembersStay) {
  NameDialog dialog;
  EXPECT_EQ(dialog.GetDlgItem<wxFrame>(1000), nullptr);  // another class
  EXPECT_EQ(dialog.GetDlgItem<wxTextCtrl>(4242), nullptr);
  int step = 0;
  EXPECT_EQ(RunWith(dialog,
                    [&] {
                      if (step++ == 0) {
                        EXPECT_EQ(dialog.Edit()->GetValue(), "first");  // members went in
                        dialog.Edit()->SetValue("");
                      } else {
                        dialog.Edit()->SetValue("second");
                      }
                      dialog.Click(kIdOk);  // refused the first time: the dialog stays open
                      return step == 2;
                    }),
            kIdOk);
  EXPECT_EQ(dialog.refusals, 1);
  EXPECT_EQ(dialog.m_sName, "second");

  // Cancel, Esc and the close box end with kIdCancel and take nothing.
  const std::function<void()> cancels[] = {[&] { dialog.Click(kIdCancel); },
                                           [&] {
                                             wxKeyEvent key(wxEVT_CHAR_HOOK);
                                             key.m_keyCode = WXK_ESCAPE;
                                             dialog.ProcessWindowEvent(key);
                                           },
                                           [&] { dialog.Close(); }};
  for (const auto &cancel : cancels) {
    EXPECT_EQ(RunWith(dialog,
                      [&] {
                        dialog.Edit()->SetValue("third");
                        cancel();
                        return true;
                      }),
              kIdCancel);
    EXPECT_EQ(dialog.m_sName, "second");
  }
}

TEST(SingleInstance, FindsOnlyAShownWindowWithExactlyThatTitle) {
  auto *shown = new wxFrame(nullptr, wxID_ANY, "Probe window", wxPoint(10, 10), wxSize(200, 100));
  shown->Show();
  auto *hidden = new wxFrame(nullptr, wxID_ANY, "Hidden probe");
  ASSERT_TRUE(WaitUntil([&] { return ShownAndSettled(*shown); }));
  EXPECT_TRUE(platform::gui::BringExistingWindowToTop("Probe window"));
  for (const char *other : {"Probe", "probe window", "Hidden probe"}) {
    EXPECT_FALSE(platform::gui::BringExistingWindowToTop(other)) << other;
  }
  // The toolkit names its own hidden windows after the program, and its pop-ups too (a drop-down
  // list, shown); they are not main windows.
  auto *popup = new wxPopupWindow(shown);
  popup->SetSize(10, 150, 100, 100);
  popup->Show();
  ASSERT_TRUE(WaitUntil([&] { return ShownAndSettled(*popup); }));
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop(wxTheApp->GetAppName().utf8_string()));
  popup->Destroy();
  shown->Destroy();
  hidden->Destroy();
  EXPECT_TRUE(WaitUntil([&] {
    for (wxWindow *gone : {static_cast<wxWindow *>(popup), static_cast<wxWindow *>(shown),
                           static_cast<wxWindow *>(hidden)})
      if (wxTheApp->IsScheduledForDestruction(gone)) return false;
    return ToolkitIdle();
  }));
  EXPECT_FALSE(platform::gui::BringExistingWindowToTop("Probe window"));
}

}  // namespace

int main(int argc, char **argv) {
  return RunTestsWithAnchorWindow(argc, argv);
}
