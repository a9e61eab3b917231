// The task base through the real plug-ins: load failures, the overwrite question and
// renumbering, the record kept for Cancel, placing sources into grid cells, and pictures too
// large to allocate.
#include <gtest/gtest.h>

#include <memory>

#include "engine/TaskBatch.h"
#include "engine/TaskComposite.h"
#include "engine/TaskModeConv.h"
#include "tests/engine/TasksTestSupport.h"

namespace {

using tasks_test::Exists;
using tasks_test::MessageAnswer;
using tasks_test::OpenTask;
using tasks_test::Picture;
using tasks_test::ScriptedMessageBox;

const std::string kCannotLoad =
    " cann't be load in, the format of this file wasn't supported or the file was crashed.";

class TaskBaseTest : public tasks_test::RealPluginsTest {
 protected:
  OpenTask m_task{m_engine};
  Picture m_small = Picture::Pattern(16, 8);
  Picture m_full = Picture::Pattern(720, 487);
};

TEST_F(TaskBaseTest, FailedLoadsNameTheFile) {
  // No plug-in serves the file: no record, ERR_BAD_DATA, the host's code in ret.
  int ret = -1;
  EXPECT_EQ(m_task.LoadRgb(Path("x.tga"), 1, ret), nullptr);
  EXPECT_EQ(ret, ERR_NO_ENGINE);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(m_task.GetErrorInfo(), Path("x.tga") + kCannotLoad);
  // The KDT plug-in answers a file it cannot open with a record and 10001.
  tagFileInfo *info = m_task.LoadRgb(Path("missing.KDT"), 1, ret);
  ASSERT_NE(info, nullptr);
  PluginFreeFileInfo(info);
  EXPECT_EQ(ret, ERR_FILE_OPEN);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_FILE_OPEN);
  EXPECT_EQ(m_task.GetErrorInfo(), Path("missing.KDT") + kCannotLoad);
  // A path too long for a record is refused as such: the file is not called damaged.
  const std::string tooLong = Path("M" + std::string(kFileNameSize, 'x') + ".KDT");
  EXPECT_EQ(m_task.LoadRgb(tooLong, 1, ret), nullptr);
  EXPECT_EQ(ret, ERR_FILE_OPEN);
  EXPECT_EQ(m_task.GetErrorInfo(),
            tooLong + " can not be loaded: its path is too long (259 characters at most).");
}

TEST_F(TaskBaseTest, QuestionIsAskedOncePerTaskAndYesOverwrites) {
  Write("Mabc.QVEL_000.BMP", Picture::Solid(16, 8, 9));
  Write("Mxyz.QVEL_000.BMP", Picture::Solid(16, 8, 9));
  ScriptedMessageBox box({MessageAnswer::Yes, MessageAnswer::Yes});
  tagRGBInfo info = m_small.Info();
  EXPECT_EQ(m_task.SaveRgb(Path("free.bmp"), "BMP", &info), 0);  // free: no question
  EXPECT_TRUE(box.Texts().empty());
  EXPECT_EQ(m_task.SaveRgb(Path("Mabc.QVEL_000.BMP"), "BMP", &info), 0);
  ASSERT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(box.Texts()[0], Path("Mabc.QVEL_000.BMP") +
                                " already exists,do you want to overwrite it,  click 'Yes' will "
                                "overwrite it.  ");
  EXPECT_EQ(Read("Mabc.QVEL_000.BMP").bits, m_small.bits);
  // Later collisions of the same task are renumbered without a question.
  EXPECT_EQ(m_task.SaveRgb(Path("Mxyz.QVEL_000.BMP"), "BMP", &info), 0);
  EXPECT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(m_task.GetTargetFileName(), Path("Mxyz.QVEL_001.BMP"));
  EXPECT_EQ(Read("Mxyz.QVEL_000.BMP").bits, Picture::Solid(16, 8, 9).bits);
  // The replaced file is not recorded for deletion: Cancel would give its old content back.
  EXPECT_EQ(m_task.m_sfilesInSave,
            (std::vector<std::string>{Path("free.bmp"), Path("Mxyz.QVEL_001.BMP")}));
}

