// The task base through the real plug-ins: load failures, the overwrite question and
// renumbering, the record kept for Cancel, and placing sources into grid cells.
#include <gtest/gtest.h>

#include <cstdio>

#include "tasks_test_support.h"

namespace {

using platform::MessageAnswer;
using tasks_test::Exists;
using tasks_test::OpenTask;
using tasks_test::Picture;
using tasks_test::ScriptedMessageBox;

const char kCannotLoad[] =
    " cann't be load in, the format of this file wasn't supported or the file was crashed.";
const char kAlreadyExists[] =
    "already exists,do you want to overwrite it,  click 'Yes' will overwrite it.  ";

class TaskBaseTest : public tasks_test::RealPluginsTest {
 protected:
  OpenTask m_task{m_engine};
  Picture m_small = Picture::Pattern(16, 8);
};

TEST_F(TaskBaseTest, LoadFailuresGiveBadDataAndNameTheFile) {
  for (const std::string name : {"x.tga", "readme"}) {
    const std::string path = m_dir / name;
    Write(m_dir / "x.bmp", m_small);
    std::filesystem::copy_file(m_dir / "x.bmp", path);
    int ret = -1;
    EXPECT_EQ(m_task.LoadRgb(path, 1, ret), nullptr);
    EXPECT_EQ(ret, ERR_NO_ENGINE) << name;
    EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
    EXPECT_EQ(m_task.GetErrorInfo(), path + kCannotLoad);
    std::filesystem::remove(m_dir / "x.bmp");
  }
  // A file the BMP plug-in cannot read: its code (0) stays in ret, the task reports bad data.
  const std::string broken = m_dir / "broken.bmp";
  std::FILE *f = std::fopen(broken.c_str(), "wb");
  std::fputs("not a picture", f);
  std::fclose(f);
  int ret = -1;
  EXPECT_EQ(m_task.LoadRgb(broken, 1, ret), nullptr);
  EXPECT_EQ(ret, 0);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(m_task.GetErrorInfo(), broken + kCannotLoad);

  // A load that succeeds sets the result to the plug-in's code and leaves the text alone.
  Write(m_dir / "good.bmp", m_small);
  tagFileInfo *record = m_task.LoadRgb(m_dir / "good.bmp", 1, ret);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(m_task.GetConvertResult(), 0);
  EXPECT_EQ(m_task.GetErrorInfo(), broken + kCannotLoad);
  PluginFreeFileInfo(record);
}

TEST_F(TaskBaseTest, FreeNameIsSavedWithoutQuestionAndRecorded) {
  ScriptedMessageBox box;
  tagRGBInfo info = m_small.Info();
  const std::string target = m_dir / "out.bmp";
  EXPECT_EQ(m_task.SaveRgb(target, "BMP", &info), 0);
  EXPECT_TRUE(box.Texts().empty());
  EXPECT_EQ(m_task.GetTargetFileName(), target);
  EXPECT_EQ(m_task.m_sfilesInSave, std::vector<std::string>{target});
  EXPECT_EQ(Read(target).bits, m_small.bits);

  // A failing save keeps its name recorded and makes its code the result.
  const std::string unwritable = m_dir / "no-such-folder/out.bmp";
  const int failed = m_task.SaveRgb(unwritable, "BMP", &info);
  EXPECT_NE(failed, 0);
  EXPECT_EQ(m_task.GetConvertResult(), failed);
  EXPECT_EQ(m_task.m_sfilesInSave.back(), unwritable);
}

TEST_F(TaskBaseTest, YesOverwritesFirstCollisionAndLaterOnesAreRenumbered) {
  Picture old = Picture::Solid(16, 8, 9, 9, 9);
  Write(m_dir / "Mabc.QVEL_000.BMP", old);
  Write(m_dir / "Mxyz.QVEL_000.BMP", old);
  ScriptedMessageBox box({MessageAnswer::Yes, MessageAnswer::Yes});
  tagRGBInfo info = m_small.Info();

  EXPECT_EQ(m_task.SaveRgb(m_dir / "Mabc.QVEL_000.BMP", "BMP", &info), 0);
  ASSERT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(box.Texts()[0], (m_dir / "Mabc.QVEL_000.BMP") + " " + kAlreadyExists);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "Mabc.QVEL_000.BMP");
  EXPECT_EQ(Read(m_dir / "Mabc.QVEL_000.BMP").bits, m_small.bits);

  // The question is asked once per task: the second collision is renumbered without one.
  EXPECT_EQ(m_task.SaveRgb(m_dir / "Mxyz.QVEL_000.BMP", "BMP", &info), 0);
  EXPECT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "Mxyz.QVEL_001.BMP");
  EXPECT_EQ(Read(m_dir / "Mxyz.QVEL_000.BMP").bits, old.bits);
}

