// The program's job end to end, driven as the operator drives it: files chosen in the real file
// list, commands from the menu bar and the toolbar, the real dialogs answered as they come up,
// and the files written checked pixel by pixel.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <malloc.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FlowTestSupport.h"
#include "app/convert/DlgConProgress.h"
#include "app/convert/DlgProgress.h"
#include "app/convert/DlgSetting.h"
#include "app/convert/DlgStatusView.h"
#include "app/convert/DlgYCConvertSet.h"
#include "app/convert/TargetFolder.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "app/preview/DlgReview.h"
#include "app/preview/QuendaView.h"
#include "app/res/Resource.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/gui/DialogBase.h"
#include "platform/gui/MenuCommandIds.h"
#include "tests/support/TempFolder.h"

#if defined(__SANITIZE_ADDRESS__)
// The address checker's count of the bytes the program holds (its run-time library's interface;
// not every compiler ships the header that declares it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using namespace flow_test;
using namespace std::chrono_literals;
using platform::MessageAnswer;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;
namespace fs = std::filesystem;

bool Exists(const std::string &path) {
  return fs::exists(path);
}

// The files of a folder, by name, sorted.
std::vector<std::string> FilesIn(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Colours of a KDT still agree with their source within the rounding of its 10-bit samples.
bool Near(uint32_t a, uint32_t b, int tolerance = 6) {
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

// How long a slow disk holds a write: well past the pause of a progress dialog on its full bar.
constexpr std::chrono::milliseconds kBeyondTheFullBar = 1000ms;

// Steps of an import or export: the parameter dialog accepted as it is (act may change it
// first), the result dialog left with button (kIdOk, or a button id).
DialogScript::Step AcceptSettings(std::function<void(CDlgSetting &)> act = nullptr) {
  return On<CDlgSetting>([act](CDlgSetting &d) {
    if (act) act(d);
    Press(d, kIdOk);
  });
}
DialogScript::Step CancelSettings() {
  return On<CDlgSetting>([](CDlgSetting &d) { Press(d, kIdCancel); });
}
DialogScript::Step CloseAny() {
  return [](wxDialog &d) {
    d.EndModal(kIdCancel);
    return true;
  };
}
DialogScript::Step LeaveResult(int button = kIdOk) {
  return On<CDlgStatusView>([button](CDlgStatusView &d) { Press(d, button); });
}

class Workflow : public ::testing::Test {
 protected:
  void SetUp() override {
    ChooseFilter("*.KDT");
    ResetWork();
  }
  // Answers the worker's question only once the run waits for its worker, handling events as
  // it waits (it yields then), and so after the run has left its dialog and asked the task to
  // stop, as an operator's answer would come.
  void AnswerWhileTheRunWaitsForItsWorker(MessageAnswer answer) {
    const wxEventLoopBase *loop = wxEventLoopBase::GetActive();
    if (loop != nullptr && loop->IsYielding()) {
      m_boxes.Answer(answer);
    } else {
      wxTheApp->CallAfter([this, answer] { AnswerWhileTheRunWaitsForItsWorker(answer); });
    }
  }
  MessageBoxes m_boxes;
};

TEST_F(Workflow, ImportOfOneBmpThenReviewAgainOverwriteAndRefresh) {
  WritePicture(Work("sunset.bmp"), Picture::Pattern(720, 487, 1), "BMP");
  ChooseFilter("*.BMP");
  ASSERT_TRUE(Select({"sunset.bmp"}));
  const std::string target = Work("Msunset.QVEL_000.KDT");

  // Import from the menu bar; the result dialog offers the review, which shows the target.
  std::string reviewTitle;
  {
    DialogScript script(
        {AcceptSettings(), LeaveResult(res::IDC_BTN_REVIEW), On<CDlgReview>([&](CDlgReview &d) {
           reviewTitle = d.GetTitle().utf8_string();
           d.EndModal(kIdOk);  // the review has no buttons
         })});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
  }
  ASSERT_TRUE(Exists(target));
  EXPECT_EQ(reviewTitle, target + " in reviewing");
  const Picture written = ReadPicture(target);
  ASSERT_EQ(written.width, 720u);
  EXPECT_TRUE(Near(written.At(100, 100), Picture::Pattern(720, 487, 1).At(100, 100)));
  ChooseFilter("*.*");
  EXPECT_TRUE(IsListed("Msunset.QVEL_000.KDT"));
  EXPECT_TRUE(m_boxes.Texts().empty());
  EXPECT_EQ(Pane().m_pTaskOfConvert, nullptr);

  // "Convert Again" brings the parameter dialog back with its defaults (the target folder of
  // the first source); the first pass's target lies in the source folder, so the list is
  // refreshed, while a target in another folder leaves the list as it was.
  ASSERT_TRUE(Select({"sunset.bmp"}));
  std::string targetShownAgain;
  int compositeAgain = -1;
  {
    DialogScript script(
        {AcceptSettings([](CDlgSetting &d) { CheckRadio(d, res::IDC_RDO_SIZE_1920_1080); }),
         LeaveResult(res::IDC_BTN_CONVERT_AGAIN), AcceptSettings([&](CDlgSetting &d) {
           targetShownAgain = d.GetDlgItemText(res::IDC_EDIT_TARGET);
           compositeAgain =
               d.GetCheckedRadioButton(res::IDC_RDO_COMPOSITE_NONE, res::IDC_RDO_COMPOSITE_4);
           EXPECT_EQ(
               d.GetCheckedRadioButton(res::IDC_RDO_SIZE_720_487, res::IDC_RDO_SIZE_1920_1080),
               static_cast<int>(res::IDC_RDO_SIZE_720_487));
           SetEdit(d, res::IDC_EDIT_TARGET, Home() + "/out/");
           // After the first pass's refresh (its target lies in the source folder).
           WritePicture(Work("late.bmp"), Picture::Solid(720, 487, 0x204060), "BMP");
         }),
         LeaveResult()});
    // The overwrite question of the first pass: Yes replaces the first target.
    m_boxes.Answer(MessageAnswer::Yes);
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_EQ(targetShownAgain, Work());
  EXPECT_EQ(compositeAgain, static_cast<int>(res::IDC_RDO_COMPOSITE_NONE));
  EXPECT_EQ(ReadPicture(target).width, 1920u);  // replaced
  EXPECT_FALSE(Exists(Work("Msunset.QVEL_001.KDT")));
  EXPECT_TRUE(Exists(Home() + "/out/Msunset.QVEL_000.KDT"));
  EXPECT_FALSE(IsListed("late.bmp"));  // the last target went elsewhere: no new listing
  ASSERT_EQ(m_boxes.Texts().size(), 1u);
  EXPECT_NE(m_boxes.Texts()[0].find("already exists"), std::string::npos);

  // The question answered No renumbers; the target lies in the source folder, so the list is
  // refreshed and shows what came meanwhile.
  ASSERT_TRUE(Select({"sunset.bmp"}));
  {
    DialogScript script({AcceptSettings(), LeaveResult()});
    m_boxes.Answer(MessageAnswer::No);
    ClickTool(res::ID_CONVERT_SETTING);  // the toolbar's import
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_TRUE(Exists(Work("Msunset.QVEL_001.KDT")));
  EXPECT_EQ(ReadPicture(target).width, 1920u);  // kept
  EXPECT_TRUE(IsListed("late.bmp"));
  EXPECT_TRUE(IsListed("Msunset.QVEL_001.KDT"));
}

TEST_F(Workflow, ImportOfFiveBmpsIntoOneThreeByThreeStill) {
  const uint32_t colours[] = {0xC03020, 0x20C030, 0x3020C0, 0xC0C020, 0x20C0C0};
  std::vector<std::string> names;
  for (int i = 0; i < 5; ++i) {
    names.push_back("cell" + std::to_string(i) + ".bmp");
    WritePicture(Work(names.back()), Picture::Solid(240, 162, colours[i]), "BMP");
  }
  ChooseFilter("*.BMP");
  ASSERT_TRUE(Select(names));
  // Esc from the keyboard, the first key pressed, cancels the parameter dialog.
  bool escIgnored = false;
  {
    std::optional<std::chrono::steady_clock::time_point> since;
    DialogScript script(
        {On<CDlgSetting>([](CDlgSetting &) { wxUIActionSimulator().Char(WXK_ESCAPE); }),
         [&](wxDialog &d) {
           if (!since) since = std::chrono::steady_clock::now();
           if (std::chrono::steady_clock::now() - *since < std::chrono::seconds(10)) return false;
           escIgnored = true;
           d.EndModal(kIdCancel);
           return true;
         }});
    ChooseMenu(res::ID_CONVERT_IMPORT);
  }
  EXPECT_FALSE(escIgnored);
  bool reviewEnabled = false;
  {
    DialogScript script(
        {AcceptSettings([](CDlgSetting &d) { CheckRadio(d, res::IDC_RDO_COMPOSITE_3); }),
         On<CDlgStatusView>([&](CDlgStatusView &d) {
           reviewEnabled = d.FindWindow(res::IDC_BTN_REVIEW)->IsEnabled();
           Press(d, kIdOk);
         })});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_TRUE(reviewEnabled);
  std::vector<std::string> kdt;
  for (const std::string &name : FilesIn(Work())) {
    if (name.ends_with(".KDT")) kdt.push_back(name);
  }
  ASSERT_EQ(kdt.size(), 1u);
  const Picture target = ReadPicture(Work(kdt[0]));
  ASSERT_EQ(target.width, 720u);
  ASSERT_EQ(target.height, 487u);
  // Cells row by row from the top left, each 240 x 162; the sixth to ninth stay black.
  for (int i = 0; i < 9; ++i) {
    const uint32_t x = (i % 3) * 240 + 120, y = (i / 3) * 162 + 81;
    EXPECT_TRUE(Near(target.At(x, y), i < 5 ? colours[i] : 0))
        << i << " " << std::hex << target.At(x, y);
  }
}

TEST_F(Workflow, ExportOfAKdtStillToBmpAtItsOwnSize) {
  WritePicture(Work("MABC.QVEL_000.KDT"), Picture::Pattern(720, 576, 5), "KDT");
  Relist();
  ASSERT_TRUE(Select({"MABC.QVEL_000.KDT"}));
  std::string sizeShown;
  {
    DialogScript script({AcceptSettings([&](CDlgSetting &d) {
                           sizeShown = d.GetDlgItemText(res::IDC_STATIC_IMAGESIZE);
                         }),
                         LeaveResult()});
    ChooseMenu(res::ID_EXPORT_FIRST);  // "BMP"
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_EQ(sizeShown, "720*576");
  const Picture still = ReadPicture(Work("MABC.QVEL_000.KDT"));
  const Picture bmp = ReadPicture(Work("MABC.QVEL_000.BMP"));
  ASSERT_EQ(bmp.width, 720u);
  ASSERT_EQ(bmp.height, 576u);
  EXPECT_TRUE(bmp.bits == still.bits);
  EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(Workflow, CancelDuringABatchDeletesWhatItWroteAndTheWindowWaitsForTheWorker) {
  std::vector<std::string> names;
  for (int i = 0; i < 4; ++i) {
    names.push_back("big" + std::to_string(i) + ".bmp");
    WritePicture(Work(names.back()), Picture::Pattern(1920, 1080, i), "BMP");
  }
  // The first target exists: the worker asks before it writes, and waits for the answer.
  test_support::WriteWholeFile(Work("Mbig0.QVEL_000.KDT"), {'o', 'l', 'd'});
  ChooseFilter("*.BMP");
  ASSERT_TRUE(Select(names));
  bool closeRefused = false;
  {
    HeldWrites writes(Work(), 0ms);  // held for no time: counted only
    DialogScript script(
        {AcceptSettings([](CDlgSetting &d) { CheckRadio(d, res::IDC_RDO_SIZE_1920_1080); }),
         On<CDlgProgress>([&](CDlgProgress &d) {
           ASSERT_TRUE(PumpUntil([&] { return m_boxes.Asking(); }, 10s));
           Press(d, kIdCancel);
           // The dialog has gone, the worker still waits in its question: the window stays.
           closeRefused = !Frame().Close();
           // Answered before the run has asked the task to stop, a fast worker could reach a
           // second target.
           AnswerWhileTheRunWaitsForItsWorker(MessageAnswer::No);
         }),
         CancelSettings()});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
    // The batch stopped after the target it was writing: no later source became a target.
    EXPECT_EQ(writes.Held(), 1);
  }
  EXPECT_TRUE(closeRefused);
  ASSERT_NE(theApp.GetMainFrame(), nullptr);
  // The renumbered first target was written and deleted; nothing else was written; the file
  // that was there before stays.
  EXPECT_EQ(test_support::ReadWholeFile(Work("Mbig0.QVEL_000.KDT")),
            (std::vector<unsigned char>{'o', 'l', 'd'}));
  std::vector<std::string> expected = names;
  expected.push_back("Mbig0.QVEL_000.KDT");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesIn(Work()), expected);
  // No message beside the question.
  EXPECT_EQ(m_boxes.Texts().size(), 1u);
}

// Yes to the overwrite question, then Cancel in the progress dialog once the operator's file has
// been replaced: the file comes back byte for byte, and nothing the run made, hidden or not, is
// left in the folder.
TEST_F(Workflow, YesThenCancelGivesTheOperatorsFileBack) {
  const std::vector<std::string> names = {"keeping0.bmp", "keeping1.bmp"};
  for (size_t i = 0; i < names.size(); ++i) {
    WritePicture(Work(names[i]), Picture::Pattern(720, 487, static_cast<unsigned>(i)), "BMP");
  }
  const std::string target = Work("Mkeeping.QVEL_000.KDT");
  WritePicture(target, Picture::Solid(720, 487, 0x405060), "KDT");
  const std::vector<unsigned char> operatorsFile = test_support::ReadWholeFile(target);
  ChooseFilter("*.BMP");
  ASSERT_TRUE(Select(names));
  bool replaced = false;
  {
    DialogScript script({AcceptSettings(), On<CDlgProgress>([&](CDlgProgress &d) {
                           EXPECT_TRUE(PumpUntil([&] { return m_boxes.Asking(); }, 10s));
                           m_boxes.Answer(MessageAnswer::Yes);
                           // Waiting without handling events keeps the dialog up, whatever the
                           // worker does.
                           for (int i = 0; i < 1000 && !replaced; ++i) {
                             std::this_thread::sleep_for(10ms);
                             replaced = test_support::ReadWholeFile(target) != operatorsFile;
                           }
                           Press(d, kIdCancel);
                         }),
                         CancelSettings()});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_TRUE(replaced);
  EXPECT_EQ(test_support::ReadWholeFile(target), operatorsFile);
  std::vector<std::string> expected = names;
  expected.push_back("Mkeeping.QVEL_000.KDT");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesIn(Work()), expected);
  EXPECT_EQ(m_boxes.Texts().size(), 1u);  // the question alone
}

TEST_F(Workflow, FailuresAreReportedAndLeaveNoTarget) {
  // A damaged source: its error text, no target, the parameter dialog back.
  WritePicture(Work("good.bmp"), Picture::Solid(720, 487, 0x808080), "BMP");
  std::vector<unsigned char> damaged = test_support::ReadWholeFile(Work("good.bmp"));
  damaged.resize(200);
  test_support::WriteWholeFile(Work("broken.bmp"), damaged);
  ChooseFilter("*.BMP");
  ASSERT_TRUE(Select({"broken.bmp"}));
  const size_t shown = m_boxes.Texts().size();  // the preview's own message
  {
    DialogScript script({AcceptSettings(), CancelSettings()});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
  }
  ASSERT_EQ(m_boxes.Texts().size(), shown + 1);
  EXPECT_EQ(m_boxes.Texts().back(),
            Work("broken.bmp") +
                " cann't be load in, the format of this file wasn't supported or the file was "
                "crashed.");
  EXPECT_FALSE(Exists(Work("Mbroken.QVEL_000.KDT")));

  // A target folder that cannot be written, found out only after a slow write: a message that
  // is not empty, once the worker has ended.
  ASSERT_TRUE(Select({"good.bmp"}));
  {
    HeldWrites slowDisk("/proc/", kBeyondTheFullBar);
    DialogScript script(
        {AcceptSettings([](CDlgSetting &d) { SetEdit(d, res::IDC_EDIT_TARGET, "/proc/"); }),
         CancelSettings()});
    ChooseMenu(res::ID_CONVERT_IMPORT);
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_GE(slowDisk.Held(), 1);
  }
  ASSERT_EQ(m_boxes.Texts().size(), shown + 2);
  EXPECT_FALSE(m_boxes.Texts().back().empty());
  EXPECT_FALSE(Exists("/proc/Mgood.QVEL_000.KDT"));
}

// Runs Reverse Field Dominance on the selection into folder (HOME/out/ when empty), answering
// the progress dialog with progressStep (none: it ends by itself).
void ReverseFieldDominance(DialogScript::Step progressStep = nullptr, std::string folder = "") {
  if (folder.empty()) folder = Home() + "/out";
  SetFolderBrowser([folder](wxWindow *, const std::string &) { return folder; });
  std::vector<DialogScript::Step> steps{On<CDlgYCConvertSet>([](CDlgYCConvertSet &d) {
    Press(d, res::IDC_BTN_YCBROWSE);
    Press(d, kIdOk);
  })};
  if (progressStep) steps.push_back(progressStep);
  DialogScript script(steps);
  ChooseMenu(res::ID_CONVERT_YC);
  EXPECT_EQ(script.Left(), 0u);
  SetFolderBrowser({});
}

TEST_F(Workflow, ReverseFieldDominanceOnAStillAndOnASequence) {
  const Picture source = Picture::Pattern(720, 487, 9);
  WritePicture(Work("MONE.QVEL_000.KDT"), source, "KDT");
  for (int i = 0; i < 3; ++i) {
    WritePicture(Work("MSEQ.QVEL_00" + std::to_string(i) + ".KDT"),
                 Picture::Pattern(720, 487, 20 + i), "KDT");
  }
  Relist();
  const std::vector<unsigned char> sourceBytes =
      test_support::ReadWholeFile(Work("MONE.QVEL_000.KDT"));
  ASSERT_TRUE(Select({"MONE.QVEL_000.KDT"}));
  ReverseFieldDominance();
  // The source stays as it was; the target under its name goes to the chosen folder.
  EXPECT_EQ(test_support::ReadWholeFile(Work("MONE.QVEL_000.KDT")), sourceBytes);
  EXPECT_EQ(FilesIn(Home() + "/out"), std::vector<std::string>{"MONE.QVEL_000.KDT"});
  const Picture before = ReadPicture(Work("MONE.QVEL_000.KDT"));
  const Picture after = ReadPicture(Home() + "/out/MONE.QVEL_000.KDT");
  ASSERT_EQ(after.width, 720u);
  // The fields change places: each line of the target is the other line of its pair.
  const size_t row = 720 * 3;
  int exchanged = 0;
  for (uint32_t y = 0; y + 1 < 486; y += 2) {
    exchanged += std::equal(after.bits.begin() + y * row, after.bits.begin() + (y + 1) * row,
                            before.bits.begin() + (y + 1) * row);
  }
  EXPECT_GT(exchanged, 200);
  EXPECT_NE(after.bits, before.bits);
  EXPECT_NE(Pane().m_pTaskOfConvert, nullptr);  // kept until the next run

  // Three stills: two targets, named like the second and the third.
  ASSERT_TRUE(Select({"MSEQ.QVEL_000.KDT", "MSEQ.QVEL_001.KDT", "MSEQ.QVEL_002.KDT"}));
  ReverseFieldDominance();
  EXPECT_EQ(
      FilesIn(Home() + "/out"),
      (std::vector<std::string>{"MONE.QVEL_000.KDT", "MSEQ.QVEL_001.KDT", "MSEQ.QVEL_002.KDT"}));
  EXPECT_TRUE(m_boxes.Texts().empty());

  // An import afterwards deletes the Y/C task held from the last run, with the bodies and
  // pictures it holds (some 5 MB), before it asks for its parameters.
  ChooseFilter("*.*");
  WritePicture(Work("any.bmp"), Picture::Solid(720, 487, 0x102030), "BMP");
  Relist();
  ASSERT_TRUE(Select({"any.bmp"}));
  const auto inUse = [] {
#if defined(__SANITIZE_ADDRESS__)
    // The address checker's allocator serves the program in place of the C library's, whose
    // figures then stay at 0; it keeps its own count of the bytes in use.
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
  };
  const size_t held = inUse();
  {
    DialogScript script({CancelSettings()});
    ChooseMenu(res::ID_CONVERT_IMPORT);
  }
  EXPECT_EQ(Pane().m_pTaskOfConvert, nullptr);
  EXPECT_GT(held, inUse() + 4'000'000);
}

TEST_F(Workflow, ReverseFieldDominanceCancelKeepsWhatWasWrittenAndFailuresNeedNoCancel) {
  std::vector<std::string> names;
  for (int i = 0; i < 24; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "MLNG.QVEL_%03d.KDT", i);
    names.push_back(name);
    WritePicture(Work(name), Picture::Pattern(1920, 1080, i), "KDT");
  }
  Relist();
  ASSERT_TRUE(Select(names));
  size_t writtenAtCancel = 0;
  ReverseFieldDominance(On<CDlgConProgress>([&](CDlgConProgress &d) {
    ASSERT_TRUE(PumpUntil([] { return !FilesIn(Home() + "/out").empty(); }, 20s));
    writtenAtCancel = FilesIn(Home() + "/out").size();
    Press(d, kIdCancel);
  }));
  const size_t written = FilesIn(Home() + "/out").size();
  EXPECT_GE(written, writtenAtCancel);
  EXPECT_LE(written, writtenAtCancel + 1);  // the file under way, then no more
  EXPECT_LT(written, names.size() - 1);
  EXPECT_TRUE(m_boxes.Texts().empty());

  // A damaged still: its message, without Cancel being pressed.
  std::vector<unsigned char> damaged = test_support::ReadWholeFile(Work(names[0]));
  damaged.resize(5000);
  test_support::WriteWholeFile(Work("MBAD.QVEL_000.KDT"), damaged);
  Relist();
  ASSERT_TRUE(Select({"MBAD.QVEL_000.KDT"}));
  m_boxes.AnswerAll(MessageAnswer::Ok);
  ReverseFieldDominance(Expect<CDlgConProgress>());
  ASSERT_FALSE(m_boxes.Texts().empty());
  EXPECT_NE(m_boxes.Texts().back().find(Work("MBAD.QVEL_000.KDT")), std::string::npos);
  EXPECT_FALSE(Exists(Home() + "/out/MBAD.QVEL_000.KDT"));

  // A still into a folder that cannot be written: the task reaches 100 before it writes, and
  // the write fails only after the full bar has gone; the failure is still reported.
  ASSERT_TRUE(Select({names[1]}));
  const size_t shown = m_boxes.Texts().size();
  {
    HeldWrites slowDisk("/proc/", kBeyondTheFullBar);
    ReverseFieldDominance(Expect<CDlgConProgress>(), "/proc");
    EXPECT_GE(slowDisk.Held(), 1);
  }
  ASSERT_EQ(m_boxes.Texts().size(), shown + 1);
  EXPECT_EQ(m_boxes.Texts().back(), "/proc/" + names[1] + " can not be written.");
}

// The enabled state of each conversion command in the menu bar and on the toolbar.
struct Enabled {
  bool import, exportTo, reverse, property, settings, rename;
  bool operator==(const Enabled &) const = default;
};

Enabled ReadEnabled() {
  UpdateCommands();
  wxMenuBar *bar = Frame().GetMenuBar();
  wxToolBar *tools = Frame().GetToolBar();
  using platform::gui::MenuItemId;
  return {bar->IsEnabled(MenuItemId(res::ID_CONVERT_IMPORT)),
          bar->GetMenu(1)->FindItemByPosition(1)->IsEnabled(),
          bar->IsEnabled(MenuItemId(res::ID_CONVERT_YC)),
          tools->GetToolEnabled(res::ID_FILE_PROPERTY),
          tools->GetToolEnabled(res::ID_CONVERT_SETTING),
          tools->GetToolEnabled(res::ID_FILE_RENAME)};
}

std::ostream &operator<<(std::ostream &out, const Enabled &e) {
  return out << "import " << e.import << " export " << e.exportTo << " reverse " << e.reverse
             << " property " << e.property << " settings " << e.settings << " rename " << e.rename;
}

TEST_F(Workflow, CommandsFollowTheSelectionAndADisabledOneNeverRuns) {
  WritePicture(Work("a.bmp"), Picture::Solid(720, 487, 0x111111), "BMP");
  WritePicture(Work("b.bmp"), Picture::Solid(720, 487, 0x222222), "BMP");
  WritePicture(Work("MKDT.QVEL_000.KDT"), Picture::Solid(720, 487, 0x333333), "KDT");
  struct Case {
    const char *filter;
    std::vector<std::string> selection;
    Enabled enabled;
  } const cases[] = {
      {"*.KDT", {}, {false, false, false, false, false, false}},
      {"*.KDT", {"MKDT.QVEL_000.KDT"}, {false, true, true, true, false, true}},
      {"*.BMP", {"a.bmp", "b.bmp"}, {true, false, false, false, true, false}},
      // Under "*.*" the side follows the selection at once, in both directions.
      {"*.*", {"a.bmp"}, {true, false, false, true, true, false}},
      {"*.*", {"MKDT.QVEL_000.KDT"}, {false, true, true, true, false, true}},
      {"*.*", {"a.bmp"}, {true, false, false, true, true, false}},
      // A BMP and a KDT together cannot be converted.
      {"*.*", {"a.bmp", "MKDT.QVEL_000.KDT"}, {false, false, false, false, false, false}},
  };
  for (const Case &c : cases) {
    ChooseFilter(c.filter);
    Relist();
    ASSERT_TRUE(Select(c.selection)) << c.filter;
    EXPECT_EQ(ReadEnabled(), c.enabled) << c.filter << " " << c.selection.size();
  }

  // Nothing selected: none of the commands runs, whether it comes from a menu, a button or a
  // key; About and Exit stay enabled.
  ChooseFilter("*.KDT");
  ASSERT_TRUE(Select({}));
  {
    // A dialog that should not have come is closed, so the test fails instead of waiting.
    DialogScript script(std::vector<DialogScript::Step>(4, CloseAny()));
    for (unsigned id : {res::ID_CONVERT_IMPORT, res::ID_FILE_PROPERTY, res::ID_EXPORT_FIRST,
                        res::ID_CONVERT_YC}) {
      wxCommandEvent key(wxEVT_MENU, static_cast<int>(id));
      Frame().ProcessWindowEvent(key);
    }
    for (unsigned id : {res::ID_FILE_PROPERTY, res::ID_CONVERT_SETTING, res::ID_FILE_RENAME}) {
      ClickTool(id);
    }
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    EXPECT_TRUE(script.Seen().empty());
  }
  // The file list's context menu runs no entry it shows greyed: Property and Reverse Field
  // Dominance for two BMPs, Property and Rename for two KDT stills.
  WritePicture(Work("MKDT.QVEL_001.KDT"), Picture::Solid(720, 487, 0x444444), "KDT");
  const struct {
    const char *filter;
    std::vector<std::string> selection;
    std::vector<unsigned> greyed;
  } menus[] = {
      {"*.BMP", {"a.bmp", "b.bmp"}, {res::ID_FILE_PROPERTY, res::ID_CONVERT_YC}},
      {"*.KDT",
       {"MKDT.QVEL_000.KDT", "MKDT.QVEL_001.KDT"},
       {res::ID_FILE_PROPERTY, res::ID_LIST_RENAME}},
  };
  for (const auto &m : menus) {
    ChooseFilter(m.filter);
    Relist();
    ASSERT_TRUE(Select(m.selection)) << m.filter;
    // A dialog that should not have come is closed, so the test fails instead of waiting.
    DialogScript script(std::vector<DialogScript::Step>(4, CloseAny()));
    CListCtrlFile &list = *Pane().m_lstFiles;
    for (unsigned id : m.greyed) {
      ASSERT_NE(list.LoadContextMenu(), nullptr);
      wxCommandEvent entry(wxEVT_MENU, static_cast<int>(id));
      list.ProcessWindowEvent(entry);
    }
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    EXPECT_TRUE(script.Seen().empty()) << m.filter;
  }
  EXPECT_TRUE(Frame().GetMenuBar()->IsEnabled(platform::gui::MenuItemId(res::ID_APP_ABOUT)));
  EXPECT_TRUE(Frame().GetMenuBar()->IsEnabled(platform::gui::MenuItemId(res::ID_APP_EXIT)));
}

// Whether the middle of the preview pane shows colour on the screen, once the pane has painted.
bool PreviewShows(uint32_t colour) {
  return WaitUntil([&] {
    if (!ToolkitIdle()) return false;
    const wxWindow &view = *Frame().GetRightPane();
    const wxSize size = view.GetClientSize();
    const wxPoint centre = view.ClientToScreen(wxPoint(size.x / 2, size.y / 2));
    const std::vector<uint32_t> pixel = GrabScreen(centre.x, centre.y, 1, 1);
    return !pixel.empty() && Near(pixel[0], colour, 4);
  });
}

// The list selects what the operator chose with the mouse and the keys, as the platform's
// lists do, and nothing else: the files an export writes, the picture previewed and the
// commands enabled follow from that selection.
TEST_F(Workflow, TheSelectionIsWhatTheOperatorChose) {
  constexpr uint32_t kGround = 0x818181;
  std::vector<std::string> stills;  // rows 0 to 6
  for (char letter = 'A'; letter <= 'G'; ++letter) {
    stills.push_back(std::string("M") + letter + ".QVEL_000.KDT");
    WritePicture(Work(stills.back()), Picture::Solid(720, 487, 0x102030 * (letter - 'A' + 1)),
                 "KDT");
  }
  const auto colourOf = [&](int row) { return 0x102030u * (row + 1); };
  const auto names = [&](std::vector<int> rows) {
    std::vector<std::string> chosen;
    for (int row : rows) chosen.push_back(Work(stills[row]));
    return chosen;
  };
  // Exports the selection to BMP: the rows whose pictures were written. The written files go
  // again; the list, listed again, has nothing selected.
  const auto exported = [&] {
    {
      DialogScript script({AcceptSettings(), LeaveResult()});
      ChooseMenu(res::ID_EXPORT_FIRST);  // "BMP"
      EXPECT_EQ(script.Left(), 0u);
    }
    std::vector<int> rows;
    for (int row = 0; row < int(stills.size()); ++row) {
      const std::string bmp = Work(stills[row].substr(0, stills[row].size() - 3) + "BMP");
      if (fs::remove(bmp)) rows.push_back(row);
    }
    return rows;
  };
  const auto key = [](int code, int modifiers) {
    wxUIActionSimulator keys;
    keys.Char(code, modifiers);
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
  };
  const Enabled none{false, false, false, false, false, false};
  Relist();

  // Shift+click selects the range from the anchor, the item clicked last without Shift, and
  // nothing else.
  ASSERT_TRUE(ClickOn(stills[1]));
  ASSERT_TRUE(ClickOn(stills[3], wxMOD_CONTROL));
  ASSERT_TRUE(ClickOn(stills[5], wxMOD_SHIFT));
  EXPECT_EQ(exported(), (std::vector<int>{3, 4, 5}));
  // Ctrl+Shift+click adds the range to the selection; Shift and an arrow key make the range
  // from the anchor to the item moved to the selection.
  ASSERT_TRUE(ClickOn(stills[1]));
  ASSERT_TRUE(ClickOn(stills[3], wxMOD_CONTROL));
  ASSERT_TRUE(ClickOn(stills[5], wxMOD_CONTROL | wxMOD_SHIFT));
  EXPECT_EQ(Pane().m_sfilesInChoose, names({1, 3, 4, 5}));
  key(WXK_UP, wxMOD_SHIFT);
  EXPECT_EQ(exported(), (std::vector<int>{3, 4}));
  // A move by a key, and a plain click, set the anchor.
  ASSERT_TRUE(ClickOn(stills[2]));
  key(WXK_DOWN, 0);
  ASSERT_TRUE(ClickOn(stills[5], wxMOD_SHIFT));
  EXPECT_EQ(Pane().m_sfilesInChoose, names({3, 4, 5}));
  ASSERT_TRUE(ClickOn(stills[1]));
  key(WXK_DOWN, wxMOD_SHIFT);
  EXPECT_EQ(Pane().m_sfilesInChoose, names({1, 2}));

  // A right click beside the items leaves nothing selected, as a left click there does: the
  // preview clears and the menu, like the menu bar and the toolbar, is that of no selection.
  ASSERT_TRUE(ClickOn(stills[2]));
  EXPECT_TRUE(PreviewShows(colourOf(2)));
  EXPECT_TRUE(ReadEnabled().property);
  CListCtrlFile &list = *Pane().m_lstFiles;
  wxRect last;
  ASSERT_TRUE(list.GetItemRect(list.GetItemCount() - 1, last));
  wxUIActionSimulator mouse;
  mouse.MouseMove(list.ClientToScreen(wxPoint(10, last.GetBottom() + 12)));
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  std::optional<bool> exportShown;  // whether "Export To" was enabled in the menu
  Poll escape([&] {
    const wxMenu *menu = list.GetLoadedMenu();
    if (menu == nullptr || !gtk_widget_get_mapped(menu->m_menu) || !ToolkitIdle()) return false;
    exportShown = menu->FindItemByPosition(0)->IsEnabled();
    wxUIActionSimulator().Char(WXK_ESCAPE);
    return true;
  });
  SingleClick(mouse, wxMOUSE_BTN_RIGHT);
  EXPECT_TRUE(WaitUntil([&] { return exportShown.has_value() && ToolkitIdle(); }));
  EXPECT_EQ(exportShown, false);
  EXPECT_EQ(ReadEnabled(), none);
  EXPECT_TRUE(Pane().m_sfilesInChoose.empty());
  EXPECT_TRUE(PreviewShows(kGround));

  // A double-click on a folder opens it with nothing selected in it: the item that comes under
  // the pointer, a damaged still, is neither chosen nor loaded.
  for (const char *name : {"bad1.kdt", "bad2.kdt", "bad3.kdt"})
    std::ofstream(Home() + "/out/" + name) << std::string(1023, 'Z');
  wxTreeCtrl &tree = *Pane().m_cmbDirectory->GetTreeCtrl();
  const wxTreeItemId work = tree.GetSelection();
  tree.SelectItem(tree.GetItemParent(work));
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  ASSERT_TRUE(DoubleClickOn("out"));
  EXPECT_TRUE(IsListed("bad1.kdt"));
  EXPECT_EQ(list.GetSelectedItemCount(), 0);
  EXPECT_TRUE(Pane().m_sfilesInChoose.empty());
  EXPECT_EQ(ReadEnabled(), none);
  EXPECT_TRUE(PreviewShows(kGround));
  EXPECT_TRUE(m_boxes.Texts().empty());
  tree.SelectItem(work);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

}  // namespace
