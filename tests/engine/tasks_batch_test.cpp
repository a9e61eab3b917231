// The batch task through the real plug-ins: imports at the chosen size, exports at the source's
// own size, progress, and sources that fail on the way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "engine/TaskBatch.h"
#include "tasks_test_support.h"

namespace {

using tasks_test::Exists;
using tasks_test::Picture;
using tasks_test::ScriptedMessageBox;

// Mid grey with a white first and last row, so the rows that land where show after a KDT round
// trip (whose colour conversion is not exact).
Picture Banded(uint32_t width, uint32_t height) {
  Picture p = Picture::Solid(width, height, 128, 128, 128);
  for (uint32_t c = 0; c < width; ++c) {
    for (uint32_t r : {0u, height - 1}) {
      unsigned char *px = &p.bits[(static_cast<size_t>(r) * width + c) * 3];
      px[0] = px[1] = px[2] = 255;
    }
  }
  return p;
}

// The grey level at (row, column), or -1 when the pixel is not grey within the round trip's
// tolerance.
int GreyAt(const Picture &p, uint32_t row, uint32_t column) {
  const unsigned char *px = &p.bits[(static_cast<size_t>(row) * p.width + column) * 3];
  if (std::abs(px[0] - px[1]) > 6 || std::abs(px[1] - px[2]) > 6) return -1;
  return px[1];
}
bool Near(int grey, int want) {
  return grey >= 0 && std::abs(grey - want) <= 12;
}

class BatchTaskTest : public tasks_test::RealPluginsTest {
 protected:
  CTaskBatch m_task{m_engine};
};

TEST_F(BatchTaskTest, ImportsIntoKdtTargetsOfChosenSizeWithShift) {
  Picture source = Banded(640, 480);
  Write(m_dir / "sunset.bmp", source);
  std::filesystem::create_directory(m_dir / "out");
  std::filesystem::create_directory(m_dir / "down");
  struct Case {
    uint32_t shift;
    std::string folder;
    // The grey expected at target rows 0, 1, 479, 480 in the source's columns.
    int row0, row1, row479, row480;
  } cases[] = {{ShiftNormal, m_dir / "out/", 255, 128, 255, 0},
               {ShiftDown, m_dir / "down/", 0, 255, 128, 0}};
  for (const Case &c : cases) {
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(720, 487, c.shift, static_cast<uint32_t>(CompositeMode::None));
    int ret = -1;
    task.LoadRGB({m_dir / "sunset.bmp"}, 0, ret);
    ASSERT_EQ(ret, 0);
    EXPECT_EQ(task.GetRGB(0), nullptr);
    EXPECT_EQ(task.SaveRGB(c.folder, "KDT"), 0);
    EXPECT_EQ(task.GetTargetFileName(), c.folder + "Msunset.QVEL_000.KDT");
    const Picture target = Read(c.folder + "Msunset.QVEL_000.KDT");
    ASSERT_EQ(target.width, 720u);
    ASSERT_EQ(target.height, 487u);
    for (uint32_t column : {8u, 320u, 630u}) {
      EXPECT_TRUE(Near(GreyAt(target, 0, column), c.row0)) << column;
      EXPECT_TRUE(Near(GreyAt(target, 1, column), c.row1)) << column;
      EXPECT_TRUE(Near(GreyAt(target, 479, column), c.row479)) << column;
      EXPECT_TRUE(Near(GreyAt(target, 480, column), c.row480)) << column;
    }
    for (uint32_t row : {0u, 240u, 486u}) EXPECT_TRUE(Near(GreyAt(target, row, 700), 0)) << row;
    EXPECT_EQ(task.GetProgressStatus(), 100u);
  }
}

TEST_F(BatchTaskTest, ExportsAtTheSourcesOwnSize) {
  Picture picture = Picture::Pattern(720, 487);
  Write(m_dir / "MABC.QVEL_000.KDT", picture, "KDT");
  const Picture source = Read(m_dir / "MABC.QVEL_000.KDT");
  ASSERT_EQ(source.width, 720u);
  std::filesystem::create_directory(m_dir / "out");
  // Whatever size the dialog showed, the target keeps the source's.
  m_task.UpdateConvParameter(1920, 1080, ShiftDown, static_cast<uint32_t>(CompositeMode::None));
  int ret = 0;
  m_task.LoadRGB({m_dir / "MABC.QVEL_000.KDT"}, 0, ret);
  EXPECT_EQ(m_task.SaveRGB(m_dir / "out/", "BMP"), 0);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "out/MABC.QVEL_000.BMP");
  const Picture target = Read(m_dir / "out/MABC.QVEL_000.BMP");
  ASSERT_EQ(target.width, 720u);
  ASSERT_EQ(target.height, 487u);
  // Shifted down by one row: the first row black, source row r at target row r + 1.
  const size_t row = 720 * 3;
  EXPECT_EQ(std::vector<unsigned char>(target.bits.begin(), target.bits.begin() + row),
            std::vector<unsigned char>(row, 0));
  EXPECT_TRUE(std::equal(target.bits.begin() + row, target.bits.end(), source.bits.begin()));
}