TEST_F(TaskBaseTest, NoRenumbersInTheFileNameOnly) {
  ScriptedMessageBox box({MessageAnswer::No});
  Write("Mabc.QVEL_000.KDT", m_full, "KDT");
  tagRGBInfo full = m_full.Info();
  EXPECT_EQ(m_task.SaveRgb(Path("Mabc.QVEL_000.KDT"), "KDT", &full), 0);
  EXPECT_EQ(m_task.GetTargetFileName(), Path("Mabc.QVEL_001.KDT"));
  EXPECT_EQ(m_task.SaveRgb(Path("Mabc.QVEL_000.KDT"), "KDT", &full), 0);
  EXPECT_EQ(m_task.GetTargetFileName(), Path("Mabc.QVEL_002.KDT"));
  EXPECT_TRUE(Exists(Path("Mabc.QVEL_002.KDT")));
  EXPECT_EQ(box.Texts().size(), 1u);
  // Non-digits count as 0, a name of three characters before its dot is all number; shorter
  // names and names without a dot keep their folder.
  std::filesystem::create_directory(Path("x.d"));
  tagRGBInfo info = m_small.Info();
  for (auto [existing, renamed] : {std::pair{"photo.bmp", "ph001.BMP"},
                                   {"abc.bmp", "001.BMP"},
                                   {"ab.bmp", "ab001.BMP"},
                                   {"x.d/ab", "x.d/ab001.BMP"}}) {
    Write(existing, m_small);
    EXPECT_EQ(m_task.SaveRgb(Path(existing), "BMP", &info), 0);
    EXPECT_EQ(m_task.GetTargetFileName(), Path(renamed));
    EXPECT_TRUE(Exists(Path(renamed))) << renamed;
  }
}

