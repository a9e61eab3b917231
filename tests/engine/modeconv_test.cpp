// The field-exchange task on real KDT files: still mode and animation mode through the real
// plug-ins, targets read back with the KDT reader and decoded line by line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/res/Strings.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskModeConv.h"
#include "tests/engine/ModeConvFiles.h"

using namespace modeconv_test;

namespace {

const char kProgressiveRefused[] = "1280 X 720 is not supportted!";
const char kSizesDiffer[] = "The image's size is different, it is not supportted!";

struct Outcome {
  int ret = -1;
  int result = -1;
  unsigned progress = 0;
  int saved = -1;  // SaveRGB's result; -1 when the workflow does not reach it
  std::string error;
};

// Still mode as the workflow drives it: the exchange and the save only while the result is 0.
Outcome RunStill(CImageFileEngine &engine, const std::string &file, const std::string &folder,
                 int opt) {
  CTaskModeConv task(engine);
  Outcome run;
  task.LoadRGB({file}, 0, run.ret);
  if (task.GetConvertResult() == 0) {
    task.GetYUVDataSrc(opt);
    run.saved = task.SaveRGB(folder, "KDT");
  }
  run.result = task.GetConvertResult();
  run.progress = task.GetProgressStatus();
  run.error = task.GetErrorInfo();
  return run;
}

Outcome RunSequence(CTaskModeConv &task, const std::vector<std::string> &files,
                    const std::string &folder, int opt) {
  Outcome run;
  task.LoadAllRGB(files, 0, run.ret, folder, "KDT", opt);
  run.result = task.GetConvertResult();
  run.progress = task.GetProgressStatus();
  run.error = task.GetErrorInfo();
  return run;
}

Outcome RunSequence(CImageFileEngine &engine, const std::vector<std::string> &files,
                    const std::string &folder, int opt) {
  CTaskModeConv task(engine);
  return RunSequence(task, files, folder, opt);
}

std::vector<unsigned char> Plane(const std::vector<unsigned char> &body, int form, int plane) {
  const size_t bytes = FormatOf(form).planeBytes;
  return std::vector<unsigned char>(body.begin() + plane * bytes,
                                    body.begin() + (plane + 1) * bytes);
}

// Rows of `target` that differ from the row of `source` the mapping names (-1: not checked).
template <typename RowOf>
std::vector<int> RowsNotFrom(const Frame &target, const Frame &source, RowOf rowOf) {
  std::vector<int> wrong;
  for (int row = 0; row < target.height; ++row) {
    const int from = rowOf(row);
    if (from >= 0 && target.Line(row) != source.Line(from)) wrong.push_back(row);
  }
  return wrong;
}

const std::vector<int> kNone;

std::string CannotLoad(const std::string &path) {
  return path + res::LoadString(res::IDS_CANNOT_LOAD);
}

void DamageBody(const std::string &path) {
  FILE *fp = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(fp, nullptr);
  std::fseek(fp, 64 + 1000, SEEK_SET);
  const int byte = std::fgetc(fp);
  std::fseek(fp, 64 + 1000, SEEK_SET);
  std::fputc(byte ^ 0x10, fp);
  std::fclose(fp);
}

class ModeConvTest : public ::testing::Test {
 protected:
  void SetUp() override { engine.Initialization(QUENDA_PLUGIN_DIR); }

  // Writes a sequence of KDT files of the given forms, named Mseq.QVEL_001.KDT and on, with
  // bodies from seeds 1, 2, ...
  std::vector<std::string> WriteSequence(const std::vector<int> &forms) {
    std::vector<std::string> files;
    for (size_t i = 0; i < forms.size(); ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "Mseq.QVEL_%03zu.KDT", i + 1);
      files.push_back(sources.path() + name);
      bodies.push_back(RandomBody(forms[i], static_cast<uint32_t>(i + 1)));
      WriteKdt(files.back(), forms[i], bodies.back(), static_cast<uint16_t>(i + 1));
    }
    return files;
  }

  CImageFileEngine engine;
  RecordedMessages messages;
  TempFolder sources;
  TempFolder targets;
  std::vector<std::vector<unsigned char>> bodies;
};

// ---------------------------------------------------------------------------------------------
// Still mode

class StillModeTest : public ModeConvTest, public ::testing::WithParamInterface<int> {};