TEST_F(BatchTaskTest, FailuresOnTheWay) {
  int ret = -1;
  m_task.LoadRGB({}, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(m_task.GetConvertResult(), 0);

  // A source whose record reads but whose pixels do not: the batch ends with ERR_NO_ENGINE, the
  // targets before it stay, and the result names the file.
  Picture source = Picture::Pattern(64, 48);
  Write(m_dir / "one.bmp", source);
  Write(m_dir / "two.bmp", source);
  Write(m_dir / "three.bmp", source);
  {
    // A bit count the reader refuses: the header still gives the record and its size.
    std::FILE *f = std::fopen((m_dir / "two.bmp").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 28, SEEK_SET);
    std::fputc(32, f);
    std::fclose(f);
  }
  std::filesystem::create_directory(m_dir / "out");
  m_task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::None));
  m_task.LoadRGB({m_dir / "one.bmp", m_dir / "two.bmp", m_dir / "three.bmp"}, 0, ret);
  ASSERT_EQ(m_task.GetConvertResult(), 0);
  int count = 0;
  const tagFileInfo *head = m_task.GetFilesPropety(count);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(head->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(head->rgbInfo.width, 64u);

  EXPECT_EQ(m_task.SaveRGB(m_dir / "out/", "BMP"), ERR_NO_ENGINE);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(m_task.GetErrorInfo(), (m_dir / "two.bmp") + res::LoadString(res::IDS_CANNOT_LOAD));
  EXPECT_TRUE(Exists(m_dir / "out/one.BMP"));
  EXPECT_FALSE(Exists(m_dir / "out/three.BMP"));
  EXPECT_LT(m_task.GetProgressStatus(), 100u);

  // A record that cannot be read ends the chain at LoadRGB.
  CTaskBatch second(m_engine);
  second.LoadRGB({m_dir / "one.bmp", m_dir / "x.tga", m_dir / "three.bmp"}, 0, ret);
  EXPECT_EQ(second.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(second.GetFilesPropety(count)->next, nullptr);
}

class BatchProgressTest : public tasks_test::ProbePluginTest {
 protected:
  std::vector<std::string> Sources(int n) {
    Picture source = Picture::Pattern(32, 16);
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i) {
      paths.push_back(m_dir / ("b" + std::to_string(i) + ".bmp"));
      Write(paths.back(), source);
    }
    std::filesystem::create_directory(m_dir / "out");
    return paths;
  }
};

TEST_F(BatchProgressTest, OneSourceGoesTenFiftyFiveHundred) {
  CTaskBatch task(m_engine);
  const std::vector<std::string> paths = Sources(1);
  Watch(task);
  int ret = 0;
  task.LoadRGB(paths, 0, ret);
  EXPECT_EQ(task.GetProgressStatus(), 10u);
  EXPECT_EQ(task.SaveRGB(m_dir / "out/", "BMP"), 0);
  EXPECT_EQ(s_events, (std::vector<std::string>{"L0 0", "L1 10", "S 55"}));
  EXPECT_EQ(task.GetProgressStatus(), 100u);
}

TEST_F(BatchProgressTest, TwoSourcesRiseByTwentyTwoAndAFailedLastSaveStaysBelowHundred) {
  CTaskBatch task(m_engine);
  const std::vector<std::string> paths = Sources(2);
  Watch(task);
  int ret = 0;
  task.LoadRGB(paths, 0, ret);
  EXPECT_EQ(task.SaveRGB(m_dir / "out/", "BMP"), 0);
  EXPECT_EQ(s_events, (std::vector<std::string>{"L0 0", "L0 0", "L1 10", "S 32", "L1 54", "S 76"}));
  EXPECT_EQ(task.GetProgressStatus(), 100u);

  // The first save fails, the batch goes on; the last one fails, the progress stays at 98.
  for (int failing : {1, 2}) {
    CTaskBatch again(m_engine);
    std::filesystem::remove_all(m_dir / "out");
    std::filesystem::create_directory(m_dir / "out");
    Watch(again, failing);
    again.LoadRGB(paths, 0, ret);
    const int result = again.SaveRGB(m_dir / "out/", "BMP");
    EXPECT_EQ(result, failing == 2 ? ERR_FILE_WRITE : 0) << failing;
    EXPECT_EQ(again.GetConvertResult(), result);
    EXPECT_EQ(again.GetProgressStatus(), failing == 2 ? 98u : 100u);
    EXPECT_EQ(Exists(m_dir / "out/b1.BMP"), failing == 1);
  }
}

}  // namespace