TEST_F(TaskBaseTest, CancelDeletesWhatWasRecordedKeyCompanionIncluded) {
  m_full.alpha.assign(720 * 487, 0x80);
  tagRGBInfo keyed = m_full.Info();
  EXPECT_EQ(m_task.SaveRgb(Path("Mabc.QVEL_000.KDT"), "KDT", &keyed), 0);
  EXPECT_EQ(m_task.m_sfilesInSave,
            (std::vector<std::string>{Path("Mabc.QVEL_000.KDT"), Path("Sabc.QVEL_000.KDT")}));
  EXPECT_TRUE(Exists(Path("Sabc.QVEL_000.KDT")));
  // No picture: refused before anything is asked, recorded or written.
  ScriptedMessageBox box({MessageAnswer::Yes});
  Write("kept.bmp", m_small);
  EXPECT_EQ(m_task.SaveRgb(Path("kept.bmp"), "BMP", nullptr), ERR_BAD_DATA);
  EXPECT_EQ(m_task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_TRUE(box.Texts().empty());

  std::filesystem::remove(Path("Sabc.QVEL_000.KDT"));  // gone already: skipped
  m_task.Cancel();
  EXPECT_FALSE(Exists(Path("Mabc.QVEL_000.KDT")));
  EXPECT_TRUE(Exists(Path("kept.bmp")));
  m_task.Cancel();  // the record stays; nothing is left to delete
  EXPECT_EQ(m_task.m_sfilesInSave.size(), 2u);
}

// Cancel removes only what the task created or changed. A save that the KDT plug-in refuses
// (a name outside the device scheme) touches no file: the existing file and its key companion's
// namesake stay as they were, and a free name stays off the record. A file replaced after Yes
// is put back, and its new key companion deleted.
TEST_F(TaskBaseTest, CancelDeletesOnlyFilesThisTaskCreatedOrChanged) {
  const std::vector<unsigned char> mine = {'m', 'i', 'n', 'e'};
  test_support::WriteWholeFile(Path("photo.KDT"), mine);
  test_support::WriteWholeFile(Path("Shoto.KDT"), mine);
  ScriptedMessageBox box({MessageAnswer::Yes, MessageAnswer::Yes});
  m_full.alpha.assign(720 * 487, 0x80);
  tagRGBInfo keyed = m_full.Info();
  EXPECT_EQ(m_task.SaveRgb(Path("photo.KDT"), "KDT", &keyed), ERR_FILE_WRITE);
  EXPECT_EQ(box.Texts().size(), 1u);
  EXPECT_EQ(m_task.SaveRgb(Path("fresh.KDT"), "KDT", &keyed), ERR_FILE_WRITE);
  EXPECT_TRUE(m_task.m_sfilesInSave.empty());
  m_task.Cancel();
  EXPECT_EQ(test_support::ReadWholeFile(Path("photo.KDT")), mine);
  EXPECT_EQ(test_support::ReadWholeFile(Path("Shoto.KDT")), mine);

  Write("Mabc.QVEL_000.KDT", Picture::Solid(720, 487, 9), "KDT");
  OpenTask other(m_engine);
  tagRGBInfo full = m_full.Info();
  EXPECT_EQ(other.SaveRgb(Path("Mabc.QVEL_000.KDT"), "KDT", &full), 0);
  EXPECT_EQ(box.Texts().size(), 2u);
  other.Cancel();
  EXPECT_TRUE(Exists(Path("Mabc.QVEL_000.KDT")));
  EXPECT_FALSE(Exists(Path("Sabc.QVEL_000.KDT")));
  for (const std::string &name : tasks_test::FilesIn(Path(""))) EXPECT_NE(name[0], '.') << name;
}

// Checks that the canvas holds the source from source row srcRow0 at canvas rows
// [row0, row0 + rows) and columns [col0, col0 + cols), and black everywhere else.
void ExpectPlacement(const tagRGBInfo &canvas, const Picture &source, uint32_t row0, uint32_t col0,
                     uint32_t rows, uint32_t cols, uint32_t srcRow0) {
  uint64_t wrong = 0;
  for (uint32_t r = 0; r < canvas.height; ++r) {
    for (uint32_t c = 0; c < canvas.width; ++c) {
      const unsigned char *px = canvas.ptBits + (size_t{r} * canvas.width + c) * 3;
      const bool inside = r >= row0 && r < row0 + rows && c >= col0 && c < col0 + cols;
      const unsigned char *want =
          inside ? &source.bits[(size_t{r - row0 + srcRow0} * source.width + c - col0) * 3]
                 : nullptr;
      for (int i = 0; i < 3; ++i) wrong += px[i] != (want ? want[i] : 0);
    }
  }
  EXPECT_EQ(wrong, 0u) << "rows " << row0 << "+" << rows << " cols " << col0 << "+" << cols;
}

TEST_F(TaskBaseTest, CramPlacesCroppedShiftedSourceIntoGridCells) {
  m_task.UpdateConvParameter(720, 487, 1, 3);
  EXPECT_EQ(m_task.m_uiObjectWidth, 720u);
  EXPECT_EQ(m_task.m_uiObjectHeight, 487u);
  EXPECT_EQ(m_task.m_uiShiftMode, uint32_t{ShiftNormal});
  EXPECT_EQ(m_task.m_uiCompositeMode, 4u);

  m_task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::Two));
  Picture source = Picture::Pattern(640, 480);
  tagRGBInfo sourceInfo = source.Info();
  struct Case {
    uint32_t shift, cell, row0, col0, rows, srcRow0;
  } cases[] = {{ShiftNormal, 3, 243, 360, 243, 0}, {ShiftDown, 3, 244, 360, 242, 0},
               {ShiftUp, 3, 243, 360, 243, 1},     {ShiftNormal, 0, 0, 0, 243, 0},
               {ShiftNormal, 1, 0, 360, 243, 0},   {ShiftNormal, 2, 243, 0, 243, 0}};
  for (const Case &c : cases) {
    m_task.m_uiShiftMode = c.shift;
    tagRGBInfo *canvas = OpenTask::NewPicture(sourceInfo, 720, 487);
    m_task.CramRgbIntoConvass(canvas, &sourceInfo, static_cast<int>(c.cell));
    ExpectPlacement(*canvas, source, c.row0, c.col0, c.rows, 360, c.srcRow0);
    OpenTask::DeletePicture(canvas);
  }
  // One cell, a source smaller than the canvas, shifted down.
  m_task.UpdateConvParameter(720, 487, ShiftDown, uint32_t(CompositeMode::None));
  Picture small = Picture::Pattern(100, 50);
  tagRGBInfo smallInfo = small.Info();
  tagRGBInfo *canvas = OpenTask::NewPicture(smallInfo, 720, 487);
  m_task.CramRgbIntoConvass(canvas, &smallInfo, 0);
  ExpectPlacement(*canvas, small, 1, 0, 49, 100, 0);
  OpenTask::DeletePicture(canvas);
  // Shifted up, the source is read from its second row: 49 rows, never one past its last.
  m_task.m_uiShiftMode = ShiftUp;
  canvas = OpenTask::NewPicture(smallInfo, 720, 487);
  m_task.CramRgbIntoConvass(canvas, &smallInfo, 0);
  ExpectPlacement(*canvas, small, 0, 0, 49, 100, 1);
  OpenTask::DeletePicture(canvas);
}