TEST_P(StillModeTest, ExchangesFieldsKeepsNamesAndReplacesTarget) {
  const int form = GetParam();
  const std::string name = "Mstill.QVEL_042.KDT";
  const std::string source = sources.path() + name;
  const std::vector<unsigned char> body = RandomBody(form, 99);
  WriteKdt(source, form, body, 42);
  {
    FILE *stale = std::fopen((targets.path() + name).c_str(), "wb");
    ASSERT_NE(stale, nullptr);
    std::fputs("an older file of the target's name", stale);
    std::fclose(stale);
  }

  const Outcome run = RunStill(engine, source, targets.path(), 2);
  EXPECT_EQ(run.ret, 0);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.saved, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_TRUE(messages.texts().empty()) << "replaced without a question";

  const KdtFile target = ReadKdt(targets.path() + name);
  ASSERT_EQ(target.result, 1) << "a valid KDT file with a valid checksum";
  const KdtFile original = ReadKdt(source);
  EXPECT_EQ(0, std::memcmp(target.header.kdtFlagName, original.header.kdtFlagName, 12));
  EXPECT_EQ(0, std::memcmp(target.header.kdtRegisterName, original.header.kdtRegisterName, 8));
  EXPECT_EQ(target.header.kdtLogin, original.header.kdtLogin);

  // Frame lines 2k and 2k + 1 change places; in 720 x 487 the last line of field 1 stays.
  const Frame before = Decode(body);
  const Frame after = Decode(target.body);
  ASSERT_EQ(after.height, FormatOf(form).height);
  const int pairs = FormatOf(form).height / 2;
  EXPECT_EQ(RowsNotFrom(after, before, [&](int row) { return row < 2 * pairs ? row ^ 1 : row; }),
            kNone);

  // Luma only leaves the chroma plane alone, chroma only the luma plane.
  TempFolder lumaOnly, chromaOnly, twice;
  ASSERT_EQ(RunStill(engine, source, lumaOnly.path(), 0).result, 0);
  ASSERT_EQ(RunStill(engine, source, chromaOnly.path(), 1).result, 0);
  const std::vector<unsigned char> y = ReadKdt(lumaOnly.path() + name).body;
  const std::vector<unsigned char> c = ReadKdt(chromaOnly.path() + name).body;
  EXPECT_TRUE(Plane(y, form, 1) == Plane(body, form, 1));
  EXPECT_FALSE(Plane(y, form, 0) == Plane(body, form, 0));
  EXPECT_TRUE(Plane(c, form, 0) == Plane(body, form, 0));
  EXPECT_FALSE(Plane(c, form, 1) == Plane(body, form, 1));

  // Exchanging the exchanged picture gives back the source body.
  ASSERT_EQ(RunStill(engine, targets.path() + name, twice.path(), 2).result, 0);
  EXPECT_TRUE(ReadKdt(twice.path() + name).body == body);
}

INSTANTIATE_TEST_SUITE_P(InterlacedFormats, StillModeTest, ::testing::Values(1, 2, 3),
                         [](const ::testing::TestParamInfo<int> &info) {
                           return "form" + std::to_string(info.param);
                         });

TEST_F(ModeConvTest, ProgressivePictureIsRefusedWithItsMessage) {
  const std::string source = sources.path() + "Mprog.QVEL_001.KDT";
  WriteKdt(source, 4, RandomBody(4, 5));

  const Outcome run = RunStill(engine, source, targets.path(), 2);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{kProgressiveRefused});
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.saved, 0);
  EXPECT_TRUE(FolderEntries(targets.path()).empty());

  // The same for the first file of a sequence.
  const Outcome sequence = RunSequence(engine, {source, source}, targets.path(), 2);
  EXPECT_EQ(messages.texts().size(), 2u);
  EXPECT_EQ(sequence.progress, 100u);
  EXPECT_TRUE(FolderEntries(targets.path()).empty());
}

