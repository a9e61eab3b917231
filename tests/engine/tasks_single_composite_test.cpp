// The single-file task and the composite task through the real plug-ins.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/TaskComposite.h"
#include "tasks_test_support.h"

namespace {

using tasks_test::Exists;
using tasks_test::Picture;
using tasks_test::ScriptedMessageBox;

// The rows x cols block of picture whose top left corner is (row0, col0).
std::vector<unsigned char> Block(const tagRGBInfo &picture, uint32_t row0, uint32_t col0,
                                 uint32_t rows, uint32_t cols) {
  std::vector<unsigned char> out;
  for (uint32_t r = row0; r < row0 + rows; ++r) {
    const unsigned char *from =
        picture.ptBits + (static_cast<size_t>(r) * picture.width + col0) * 3;
    out.insert(out.end(), from, from + static_cast<size_t>(cols) * 3);
  }
  return out;
}
std::vector<unsigned char> Block(Picture &picture, uint32_t row0, uint32_t col0, uint32_t rows,
                                 uint32_t cols) {
  const tagRGBInfo info = picture.Info();
  return Block(info, row0, col0, rows, cols);
}

class BasicTaskTest : public tasks_test::RealPluginsTest {};

TEST_F(BasicTaskTest, LoadsExactlyOneFile) {
  Picture source = Picture::Pattern(640, 480);
  Write(m_dir / "a.bmp", source);
  Write(m_dir / "b.bmp", source);
  CTaskBasic task(m_engine);
  int ret = -1, count = -1;

  task.LoadRGB({m_dir / "a.bmp", m_dir / "b.bmp"}, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(task.GetConvertResult(), ERR_FILE_COUNT);
  EXPECT_EQ(task.GetFilesPropety(count), nullptr);
  EXPECT_EQ(count, 2);

  task.LoadRGB({m_dir / "a.bmp"}, 0, ret);
  EXPECT_EQ(ret, 0);
  EXPECT_EQ(task.GetConvertResult(), 0);
  const tagFileInfo *record = task.GetFilesPropety(count);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(count, 1);
  EXPECT_STREQ(record->filename, (m_dir / "a.bmp").c_str());
  EXPECT_EQ(task.GetProgressStatus(), 100u);

  // A wrong count afterwards keeps the loaded record.
  task.LoadRGB({}, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(task.GetFilesPropety(count), record);

  task.LoadRGB({m_dir / "x.tga"}, 0, ret);
  EXPECT_EQ(task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(task.GetFilesPropety(count), nullptr);
  EXPECT_EQ(task.GetRGB(1), nullptr);
  EXPECT_EQ(task.GetRGB(0), nullptr);
}

TEST_F(BasicTaskTest, GetRgbGivesCopyOrCanvas) {
  Picture source = Picture::Pattern(640, 480);
  Write(m_dir / "a.bmp", source);
  CTaskBasic task(m_engine);
  int ret = 0;
  task.LoadRGB({m_dir / "a.bmp"}, 0, ret);
  int count = 0;
  const tagFileInfo *record = task.GetFilesPropety(count);
  ASSERT_NE(record, nullptr);

  tagRGBInfo *copy = task.GetRGB(1);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->width, 640u);
  EXPECT_EQ(copy->height, 480u);
  EXPECT_NE(copy->ptBits, record->rgbInfo.ptBits);
  EXPECT_EQ(std::memcmp(copy->ptBits, source.bits.data(), source.bits.size()), 0);
  EXPECT_EQ(copy->ptAlpha, nullptr);

  task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::None));
  tagRGBInfo *canvas = task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->width, 720u);
  EXPECT_EQ(canvas->height, 487u);
  EXPECT_EQ(Block(*canvas, 0, 0, 480, 640), source.bits);
  EXPECT_EQ(Block(*canvas, 0, 640, 487, 80), std::vector<unsigned char>(487 * 80 * 3, 0));
  EXPECT_EQ(Block(*canvas, 480, 0, 7, 720), std::vector<unsigned char>(7 * 720 * 3, 0));

  // The canvas saves as a target; the progress stays 100.
  ScriptedMessageBox box;
  EXPECT_EQ(task.SaveRGB(m_dir / "Ma.QVEL_000.KDT", "KDT"), 0);
  EXPECT_EQ(Read(m_dir / "Ma.QVEL_000.KDT").width, 720u);
  EXPECT_EQ(task.GetProgressStatus(), 100u);
}

class CompositeTaskTest : public tasks_test::RealPluginsTest {
 protected:
  // n sources of 720 x 487, each with its own colour offset so the cells can be told apart.
  std::vector<std::string> Sources(int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i) {
      m_sources.push_back(Picture::Pattern(720, 487));
      for (size_t b = 1; b < m_sources.back().bits.size(); b += 3)
        m_sources.back().bits[b] = static_cast<unsigned char>(m_sources.back().bits[b] + 40 * i);
      paths.push_back(m_dir / ("s" + std::to_string(i) + ".bmp"));
      Write(paths.back(), m_sources.back());
    }
    return paths;
  }
  std::vector<Picture> m_sources;
  CTaskComposite m_task{m_engine};
};