class NoMemoryTest : public tasks_test::ProbePluginTest {
 protected:
  static bool SaysMemory(const CTaskBaseClass &task, const std::string &source) {
    const std::string text = task.GetErrorInfo();
    return text.rfind(source, 0) == 0 && text.find("memory") != std::string::npos;
  }
};

// Pictures whose byte count is beyond what a task allocates are refused as no memory, never
// allocated short: a canvas whose width x height x 3 wraps 64 bits (to 455384 bytes, with rows
// 7 GB apart) in each task that builds one, and a source that claims 2^31 x 2^31 pixels in the
// field-exchange task. The result is 11000 and the error text names the source and memory.
TEST_F(NoMemoryTest, PicturesBeyondTheSizeLimitGiveNoMemory) {
  constexpr uint32_t kWrapW = 2479381740u, kWrapH = 2480019350u;
  Write("s.bmp", Picture::Pattern(16, 8));
  const std::string source = Path("s.bmp");
  int ret = 0;

  CTaskBasic basic(m_engine);
  basic.UpdateConvParameter(kWrapW, kWrapH, ShiftNormal, uint32_t(CompositeMode::None));
  basic.LoadRGB({source}, 0, ret);
  EXPECT_EQ(basic.GetRGB(0), nullptr);
  EXPECT_EQ(basic.GetConvertResult(), ERR_NO_MEMORY);
  EXPECT_TRUE(SaysMemory(basic, source)) << basic.GetErrorInfo();

  CTaskComposite composite(m_engine);
  composite.UpdateConvParameter(kWrapW, kWrapH, ShiftNormal, uint32_t(CompositeMode::Two));
  composite.LoadRGB({source, source}, 0, ret);
  EXPECT_EQ(composite.GetRGB(0), nullptr);
  EXPECT_EQ(composite.GetConvertResult(), ERR_NO_MEMORY);
  EXPECT_TRUE(SaysMemory(composite, source)) << composite.GetErrorInfo();

  CTaskBatch batch(m_engine);
  batch.UpdateConvParameter(kWrapW, kWrapH, ShiftNormal, uint32_t(CompositeMode::None));
  std::filesystem::create_directory(Path("out"));
  batch.LoadRGB({source}, 0, ret);
  EXPECT_EQ(batch.SaveRGB(Path("out/"), "KDT"), ERR_NO_MEMORY);
  EXPECT_EQ(batch.GetConvertResult(), ERR_NO_MEMORY);
  EXPECT_TRUE(SaysMemory(batch, source)) << batch.GetErrorInfo();
  EXPECT_TRUE(std::filesystem::is_empty(Path("out")));

  s_onLoad = [](tagFileInfo *record) {
    if (record != nullptr) record->rgbInfo.width = record->rgbInfo.height = 1u << 31;
  };
  CTaskModeConv still(m_engine);
  still.LoadRGB({source}, 0, ret);
  still.GetYUVDataSrc(2);
  EXPECT_EQ(still.GetConvertResult(), ERR_NO_MEMORY);
  EXPECT_TRUE(SaysMemory(still, source)) << still.GetErrorInfo();
}