TEST_F(ModeConvTest, WrongNumberOfFiles) {
  const std::vector<std::string> two = WriteSequence({2, 2});
  CTaskModeConv still(engine);
  int ret = -1;
  still.LoadRGB(two, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(still.GetConvertResult(), ERR_FILE_COUNT);
  int filesNum = 0;
  EXPECT_EQ(still.GetFilesPropety(filesNum), nullptr) << "nothing loaded";
  EXPECT_EQ(filesNum, 2);

  CTaskModeConv sequence(engine);
  const Outcome run = RunSequence(sequence, {}, targets.path(), 2);
  EXPECT_EQ(run.ret, ERR_FILE_COUNT);
  EXPECT_EQ(run.result, ERR_FILE_COUNT);
  EXPECT_TRUE(FolderEntries(targets.path()).empty());
}

// ---------------------------------------------------------------------------------------------
// Animation mode

TEST_F(ModeConvTest, SequencePairsFieldTwoOfEachFileWithFieldOneOfTheNext) {
  const std::vector<std::string> files = WriteSequence({2, 2, 2});
  const Outcome run = RunSequence(engine, files, targets.path(), 2);
  EXPECT_EQ(run.ret, 0);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_EQ(FolderEntries(targets.path()),
            (std::vector<std::string>{"Mseq.QVEL_002.KDT", "Mseq.QVEL_003.KDT"}));

  for (int i = 1; i <= 2; ++i) {
    const KdtFile target = ReadKdt(targets.path() + FolderEntries(targets.path())[i - 1]);
    ASSERT_EQ(target.result, 1);
    EXPECT_EQ(target.header.kdtLogin, ReadKdt(files[i]).header.kdtLogin);
    const Frame after = Decode(target.body);
    const Frame previous = Decode(bodies[i - 1]);
    const Frame current = Decode(bodies[i]);
    // First field (even lines) from field 2 of the previous file, second field (odd lines)
    // from field 1 of the current file, luma and chroma alike.
    EXPECT_EQ(RowsNotFrom(after, previous, [](int row) { return row % 2 == 0 ? row + 1 : -1; }),
              kNone);
    EXPECT_EQ(RowsNotFrom(after, current, [](int row) { return row % 2 == 1 ? row - 1 : -1; }),
              kNone);
  }
}

TEST_F(ModeConvTest, SequenceOfOnePlaneTakesThatPlanesFieldTwoFromThePreviousFile) {
  for (int opt : {0, 1}) {
    SCOPED_TRACE(opt);
    bodies.clear();
    TempFolder folder;
    const std::vector<std::string> files = WriteSequence({1, 1});
    // Give both files the other plane of the first, so decoded lines show where the exchanged
    // plane's fields came from.
    const int kept = opt == 0 ? 1 : 0;
    const size_t plane = FormatOf(1).planeBytes;
    std::copy(bodies[0].begin() + kept * plane, bodies[0].begin() + (kept + 1) * plane,
              bodies[1].begin() + kept * plane);
    WriteKdt(files[1], 1, bodies[1], 2);

    ASSERT_EQ(RunSequence(engine, files, folder.path(), opt).result, 0);
    const KdtFile target = ReadKdt(folder.path() + "Mseq.QVEL_002.KDT");
    ASSERT_EQ(target.result, 1);
    EXPECT_TRUE(Plane(target.body, 1, kept) == Plane(bodies[1], 1, kept));
    const Frame after = Decode(target.body);
    // Field 2 (odd lines) from the previous file, field 1 (even lines) from the current one.
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[0]), [](int row) { return row % 2 ? row : -1; }),
              kNone);
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[1]), [](int row) { return row % 2 ? -1 : row; }),
              kNone);
  }
}

TEST_F(ModeConvTest, SequenceOfOneFileWritesNothing) {
  const Outcome run = RunSequence(engine, WriteSequence({1}), targets.path(), 2);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_TRUE(FolderEntries(targets.path()).empty());
}

// Sees the progress each time the task looks at the next file's picture.
class ProgressWatchingTask : public CTaskModeConv {
 public:
  using CTaskModeConv::CTaskModeConv;
  tagRGBInfo *GetRGB(int bOrig) override {
    seen.push_back(GetProgressStatus());
    return CTaskModeConv::GetRGB(bOrig);
  }
  std::vector<unsigned> seen;
};

TEST_F(ModeConvTest, SequenceProgressRisesBySeventyOverTheNumberOfFiles) {
  ProgressWatchingTask task(engine);
  const Outcome run = RunSequence(task, WriteSequence({2, 2, 2, 2}), targets.path(), 2);
  // 10 after the first load, 30 once it is read, + 70 / 4 after each target; the last target
  // (81) ends the loop, which sets 100.
  EXPECT_EQ(task.seen, (std::vector<unsigned>{10, 30, 47, 64}));
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(FolderEntries(targets.path()).size(), 3u);
}