TEST_F(CompositeTaskTest, FourSourcesFillTwoByTwoGridOfOneTarget) {
  const std::vector<std::string> paths = Sources(4);
  m_task.UpdateConvParameter(720, 487, ShiftDown, static_cast<uint32_t>(CompositeMode::Two));
  int ret = -1;
  m_task.LoadRGB(paths, 0, ret);
  ASSERT_EQ(ret, 0);
  tagRGBInfo *canvas = m_task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  ASSERT_EQ(canvas->width, 720u);
  ASSERT_EQ(canvas->height, 487u);
  const uint32_t origin[4][2] = {{0, 0}, {0, 360}, {243, 0}, {243, 360}};
  for (int cell = 0; cell < 4; ++cell) {
    // The chosen ShiftDown is dropped: composites are never shifted.
    EXPECT_EQ(Block(*canvas, origin[cell][0], origin[cell][1], 243, 360),
              Block(m_sources[cell], 0, 0, 243, 360))
        << "cell " << cell;
  }
  EXPECT_EQ(Block(*canvas, 486, 0, 1, 720), std::vector<unsigned char>(720 * 3, 0));

  ScriptedMessageBox box;
  EXPECT_EQ(m_task.SaveRGB(m_dir / "Ms0.QVEL_000.KDT", "KDT"), 0);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "Ms0.QVEL_000.KDT");
  EXPECT_EQ(Read(m_dir / "Ms0.QVEL_000.KDT").height, 487u);
  EXPECT_EQ(m_task.GetProgressStatus(), 100u);
}

TEST_F(CompositeTaskTest, MissingAndSurplusSourcesOnTheGrid) {
  m_task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::Two));
  std::vector<std::string> paths = Sources(5);
  int ret = 0;
  // Three sources: cell 3 stays black.
  m_task.LoadRGB({paths[0], paths[1], paths[2]}, 0, ret);
  tagRGBInfo *canvas = m_task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(Block(*canvas, 243, 0, 243, 360), Block(m_sources[2], 0, 0, 243, 360));
  EXPECT_EQ(Block(*canvas, 243, 360, 244, 360), std::vector<unsigned char>(244 * 360 * 3, 0));
  // Five sources on four cells: the fifth is left out.
  m_task.LoadRGB(paths, 0, ret);
  int count = 0;
  EXPECT_NE(m_task.GetFilesPropety(count), nullptr);
  EXPECT_EQ(count, 5);
  canvas = m_task.GetRGB(0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(Block(*canvas, 243, 360, 243, 360), Block(m_sources[3], 0, 0, 243, 360));
}

TEST_F(CompositeTaskTest, FailingSourceEndsTheChainAndNoCanvasSavesNothing) {
  std::vector<std::string> paths = Sources(3);
  m_task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::Two));
  int ret = -1;
  m_task.LoadRGB({}, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_FILE_COUNT);

  const std::string broken = m_dir / "broken.bmp";
  std::filesystem::copy_file(paths[1], broken);
  std::filesystem::resize_file(broken, 40);
  m_task.LoadRGB({paths[0], broken, paths[2]}, 0, ret);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(m_task.GetErrorInfo(), broken + res::LoadString(res::IDS_CANNOT_LOAD));
  int count = 0;
  const tagFileInfo *head = m_task.GetFilesPropety(count);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->next, nullptr);
  EXPECT_EQ(m_task.GetProgressStatus(), 10u);

  // Saving before any canvas exists: nothing asked, written or recorded.
  ScriptedMessageBox box({platform::MessageAnswer::Yes});
  EXPECT_EQ(m_task.SaveRGB(paths[0], "BMP"), ERR_BAD_DATA);
  EXPECT_TRUE(box.Texts().empty());
  EXPECT_EQ(m_task.GetTargetFileName(), "");
  m_task.Cancel();
  EXPECT_TRUE(Exists(paths[0]));
}

class CompositeProgressTest : public tasks_test::ProbePluginTest {};

TEST_F(CompositeProgressTest, ProgressRisesPerSourceThenTenTwentyHundred) {
  Picture source = Picture::Pattern(64, 48);
  std::vector<std::string> paths;
  for (int i = 0; i < 4; ++i) {
    paths.push_back(m_dir / ("p" + std::to_string(i) + ".bmp"));
    Write(paths.back(), source);
  }
  CTaskComposite task(m_engine);
  task.UpdateConvParameter(128, 96, ShiftNormal, static_cast<uint32_t>(CompositeMode::Two));
  Watch(task);
  int ret = 0;
  task.LoadRGB(paths, 0, ret);
  // Seen before each load: the fourth source's load starts at 32 and adds the last 16 (48).
  EXPECT_EQ(s_events, (std::vector<std::string>{"L1 0", "L1 0", "L1 16", "L1 32"}));
  EXPECT_EQ(task.GetProgressStatus(), 10u);
  ASSERT_NE(task.GetRGB(0), nullptr);
  EXPECT_EQ(task.GetProgressStatus(), 20u);
  EXPECT_EQ(task.SaveRGB(m_dir / "grid.bmp", "BMP"), 0);
  EXPECT_EQ(s_events.back(), "S 20");
  EXPECT_EQ(task.GetProgressStatus(), 100u);

  // A failed save leaves the progress at 20 and its code as the result.
  CTaskComposite failing(m_engine);
  failing.UpdateConvParameter(128, 96, ShiftNormal, static_cast<uint32_t>(CompositeMode::Two));
  Watch(failing, 1);
  failing.LoadRGB({paths[0], paths[1], m_dir / "missing.bmp", paths[3]}, 0, ret);
  // The chain ends at the missing source: the fourth is never read.
  EXPECT_EQ(s_events, (std::vector<std::string>{"L1 0", "L1 0", "L1 16"}));
  EXPECT_EQ(failing.GetConvertResult(), ERR_BAD_DATA);
  ASSERT_NE(failing.GetRGB(0), nullptr);
  EXPECT_EQ(failing.SaveRGB(m_dir / "grid2.bmp", "BMP"), ERR_FILE_WRITE);
  EXPECT_EQ(failing.GetConvertResult(), ERR_FILE_WRITE);
  EXPECT_EQ(failing.GetProgressStatus(), 20u);
}

}  // namespace
