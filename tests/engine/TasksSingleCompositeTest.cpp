// The single-file task and the composite task through the real plug-ins.
#include <gtest/gtest.h>

#include <cstring>

#include "app/res/Strings.h"
#include "engine/TaskComposite.h"
#include "tests/engine/TasksTestSupport.h"
#include "tests/support/SyncLog.h"

namespace {

using tasks_test::NumberedBmp;
using tasks_test::Picture;
using tasks_test::ScriptedMessageBox;

// The rows x cols block of a picture whose top left corner is (row0, col0).
std::vector<unsigned char> Block(const tagRGBInfo &picture, uint32_t row0, uint32_t col0,
                                 uint32_t rows, uint32_t cols) {
  std::vector<unsigned char> out;
  for (uint32_t r = row0; r < row0 + rows; ++r) {
    const unsigned char *from = picture.ptBits + (size_t{r} * picture.width + col0) * 3;
    out.insert(out.end(), from, from + size_t{cols} * 3);
  }
  return out;
}
std::vector<unsigned char> Black(uint32_t rows, uint32_t cols) {
  return std::vector<unsigned char>(size_t{rows} * cols * 3, 0);
}

class TaskTest : public tasks_test::RealPluginsTest {
 protected:
  // n sources of 720 x 487 with shades of their own, so the cells can be told apart.
  std::vector<std::string> Sources(int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i) {
      m_sources.push_back(Picture::Pattern(720, 487, 40 * i));
      paths.push_back(Path(NumberedBmp("s", i)));
      Write(NumberedBmp("s", i), m_sources.back());
    }
    return paths;
  }
  std::vector<unsigned char> SourceBlock(int i) {
    const tagRGBInfo info = m_sources[i].Info();
    return Block(info, 0, 0, 243, 360);
  }
  std::vector<Picture> m_sources;
};

TEST_F(TaskTest, BasicLoadsExactlyOneFileAndGivesCopyOrCanvas) {
  const std::vector<std::string> paths = Sources(2);
  CTaskBasic task(m_engine);
  int ret = -1, count = -1;
  task.LoadRGB(paths, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(task.GetConvertResult(), ERR_FILE_COUNT);
  EXPECT_EQ(task.GetFilesPropety(count), nullptr);

  Picture source = Picture::Pattern(640, 480);
  Write("a.bmp", source);
  task.LoadRGB({Path("a.bmp")}, 0, ret);
  EXPECT_EQ(task.GetConvertResult(), 0);
  const tagFileInfo *record = task.GetFilesPropety(count);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(count, 1);
  tagRGBInfo *copy = task.GetRGB(1);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->ptBits, record->rgbInfo.ptBits);
  EXPECT_EQ(Block(*copy, 0, 0, 480, 640), source.bits);

  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  tagRGBInfo *canvas = task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  ASSERT_EQ(canvas->width * canvas->height, 720u * 487u);
  EXPECT_EQ(Block(*canvas, 0, 0, 480, 640), source.bits);
  EXPECT_EQ(Block(*canvas, 0, 640, 487, 80), Black(487, 80));
  EXPECT_EQ(Block(*canvas, 480, 0, 7, 720), Black(7, 720));
  EXPECT_EQ(task.GetProgressStatus(), 100u);
}

TEST_F(TaskTest, CompositeOfFourAndOfThreeSourcesOnTwoByTwo) {
  const std::vector<std::string> paths = Sources(5);
  for (int k : {4, 3}) {
    CTaskComposite task(m_engine);
    task.UpdateConvParameter(720, 487, ShiftDown, uint32_t(CompositeMode::Two));
    int ret = -1;
    task.LoadRGB({paths.begin(), paths.begin() + k}, 0, ret);
    ASSERT_EQ(ret, 0);
    tagRGBInfo *canvas = task.GetRGB(0);
    ASSERT_NE(canvas, nullptr);
    // The chosen ShiftDown is dropped: composites are never shifted.
    EXPECT_EQ(Block(*canvas, 0, 0, 243, 360), SourceBlock(0));
    EXPECT_EQ(Block(*canvas, 0, 360, 243, 360), SourceBlock(1));
    EXPECT_EQ(Block(*canvas, 243, 0, 243, 360), SourceBlock(2));
    EXPECT_EQ(Block(*canvas, 243, 360, 243, 360), k == 4 ? SourceBlock(3) : Black(243, 360));
    EXPECT_EQ(Block(*canvas, 486, 0, 1, 720), Black(1, 720));
    ScriptedMessageBox box;  // the second run finds the first one's target and renumbers
    EXPECT_EQ(task.SaveRGB(Path("Ms0.QVEL_000.KDT"), "KDT"), 0);
    EXPECT_EQ(task.GetTargetFileName(), Path(k == 4 ? "Ms0.QVEL_000.KDT" : "Ms0.QVEL_001.KDT"));
    EXPECT_EQ(Read(k == 4 ? "Ms0.QVEL_000.KDT" : "Ms0.QVEL_001.KDT").height, 487u);
  }
  // More sources than cells: the fifth is left out, not wrapped onto cell 0.
  CTaskComposite task(m_engine);
  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::Two));
  int ret = 0;
  task.LoadRGB(paths, 0, ret);
  const tagRGBInfo *canvas = task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(Block(*canvas, 0, 0, 243, 360), SourceBlock(0));
}