TEST_F(TaskBaseTest, NoAndEveryLaterCollisionRenumber) {
  ScriptedMessageBox box({MessageAnswer::No});
  tagRGBInfo info = m_small.Info();
  const std::string first = m_dir / "Mabc.QVEL_000.KDT";
  Picture full = Picture::Pattern(720, 487);
  Write(first, full, "KDT");

  tagRGBInfo fullInfo = full.Info();
  EXPECT_EQ(m_task.SaveRgb(first, "KDT", &fullInfo), 0);
  EXPECT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "Mabc.QVEL_001.KDT");
  EXPECT_TRUE(Exists(m_dir / "Mabc.QVEL_001.KDT"));
  // With 000 and 001 present the next save of the same name goes to 002, with no question.
  EXPECT_EQ(m_task.SaveRgb(first, "KDT", &fullInfo), 0);
  EXPECT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "Mabc.QVEL_002.KDT");

  // Other names: the three characters before the dot are the number (non-digits count as 0)
  // and the format becomes the extension; shorter names get the number after the stem, so
  // the folder is never touched.
  struct Case {
    std::string existing, expected;
  } cases[] = {{"photo.bmp", "ph001.BMP"},
               {"ab.bmp", "ab001.BMP"},
               {"readme", "readme001.BMP"},
               {"a.b.x9.bmp", "a.b001.BMP"}};
  for (const Case &c : cases) {
    Write(m_dir / c.existing, m_small);
    EXPECT_EQ(m_task.SaveRgb(m_dir / c.existing, "BMP", &info), 0) << c.existing;
    EXPECT_EQ(m_task.GetTargetFileName(), m_dir / c.expected);
    EXPECT_TRUE(Exists(m_dir / c.expected)) << c.expected;
  }
  std::filesystem::create_directory(m_dir / "x.d");
  Write(m_dir / "x.d/ab", m_small);
  EXPECT_EQ(m_task.SaveRgb(m_dir / "x.d/ab", "BMP", &info), 0);
  EXPECT_EQ(m_task.GetTargetFileName(), m_dir / "x.d/ab001.BMP");
}

TEST_F(TaskBaseTest, CancelDeletesEveryRecordedFileIncludingKeyCompanion) {
  ScriptedMessageBox box({MessageAnswer::Yes});
  Picture keyed = Picture::Pattern(720, 487);
  keyed.alpha.assign(720 * 487, 0x80);
  tagRGBInfo keyedInfo = keyed.Info();
  const std::string picture = m_dir / "Mabc.QVEL_000.KDT";
  const std::string key = m_dir / "Sabc.QVEL_000.KDT";
  EXPECT_EQ(m_task.SaveRgb(picture, "KDT", &keyedInfo), 0);
  EXPECT_EQ(m_task.m_sfilesInSave, (std::vector<std::string>{picture, key}));
  EXPECT_TRUE(Exists(picture));
  EXPECT_TRUE(Exists(key));

  // An existing file overwritten after Yes is one the task wrote: Cancel deletes it too.
  Picture old = Picture::Solid(16, 8, 1, 2, 3);
  Write(m_dir / "kept.bmp", old);
  Write(m_dir / "over.bmp", old);
  Picture other = Picture::Solid(16, 8, 4, 5, 6);
  tagRGBInfo otherInfo = other.Info();
  OpenTask second(m_engine);
  EXPECT_EQ(second.SaveRgb(m_dir / "over.bmp", "BMP", &otherInfo), 0);
  EXPECT_EQ(second.SaveRgb(m_dir / "new.bmp", "BMP", &otherInfo), 0);

  std::filesystem::remove(key);  // gone already: skipped
  m_task.Cancel();
  second.Cancel();
  EXPECT_FALSE(Exists(picture));
  EXPECT_FALSE(Exists(m_dir / "over.bmp"));
  EXPECT_FALSE(Exists(m_dir / "new.bmp"));
  EXPECT_TRUE(Exists(m_dir / "kept.bmp"));
  // The record stays: a second Cancel finds nothing left and does no harm.
  EXPECT_EQ(m_task.m_sfilesInSave.size(), 2u);
  m_task.Cancel();
  OpenTask idle(m_engine);
  idle.Cancel();
  EXPECT_TRUE(Exists(m_dir / "kept.bmp"));
}

TEST_F(TaskBaseTest, SavingNoPictureTouchesNothing) {
  ScriptedMessageBox box({MessageAnswer::Yes});
  Write(m_dir / "existing.bmp", m_small);
  tagRGBInfo noPixels = m_small.Info();
  noPixels.ptBits = nullptr;
  for (tagRGBInfo *picture : {static_cast<tagRGBInfo *>(nullptr), &noPixels}) {
    EXPECT_EQ(m_task.SaveRgb(m_dir / "existing.bmp", "BMP", picture), ERR_BAD_DATA);
    EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  }
  EXPECT_TRUE(box.Texts().empty());
  EXPECT_TRUE(m_task.m_sfilesInSave.empty());
  EXPECT_EQ(m_task.GetTargetFileName(), "");
  m_task.Cancel();
  EXPECT_EQ(Read(m_dir / "existing.bmp").bits, m_small.bits);
}