TEST_F(ModeConvTest, SequenceStopsAtAFileOfAnotherSize) {
  const Outcome run = RunSequence(engine, WriteSequence({2, 2, 1, 1}), targets.path(), 2);
  EXPECT_EQ(FolderEntries(targets.path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_EQ(messages.texts(), std::vector<std::string>{kSizesDiffer});
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(run.result, 0);
}

// ---------------------------------------------------------------------------------------------
// Runs that end without a target tell the operator why.

TEST_F(ModeConvTest, TargetThatCannotBeWrittenIsTheTasksFailure) {
  const std::string missing = targets.path() + "missing/";
  const std::vector<std::string> files = WriteSequence({1, 1, 1});

  const Outcome still = RunStill(engine, files[0], missing, 2);
  EXPECT_EQ(still.saved, ERR_CODEC);
  EXPECT_EQ(still.result, ERR_CODEC);
  EXPECT_EQ(still.error.rfind(missing + "Mseq.QVEL_001.KDT", 0), 0u) << still.error;

  // A sequence ends at its first failed target, so the next load cannot hide the failure.
  const Outcome sequence = RunSequence(engine, files, missing, 2);
  EXPECT_EQ(sequence.result, ERR_CODEC);
  EXPECT_EQ(sequence.error.rfind(missing + "Mseq.QVEL_002.KDT", 0), 0u) << sequence.error;
  EXPECT_EQ(sequence.progress, 100u);
  EXPECT_TRUE(FolderEntries(targets.path()).empty());
}

TEST_F(ModeConvTest, FilesThatGiveNoTargetAreReportedAsUnreadable) {
  const std::string damaged = sources.path() + "Mbad.QVEL_001.KDT";
  WriteKdt(damaged, 1, RandomBody(1, 3));
  DamageBody(damaged);
  const std::string bmpAsKdt = sources.path() + "Mbmp.QVEL_001.KDT";
  ASSERT_TRUE(WriteBmp(engine, sources.path() + "disguised.BMP", 720, 487));
  std::filesystem::rename(sources.path() + "disguised.BMP", bmpAsKdt);
  const std::string odd = sources.path() + "small.BMP";  // a size of no KDT format
  ASSERT_TRUE(WriteBmp(engine, odd, 100, 50));
  const std::string notKdt = sources.path() + "frame.BMP";  // a KDT size, but no KDT file
  ASSERT_TRUE(WriteBmp(engine, notKdt, 720, 487));

  for (const std::string &file : {damaged, bmpAsKdt, odd, notKdt}) {
    SCOPED_TRACE(file);
    const Outcome run = RunStill(engine, file, targets.path(), 2);
    EXPECT_EQ(run.ret, 0) << "the load itself succeeded";
    EXPECT_EQ(run.result, ERR_CODEC);
    EXPECT_EQ(run.error, CannotLoad(file));
    EXPECT_EQ(run.saved, 0) << "nothing exchanged, nothing saved";
    EXPECT_LT(run.progress, 100u);
  }
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_TRUE(FolderEntries(targets.path()).empty());

  // A load that fails keeps its own code and text.
  const Outcome unsupported = RunStill(engine, sources.path() + "x.tga", targets.path(), 2);
  EXPECT_EQ(unsupported.result, ERR_BAD_DATA);
  EXPECT_EQ(unsupported.error, CannotLoad(sources.path() + "x.tga"));
}

TEST_F(ModeConvTest, SequencesThatCannotGoOnAreReportedAsUnreadable) {
  std::vector<std::string> files = WriteSequence({1, 1, 1, 1});

  // A first file that is no KDT file leaves the second nothing to pair with.
  const std::string notKdt = sources.path() + "first.BMP";
  ASSERT_TRUE(WriteBmp(engine, notKdt, 720, 487));
  const Outcome noFirst = RunSequence(engine, {notKdt, files[1], files[2]}, targets.path(), 2);
  EXPECT_EQ(noFirst.result, ERR_CODEC);
  EXPECT_EQ(noFirst.error, CannotLoad(notKdt));
  EXPECT_TRUE(FolderEntries(targets.path()).empty());

  // A damaged file in the middle ends the sequence after the targets before it.
  DamageBody(files[2]);
  const Outcome damaged = RunSequence(engine, files, targets.path(), 2);
  EXPECT_EQ(damaged.result, ERR_CODEC);
  EXPECT_EQ(damaged.error, CannotLoad(files[2]));
  EXPECT_EQ(FolderEntries(targets.path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_TRUE(messages.texts().empty());
}

}  // namespace