// A plug-in's record whose buffers do not hold the size it claims is refused where it comes back
// from the host, before any pixel is read: on every road it is a load failure naming the file,
// nothing is written and nothing succeeds. Sizes beyond the largest picture (which used to crash
// an import, or write a still of stray heap bytes) and sizes within it over a short heap block;
// a key plane short of its claim; pixels missing under a claimed size. Once from a plug-in that
// answers a load without pixels honestly (so the batch reaches its full loads), once from one
// that gives the same record to every load.
TEST_F(NoMemoryTest, RecordsClaimingMoreThanTheyHoldFailTheLoadOnEveryRoad) {
  struct Claim {
    const char *what;
    uint32_t width, height;
    size_t pixelBytes, keyBytes;  // 0: none
  } const claims[] = {
      {"100000 x 100000 over 16 bytes", 100000, 100000, 16, 0},
      {"65536 x 65536 over 16 bytes", 65536, 65536, 16, 0},
      {"0x55555556 x 1 over 16 bytes", 0x55555556u, 1, 16, 0},
      {"1000 x 1000 over 16 bytes", 1000, 1000, 16, 0},
      {"64 x 48 with a key plane of 16 bytes", 64, 48, 64 * 48 * 3, 16},
      {"100000 x 100000 without pixels, key of 16 bytes", 100000, 100000, 0, 16},
  };
  Write("s.bmp", Picture::Pattern(64, 48));
  const std::string source = Path("s.bmp");
  const std::string out = Path("out/");
  enum Road { Batch, Composite, Still, Review };
  for (const bool everyLoad : {false, true}) {
    for (const Claim &claim : claims) {
      s_onLoad = [&claim, everyLoad](tagFileInfo *record) {
        if (record == nullptr || (record->rgbInfo.ptBits == nullptr && !everyLoad)) return;
        tagRGBInfo &picture = record->rgbInfo;
        PluginFree(picture.ptBits);
        picture.width = claim.width;
        picture.height = claim.height;
        picture.ptBits = claim.pixelBytes
                             ? static_cast<unsigned char *>(PluginAlloc(claim.pixelBytes))
                             : nullptr;
        picture.ptAlpha =
            claim.keyBytes ? static_cast<unsigned char *>(PluginAlloc(claim.keyBytes)) : nullptr;
      };
      for (const Road road : {Batch, Composite, Still, Review}) {
        // The field exchange loads records only: an honest plug-in's answer is not changed.
        if (road == Still && !everyLoad) continue;
        SCOPED_TRACE(std::string(claim.what) + (everyLoad ? ", every load" : ", full loads") +
                     ", road " + std::to_string(road));
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
        std::unique_ptr<CTaskBaseClass> task;
        int ret = 0;
        // Each step as the workflows take it: the next only while the result is 0.
        auto next = [&task] { return task->GetConvertResult() == 0; };
        if (road == Batch || road == Composite) {
          if (road == Batch) task = std::make_unique<CTaskBatch>(m_engine);
          if (road == Composite) task = std::make_unique<CTaskComposite>(m_engine);
          task->UpdateConvParameter(
              720, 487, ShiftNormal,
              uint32_t(road == Batch ? CompositeMode::None : CompositeMode::Two));
          task->LoadRGB(road == Batch ? std::vector{source} : std::vector{source, source}, 0, ret);
          if (next()) task->GetRGB(0);
          if (next()) task->SaveRGB(road == Batch ? out : out + "Mgrid.QVEL_000.KDT", "KDT");
        } else if (road == Still) {
          task = std::make_unique<CTaskModeConv>(m_engine);
          task->LoadRGB({source}, 0, ret);
          if (next()) task->GetYUVDataSrc(2);
          if (next()) task->SaveRGB(out, "KDT");
        } else {
          task = std::make_unique<CTaskBasic>(m_engine);
          task->LoadRGB({source}, 0, ret);
          EXPECT_EQ(task->GetRGB(1), nullptr);
          EXPECT_EQ(task->GetRGB(0), nullptr);
        }
        EXPECT_EQ(task->GetConvertResult(), ERR_BAD_DATA);
        EXPECT_EQ(task->GetErrorInfo(), source + kCannotLoad);
        if (road != Review) {  // the preview's progress is always 100
          EXPECT_LT(task->GetProgressStatus(), 100u);
        }
        task->Cancel();
        task.reset();
        EXPECT_TRUE(std::filesystem::is_empty(out));
      }
    }
  }
}

}  // namespace
