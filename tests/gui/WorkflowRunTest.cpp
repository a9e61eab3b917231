// The import workflow with the real dialogs and tasks, started on a
// selection given to the file pane directly: what they write, what they report, how they end a
// cancelled run, and that the window waits for their worker.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FlowTestSupport.h"
#include "app/DlgConProgress.h"
#include "app/DlgProgress.h"
#include "app/DlgReview.h"
#include "app/DlgSetting.h"
#include "app/DlgStatusView.h"
#include "app/DlgYCConvertSet.h"
#include "app/FilesView.h"
#include "app/MainFrame.h"
#include "app/QuendaApp.h"
#include "app/TargetFolder.h"
#include "app/res/Resource.h"
#include "platform/gui/DialogBase.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace flow_test;
using namespace std::chrono_literals;
using platform::MessageAnswer;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;
namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class WorkflowRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char *folder : {"work", "out"}) {
      fs::remove_all(fs::path(Home()) / folder);
      fs::create_directories(fs::path(Home()) / folder);
    }
  }
  void Choose(const std::vector<std::string> &names) {
    Pane().m_sfilesInChoose.clear();
    for (const std::string &name : names) Pane().m_sfilesInChoose.push_back(Work(name));
  }
  MessageBoxes m_boxes;
};

TEST_F(WorkflowRun, ImportOfOneBmpWritesItsTargetAndOffersItsReview) {
  WritePicture(Work("sunset.bmp"), Picture::Pattern(720, 487, 1), "BMP");
  Choose({"sunset.bmp"});
  std::string reviewTitle;
  {
    DialogScript script(
        {On<CDlgSetting>([](CDlgSetting &d) { Press(d, kIdOk); }),
         On<CDlgStatusView>([](CDlgStatusView &d) { Press(d, res::IDC_BTN_REVIEW); }),
         On<CDlgReview>([&](CDlgReview &d) {
           reviewTitle = d.GetTitle().utf8_string();
           d.EndModal(kIdOk);
         })});
    Pane().ConvertTo(0, "KDT");
    EXPECT_EQ(script.Left(), 0u);
  }
  const std::string target = Work("Msunset.QVEL_000.KDT");
  EXPECT_EQ(reviewTitle, target + " in reviewing");
  const Picture written = ReadPicture(target);
  EXPECT_EQ(written.width, 720u);
  EXPECT_TRUE(m_boxes.Texts().empty());
  EXPECT_EQ(Pane().m_pTaskOfConvert, nullptr);
}

TEST_F(WorkflowRun, CancelDeletesWhatTheRunWroteAndTheWindowWaitsForTheWorker) {
  std::vector<std::string> names;
  for (int i = 0; i < 4; ++i) {
    names.push_back("big" + std::to_string(i) + ".bmp");
    WritePicture(Work(names.back()), Picture::Pattern(1920, 1080, i), "BMP");
  }
  // The first target exists: the worker asks before it writes and waits for the answer, so
  // Cancel is pressed while the run is surely under way.
  test_support::WriteWholeFile(Work("Mbig0.QVEL_000.KDT"), {'o', 'l', 'd'});
  Choose(names);
  bool closeRefused = false;
  {
    DialogScript script({On<CDlgSetting>([](CDlgSetting &d) {
                           CheckRadio(d, res::IDC_RDO_SIZE_1920_1080);
                           Press(d, kIdOk);
                         }),
                         On<CDlgProgress>([&](CDlgProgress &d) {
                           ASSERT_TRUE(PumpUntil([&] { return m_boxes.Asking(); }, 10s));
                           Press(d, kIdCancel);
                           closeRefused = !Frame().Close();
                           m_boxes.Answer(MessageAnswer::No);
                         }),
                         On<CDlgSetting>([](CDlgSetting &d) { Press(d, kIdCancel); })});
    Pane().ConvertTo(0, "KDT");
    EXPECT_EQ(script.Left(), 0u);
  }
  EXPECT_TRUE(closeRefused);
  ASSERT_NE(theApp.GetMainFrame(), nullptr);
  EXPECT_EQ(test_support::ReadWholeFile(Work("Mbig0.QVEL_000.KDT")),
            (std::vector<unsigned char>{'o', 'l', 'd'}));
  std::vector<std::string> expected = names;
  expected.push_back("Mbig0.QVEL_000.KDT");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesIn(Work()), expected);
  EXPECT_EQ(m_boxes.Texts().size(), 1u);  // the question, no message
}

// The target folder comes from the folder browser, as the operator picks it; the source stays
// as it was and the target under its name holds the source with its fields exchanged.
TEST_F(WorkflowRun, ReverseFieldDominanceOnAStillWritesItsTargetAndLeavesTheSource) {
  const std::string source = Work("MONE.QVEL_000.KDT");
  WritePicture(source, Picture::Pattern(720, 487, 9), "KDT");
  const std::vector<unsigned char> sourceBytes = test_support::ReadWholeFile(source);
  Choose({"MONE.QVEL_000.KDT"});
  const std::string out = Home() + "/out";
  SetFolderBrowser([&](wxWindow *, const std::string &) { return out; });
  {
    DialogScript script({On<CDlgYCConvertSet>([](CDlgYCConvertSet &d) {
                           Press(d, res::IDC_BTN_YCBROWSE);
                           Press(d, kIdOk);
                         }),
                         Expect<CDlgConProgress>()});
    Pane().YCConvertSet(0, "KDT");
    EXPECT_EQ(script.Left(), 0u);
  }
  SetFolderBrowser({});
  EXPECT_EQ(test_support::ReadWholeFile(source), sourceBytes);
  ASSERT_EQ(FilesIn(out), std::vector<std::string>{"MONE.QVEL_000.KDT"});
  const Picture before = ReadPicture(source);
  const Picture after = ReadPicture(out + "/MONE.QVEL_000.KDT");
  ASSERT_EQ(after.bits.size(), before.bits.size());
  const size_t row = 720 * 3;
  for (uint32_t y : {0u, 100u, 484u}) {
    EXPECT_TRUE(std::equal(after.bits.begin() + y * row, after.bits.begin() + (y + 1) * row,
                           before.bits.begin() + (y + 1) * row))
        << "line " << y;
  }
  EXPECT_TRUE(m_boxes.Texts().empty());
  EXPECT_NE(Pane().m_pTaskOfConvert, nullptr);  // kept until the next run

  // An import deletes the held task, with the bodies and pictures it holds (some 5 MB), before
  // it asks for its parameters.
  const auto inUse = [] {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
  };
  const size_t held = inUse();
  {
    DialogScript script({On<CDlgSetting>([](CDlgSetting &d) { Press(d, kIdCancel); })});
    Pane().ConvertTo(0, "KDT");
  }
  EXPECT_EQ(Pane().m_pTaskOfConvert, nullptr);
  EXPECT_GT(held, inUse() + 4'000'000);
}

}  // namespace