TEST_F(TaskTest, CompositeStopsAtFailingSourceAndSavesNoMissingCanvas) {
  const std::vector<std::string> paths = Sources(3);
  CTaskComposite task(m_engine);
  int ret = -1;
  task.LoadRGB({}, 0, ret);
  EXPECT_EQ(task.GetConvertResult(), ERR_FILE_COUNT);
  task.LoadRGB({paths[0], Path("x.tga"), paths[2]}, 0, ret);
  EXPECT_EQ(task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(task.GetErrorInfo(), Path("x.tga") + res::LoadString(res::IDS_CANNOT_LOAD));
  int count = 0;
  ASSERT_NE(task.GetFilesPropety(count), nullptr);
  EXPECT_EQ(task.GetFilesPropety(count)->next, nullptr);
  // Saving with no canvas: nothing asked, written or recorded.
  ScriptedMessageBox box({platform::MessageAnswer::Yes});
  EXPECT_EQ(task.SaveRGB(paths[0], "BMP"), ERR_BAD_DATA);
  EXPECT_TRUE(box.Texts().empty());
  task.Cancel();
  EXPECT_TRUE(tasks_test::Exists(paths[0]));
}

// A source whose load gives no picture, first or further in the list, ends the composite's
// loading with that failure and the file's name, where its cell used to stay black.
TEST_F(TaskTest, CompositeFailsAtASourceWithoutPicture) {
  const std::vector<std::string> paths = Sources(3);
  for (const std::string &damaged : WriteDamagedSources()) {
    for (size_t position : {0u, 1u}) {
      SCOPED_TRACE(damaged + " at " + std::to_string(position));
      std::vector<std::string> list = paths;
      list[position] = damaged;
      CTaskComposite task(m_engine);
      task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::Two));
      int ret = 0;
      task.LoadRGB(list, 0, ret);
      EXPECT_EQ(task.GetConvertResult(), ERR_BAD_DATA);
      EXPECT_EQ(task.GetErrorInfo(), damaged + res::LoadString(res::IDS_CANNOT_LOAD));
    }
  }
}

class CompositeProgressTest : public tasks_test::ProbePluginTest {};

TEST_F(CompositeProgressTest, RisesPerSourceThenTenTwentyHundred) {
  std::vector<std::string> paths;
  for (int i = 0; i < 4; ++i) {
    Write(NumberedBmp("p", i), Picture::Pattern(64, 48));
    paths.push_back(Path(NumberedBmp("p", i)));
  }
  for (int failingSave : {0, 1}) {
    CTaskComposite task(m_engine);
    task.UpdateConvParameter(128, 96, ShiftNormal, uint32_t(CompositeMode::Two));
    Watch(task, failingSave);
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    // Seen as each load starts: 16 per further source; the last load adds the last 16 (48).
    EXPECT_EQ(s_events, (std::vector<std::string>{"L1 0", "L1 0", "L1 16", "L1 32"}));
    EXPECT_EQ(task.GetProgressStatus(), 10u);
    ASSERT_NE(task.GetRGB(0), nullptr);
    EXPECT_EQ(task.GetProgressStatus(), 20u);
    // The target reaches the disk, and then its folder, before the progress shows it done.
    test_support::SyncLog log(m_folder.Path(), [&task] { return int(task.GetProgressStatus()); });
    const std::string grid = "grid" + std::to_string(failingSave) + ".bmp";
    const int result = task.SaveRGB(Path(grid), "BMP");
    const std::vector<std::string> written = {"start tmp 20", "rename " + grid + " 20",
                                              "sync " + grid + " 20", "sync . 20"};
    EXPECT_EQ(log.Events(), failingSave ? std::vector<std::string>{} : written);
    // A failed save leaves the progress at 20 and its code as the result.
    EXPECT_EQ(result, failingSave ? ERR_FILE_WRITE : 0);
    EXPECT_EQ(task.GetConvertResult(), result);
    EXPECT_EQ(task.GetProgressStatus(), failingSave ? 20u : 100u);
  }
}

}  // namespace