// Checks that the canvas holds source rows from srcRow0 on at canvas rows [row0, row0 + rows),
// columns [col0, col0 + cols), and black everywhere else.
void ExpectPlacement(const tagRGBInfo &canvas, const Picture &source, uint32_t row0, uint32_t col0,
                     uint32_t rows, uint32_t cols, uint32_t srcRow0) {
  uint64_t wrong = 0;
  for (uint32_t r = 0; r < canvas.height; ++r) {
    for (uint32_t c = 0; c < canvas.width; ++c) {
      const unsigned char *px = canvas.ptBits + (static_cast<size_t>(r) * canvas.width + c) * 3;
      const bool inside = r >= row0 && r < row0 + rows && c >= col0 && c < col0 + cols;
      if (inside) {
        const uint32_t sr = r - row0 + srcRow0, sc = c - col0;
        const unsigned char *want = &source.bits[(static_cast<size_t>(sr) * source.width + sc) * 3];
        wrong += px[0] != want[0] || px[1] != want[1] || px[2] != want[2];
      } else {
        wrong += px[0] != 0 || px[1] != 0 || px[2] != 0;
      }
    }
  }
  EXPECT_EQ(wrong, 0u) << "rows " << row0 << "+" << rows << " cols " << col0 << "+" << cols;
}

TEST_F(TaskBaseTest, CramPlacesCroppedShiftedSourceIntoGridCells) {
  m_task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::Two));
  EXPECT_EQ(m_task.m_uiCompositeMode, 2u);
  Picture source = Picture::Pattern(640, 480);
  tagRGBInfo sourceInfo = source.Info();
  struct Case {
    uint32_t shift, row0, rows, srcRow0;
  } shifts[] = {{ShiftNormal, 243, 243, 0}, {ShiftDown, 244, 242, 0}, {ShiftUp, 243, 243, 1}};
  for (const Case &c : shifts) {
    m_task.m_uiShiftMode = c.shift;
    tagRGBInfo *canvas = OpenTask::NewPicture(sourceInfo, 720, 487);
    m_task.CramRgbIntoConvass(canvas, &sourceInfo, 3);
    ExpectPlacement(*canvas, source, c.row0, 360, c.rows, 360, c.srcRow0);
    OpenTask::DeletePicture(canvas);
  }
  // Cells are numbered row by row from the top left.
  m_task.m_uiShiftMode = ShiftNormal;
  const uint32_t origin[4][2] = {{0, 0}, {0, 360}, {243, 0}, {243, 360}};
  for (int cell = 0; cell < 4; ++cell) {
    tagRGBInfo *canvas = OpenTask::NewPicture(sourceInfo, 720, 487);
    m_task.CramRgbIntoConvass(canvas, &sourceInfo, cell);
    ExpectPlacement(*canvas, source, origin[cell][0], origin[cell][1], 243, 360, 0);
    OpenTask::DeletePicture(canvas);
  }
  // A cell outside the grid, or a canvas not of the task's size, is left alone.
  tagRGBInfo *canvas = OpenTask::NewPicture(sourceInfo, 720, 487);
  m_task.CramRgbIntoConvass(canvas, &sourceInfo, 4);
  ExpectPlacement(*canvas, source, 0, 0, 0, 0, 0);
  OpenTask::DeletePicture(canvas);
  canvas = OpenTask::NewPicture(sourceInfo, 100, 100);
  m_task.CramRgbIntoConvass(canvas, &sourceInfo, 0);
  ExpectPlacement(*canvas, source, 0, 0, 0, 0, 0);
  OpenTask::DeletePicture(canvas);

  // One cell, a source smaller than the canvas: it sits in the top left corner.
  m_task.UpdateConvParameter(720, 487, ShiftDown, static_cast<uint32_t>(CompositeMode::None));
  Picture small = Picture::Pattern(100, 50);
  tagRGBInfo smallInfo = small.Info();
  canvas = OpenTask::NewPicture(smallInfo, 720, 487);
  m_task.CramRgbIntoConvass(canvas, &smallInfo, 0);
  ExpectPlacement(*canvas, small, 1, 0, 49, 100, 0);
  OpenTask::DeletePicture(canvas);
}

TEST_F(TaskBaseTest, UpdateConvParameterStoresCellsPerSide) {
  m_task.UpdateConvParameter(720, 487, 1, 3);
  EXPECT_EQ(m_task.m_uiObjectWidth, 720u);
  EXPECT_EQ(m_task.m_uiObjectHeight, 487u);
  EXPECT_EQ(m_task.m_uiShiftMode, static_cast<uint32_t>(ShiftNormal));
  EXPECT_EQ(m_task.m_uiCompositeMode, 4u);
}

}  // namespace
