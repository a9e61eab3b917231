// The field-exchange task on real KDT files through the real plug-ins: still and animation
// mode, targets read back with the KDT reader and decoded line by line, the failures that leave
// no target, and a cancel raised from another thread while a sequence runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <random>
#include <string>
#include <vector>

#include "app/res/Strings.h"
#include "codec/ColourConvert.h"
#include "codec/KdtFile.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskModeConv.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/SyncLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WorkerWithDeadline.h"

namespace fs = std::filesystem;
using test_support::TempFolder;

namespace {

const char kProgressiveRefused[] = "1280 X 720 is not supportted!";
const char kSizesDiffer[] = "The image's size is different, it is not supportted!";

const KdtPictureFormat &FormatOf(int form) {
  return *KdtFormatByNumber(form);
}

std::vector<unsigned char> RandomBody(int form, uint32_t seed) {
  std::vector<unsigned char> body(FormatOf(form).bodyBytes);
  std::mt19937 random(seed);
  for (unsigned char &byte : body) byte = static_cast<unsigned char>(random());
  return body;
}

// A valid KDT file holding `body`, its name fields made from `login`.
void WriteKdt(const std::string &path, int form, const std::vector<unsigned char> &body,
              uint16_t login = 7) {
  kdt_header header{};
  std::snprintf(header.kdtFlagName, sizeof header.kdtFlagName, "QVEL_%03u.KD", login % 1000u);
  header.kdtFlagName[11] = 'T';
  std::memcpy(header.kdtRegisterName, "REG", 3);
  header.kdtRegisterName[3] = static_cast<char>('A' + login % 26);
  unsigned char *loginBytes = reinterpret_cast<unsigned char *>(&header.kdtLogin);  // big-endian
  loginBytes[0] = static_cast<unsigned char>(login >> 8);
  loginBytes[1] = static_cast<unsigned char>(login & 0xFF);
  FILE *fp = std::fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr) << path;
  EXPECT_EQ(writeKDT(fp, &header, body.data(), static_cast<int>(body.size()), form), 0);
  std::fclose(fp);
}

struct KdtFile {
  int result = 0;  // the KDT reader's result: 1 for a valid file
  kdt_header header{};
  std::vector<unsigned char> body;
};

KdtFile ReadKdt(const std::string &path) {
  KdtFile file;
  FILE *fp = std::fopen(path.c_str(), "rb");
  if (fp == nullptr) return file;
  unsigned char *body = nullptr;
  int length = 0;
  file.result = readKDT(fp, &file.header, &body, &length);
  std::fclose(fp);
  if (body != nullptr) file.body.assign(body, body + length);
  std::free(body);
  return file;
}

std::vector<unsigned char> Plane(const std::vector<unsigned char> &body, int form, int plane) {
  const size_t bytes = FormatOf(form).planeBytes;
  return {body.begin() + plane * bytes, body.begin() + (plane + 1) * bytes};
}

// A decoded body as frame lines.
struct Frame {
  int height = 0;
  size_t stride = 0;
  std::vector<unsigned char> rgb;
};

Frame Decode(const std::vector<unsigned char> &body) {
  Frame frame;
  unsigned char *rgb = nullptr;
  int length = 0;
  const KdtPictureFormat *format = KdtFormatByBodyLength(static_cast<int64_t>(body.size()));
  if (format == nullptr || tranYUV2RGB(body.data(), static_cast<int>(body.size()), &rgb, &length))
    return frame;
  frame.height = format->height;
  frame.stride = static_cast<size_t>(format->width) * 3;
  frame.rgb.assign(rgb, rgb + length);
  std::free(rgb);
  return frame;
}

// Rows of `target` that differ from the row of `source` that rowOf names (-1: not checked).
template <typename RowOf>
std::vector<int> RowsNotFrom(const Frame &target, const Frame &source, RowOf rowOf) {
  std::vector<int> wrong;
  for (int row = 0; row < target.height; ++row) {
    const int from = rowOf(row);
    if (from >= 0 && std::memcmp(&target.rgb[row * target.stride],
                                 &source.rgb[from * source.stride], target.stride) != 0)
      wrong.push_back(row);
  }
  return wrong;
}
const std::vector<int> kNone;

std::vector<std::string> FolderEntries(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string CannotLoad(const std::string &path) {
  return path + res::LoadString(res::IDS_CANNOT_LOAD);
}

// What a run left: the out-parameter, the task's result, progress and error text, and
// SaveRGB's result (-1 when the workflow does not reach it).
struct Outcome {
  int ret = -1, result = -1, saved = -1;
  unsigned progress = 0;
  std::string error;
};

Outcome Finish(CTaskModeConv &task, Outcome run) {
  run.result = task.GetConvertResult();
  run.progress = task.GetProgressStatus();
  run.error = task.GetErrorInfo();
  return run;
}

class ModeConvTest : public ::testing::Test {
 protected:
  void SetUp() override { engine.Initialization(QUENDA_PLUGIN_DIR); }

  // Still mode as the workflow drives it: the exchange and the save only while the result is 0.
  Outcome RunStill(const std::string &file, const std::string &folder, int opt) {
    CTaskModeConv task(engine);
    Outcome run;
    task.LoadRGB({file}, 0, run.ret);
    if (task.GetConvertResult() == 0) {
      task.GetYUVDataSrc(opt);
      run.saved = task.SaveRGB(folder, "KDT");
    }
    return Finish(task, run);
  }
  Outcome RunSequence(const std::vector<std::string> &files, const std::string &folder, int opt,
                      CTaskModeConv *given = nullptr) {
    CTaskModeConv own(engine);
    CTaskModeConv &task = given != nullptr ? *given : own;
    Outcome run;
    task.LoadAllRGB(files, 0, run.ret, folder, "KDT", opt);
    return Finish(task, run);
  }
  // KDT files Mseq.QVEL_001.KDT and on, of the given forms, bodies from seeds 1, 2, ...
  std::vector<std::string> WriteSequence(const std::vector<int> &forms) {
    std::vector<std::string> files;
    for (size_t i = 0; i < forms.size(); ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "Mseq.QVEL_%03zu.KDT", i + 1);
      files.push_back(sources.File(name));
      bodies.push_back(RandomBody(forms[i], static_cast<uint32_t>(i + 1)));
      WriteKdt(files.back(), forms[i], bodies.back(), static_cast<uint16_t>(i + 1));
    }
    return files;
  }
  // A grey 24-bit BMP written through the host's BMP plug-in.
  std::string WriteBmp(const std::string &name, uint32_t width, uint32_t height) {
    std::vector<unsigned char> pixels(size_t{width} * height * 3, 0x80);
    tagRGBInfo picture{width, height, 24, pixels.data(), nullptr};
    EXPECT_EQ(engine.SaveRGB(sources.File(name), "BMP", &picture), 0);
    return sources.File(name);
  }

  CImageFileEngine engine;
  test_support::ScriptedMessageBox messages;
  TempFolder sources, targets;
  std::vector<std::vector<unsigned char>> bodies;
};

// ---------------------------------------------------------------------------------------------
// Still mode

class StillModeTest : public ModeConvTest, public ::testing::WithParamInterface<int> {};

TEST_P(StillModeTest, ExchangesFieldsKeepsNamesAndReplacesTarget) {
  const int form = GetParam();
  const std::string name = "Mstill.QVEL_042.KDT";
  const std::string source = sources.File(name);
  const std::vector<unsigned char> body = RandomBody(form, 99);
  WriteKdt(source, form, body, 42);
  WriteKdt(targets.File(name), form, RandomBody(form, 1), 1);  // an older target

  const Outcome run = RunStill(source, targets.Folder(), 2);
  EXPECT_EQ(run.ret, 0);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.saved, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_TRUE(messages.Texts().empty()) << "replaced without a question";

  const KdtFile target = ReadKdt(targets.File(name));
  ASSERT_EQ(target.result, 1) << "a valid KDT file with a valid checksum";
  const KdtFile original = ReadKdt(source);
  EXPECT_EQ(0, std::memcmp(target.header.kdtFlagName, original.header.kdtFlagName, 12));
  EXPECT_EQ(0, std::memcmp(target.header.kdtRegisterName, original.header.kdtRegisterName, 8));
  EXPECT_EQ(target.header.kdtLogin, original.header.kdtLogin);

  // Frame lines 2k and 2k + 1 change places; in 720 x 487 the last line of field 1 stays.
  const Frame after = Decode(target.body);
  ASSERT_EQ(after.height, FormatOf(form).height);
  const int pairs = FormatOf(form).height / 2;
  EXPECT_EQ(
      RowsNotFrom(after, Decode(body), [&](int row) { return row < 2 * pairs ? row ^ 1 : row; }),
      kNone);

  // Luma only leaves the chroma plane alone, chroma only the luma plane.
  TempFolder lumaOnly, chromaOnly, twice;
  ASSERT_EQ(RunStill(source, lumaOnly.Folder(), 0).result, 0);
  ASSERT_EQ(RunStill(source, chromaOnly.Folder(), 1).result, 0);
  const std::vector<unsigned char> y = ReadKdt(lumaOnly.File(name)).body;
  const std::vector<unsigned char> c = ReadKdt(chromaOnly.File(name)).body;
  EXPECT_TRUE(Plane(y, form, 1) == Plane(body, form, 1));
  EXPECT_FALSE(Plane(y, form, 0) == Plane(body, form, 0));
  EXPECT_TRUE(Plane(c, form, 0) == Plane(body, form, 0));
  EXPECT_FALSE(Plane(c, form, 1) == Plane(body, form, 1));

  // Exchanging the exchanged picture gives back the source body.
  ASSERT_EQ(RunStill(targets.File(name), twice.Folder(), 2).result, 0);
  EXPECT_TRUE(ReadKdt(twice.File(name)).body == body);
}

INSTANTIATE_TEST_SUITE_P(InterlacedFormats, StillModeTest, ::testing::Values(1, 2, 3));

TEST_F(ModeConvTest, ProgressivePictureIsRefusedWithItsMessage) {
  const std::string source = sources.File("Mprog.QVEL_001.KDT");
  WriteKdt(source, 4, RandomBody(4, 5));
  const Outcome run = RunStill(source, targets.Folder(), 2);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kProgressiveRefused});
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(run.result, 0);
  // The same for the first file of a sequence.
  EXPECT_EQ(RunSequence({source, source}, targets.Folder(), 2).progress, 100u);
  EXPECT_EQ(messages.Texts().size(), 2u);
  EXPECT_TRUE(FolderEntries(targets.Path()).empty());
}

TEST_F(ModeConvTest, NumberOfFiles) {
  const std::vector<std::string> two = WriteSequence({2, 2});
  CTaskModeConv still(engine);
  int ret = -1, filesNum = 0;
  still.LoadRGB(two, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(still.GetConvertResult(), ERR_FILE_COUNT);
  EXPECT_EQ(still.GetFilesPropety(filesNum), nullptr) << "nothing loaded";

  const Outcome none = RunSequence({}, targets.Folder(), 2);
  EXPECT_EQ(none.ret, ERR_FILE_COUNT);
  EXPECT_EQ(none.result, ERR_FILE_COUNT);

  // A sequence of one file has nothing to pair and writes nothing.
  const Outcome one = RunSequence({two[0]}, targets.Folder(), 2);
  EXPECT_EQ(one.result, 0);
  EXPECT_EQ(one.progress, 100u);
  EXPECT_TRUE(FolderEntries(targets.Path()).empty());
}

// ---------------------------------------------------------------------------------------------
// Animation mode

TEST_F(ModeConvTest, SequencePairsFieldTwoOfEachFileWithFieldOneOfTheNext) {
  const std::vector<std::string> files = WriteSequence({2, 2, 2});
  const Outcome run = RunSequence(files, targets.Folder(), 2);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(FolderEntries(targets.Path()),
            (std::vector<std::string>{"Mseq.QVEL_002.KDT", "Mseq.QVEL_003.KDT"}));
  for (int i = 1; i <= 2; ++i) {
    const KdtFile target = ReadKdt(targets.File(fs::path(files[i]).filename()));
    ASSERT_EQ(target.result, 1);
    EXPECT_EQ(target.header.kdtLogin, ReadKdt(files[i]).header.kdtLogin);
    // First field (even lines) from field 2 of the previous file, second field (odd lines)
    // from field 1 of the current file, luma and chroma alike.
    const Frame after = Decode(target.body);
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[i - 1]), [](int r) { return r % 2 ? -1 : r + 1; }),
              kNone);
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[i]), [](int r) { return r % 2 ? r - 1 : -1; }),
              kNone);
  }
}

TEST_F(ModeConvTest, SequenceOfOnePlaneTakesThatPlanesFieldTwoFromThePreviousFile) {
  for (int opt : {0, 1}) {
    SCOPED_TRACE(opt);
    bodies.clear();
    TempFolder folder;
    const std::vector<std::string> files = WriteSequence({1, 1});
    // Both files share the plane that is not exchanged, so decoded lines show where the
    // exchanged plane's fields came from.
    const int kept = opt == 0 ? 1 : 0;
    const size_t plane = FormatOf(1).planeBytes;
    std::copy_n(bodies[0].begin() + kept * plane, plane, bodies[1].begin() + kept * plane);
    WriteKdt(files[1], 1, bodies[1], 2);

    ASSERT_EQ(RunSequence(files, folder.Folder(), opt).result, 0);
    const KdtFile target = ReadKdt(folder.File("Mseq.QVEL_002.KDT"));
    ASSERT_EQ(target.result, 1);
    EXPECT_TRUE(Plane(target.body, 1, kept) == Plane(bodies[1], 1, kept));
    const Frame after = Decode(target.body);
    // Field 2 (odd lines) from the previous file, field 1 (even lines) from the current one.
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[0]), [](int r) { return r % 2 ? r : -1; }), kNone);
    EXPECT_EQ(RowsNotFrom(after, Decode(bodies[1]), [](int r) { return r % 2 ? -1 : r; }), kNone);
  }
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

TEST_F(ModeConvTest, SequenceProgressAndAFileOfAnotherSize) {
  // 10 after the first load, 30 once it is read, + 70 / 4 after each target; the last target
  // (81) ends the loop, which sets 100.
  ProgressWatchingTask task(engine);
  EXPECT_EQ(RunSequence(WriteSequence({2, 2, 2, 2}), targets.Folder(), 2, &task).progress, 100u);
  EXPECT_EQ(task.seen, (std::vector<unsigned>{10, 30, 47, 64}));
  EXPECT_EQ(FolderEntries(targets.Path()).size(), 3u);

  // A third file of another size: one target, the message and 100.
  bodies.clear();
  TempFolder folder;
  const Outcome run = RunSequence(WriteSequence({2, 2, 1, 1}), folder.Folder(), 2);
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kSizesDiffer});
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(run.result, 0);
}

// A sequence's targets reach the disk together at its end, before its progress makes 100: each
// new target only has its writeback started before its rename. A still's one target reaches it
// before SaveRGB returns, its content before the rename when it replaces a still; a target that
// cannot be synced fails the run as a write that failed, naming it.
TEST_F(ModeConvTest, TargetsReachTheDiskOnceAtTheEndOfTheRun) {
  const std::vector<std::string> files = WriteSequence({1, 1, 1});
  CTaskModeConv task(engine);
  {
    test_support::SyncLog log(targets.Path(), [&task] { return int(task.GetProgressStatus()); });
    EXPECT_EQ(RunSequence(files, targets.Folder(), 2, &task).result, 0);
    EXPECT_EQ(log.Events(), (std::vector<std::string>{"start tmp 30", "rename Mseq.QVEL_002.KDT 30",
                                                      "start tmp 53", "rename Mseq.QVEL_003.KDT 53",
                                                      "sync Mseq.QVEL_002.KDT 76",
                                                      "sync Mseq.QVEL_003.KDT 76", "sync . 76"}));
  }
  const std::string still = "Mseq.QVEL_002.KDT";
  for (const char *failing : {"", "Mseq.QVEL_002.KDT"}) {
    test_support::SyncLog log(targets.Path());
    log.FailSyncOf(failing);
    const Outcome run = RunStill(files[1], targets.Folder(), 2);
    EXPECT_EQ(run.saved, *failing ? ERR_CODEC : 0);
    EXPECT_EQ(run.result, run.saved);
    std::vector<std::string> events = {"sync tmp 0", "rename " + still + " 0",
                                       "sync " + still + " 0", "sync . 0"};
    if (*failing) {
      events.pop_back();
      EXPECT_EQ(run.error, targets.File(still) + " can not be written.");
    }
    EXPECT_EQ(log.Events(), events);
  }
}

// ---------------------------------------------------------------------------------------------
// Runs that end without a target tell the operator why.

TEST_F(ModeConvTest, TargetThatCannotBeWrittenIsTheTasksFailure) {
  const std::string missing = targets.File("missing/");
  const std::vector<std::string> files = WriteSequence({1, 1, 1});
  const Outcome still = RunStill(files[0], missing, 2);
  EXPECT_EQ(still.saved, ERR_CODEC);
  EXPECT_EQ(still.result, ERR_CODEC);
  EXPECT_EQ(still.error.rfind(missing + "Mseq.QVEL_001.KDT", 0), 0u) << still.error;

  // A sequence ends at its first failed target, so the next load cannot hide the failure.
  const Outcome sequence = RunSequence(files, missing, 2);
  EXPECT_EQ(sequence.result, ERR_CODEC);
  EXPECT_EQ(sequence.error.rfind(missing + "Mseq.QVEL_002.KDT", 0), 0u) << sequence.error;
  EXPECT_EQ(sequence.progress, 100u);

  // A full disk, in a folder that holds the operator's still of the target's name: the still
  // and the sequence fail and leave the folder as it was, the old still byte-identical.
  test_support::SmallDisk disk(64 * 1024);
  if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
  test_support::WriteWholeFile(disk.File("Mseq.QVEL_001.KDT"), std::vector<unsigned char>(900, 1));
  test_support::WriteWholeFile(disk.File("Mseq.QVEL_002.KDT"), std::vector<unsigned char>(900, 2));
  const auto before = disk.Contents();
  EXPECT_EQ(RunStill(files[0], disk.Folder(), 2).result, ERR_CODEC);
  EXPECT_EQ(disk.Contents(), before);
  EXPECT_EQ(RunSequence(files, disk.Folder(), 2).result, ERR_CODEC);
  EXPECT_EQ(disk.Contents(), before);
}

TEST_F(ModeConvTest, FilesThatGiveNoTargetAreReportedAsUnreadable) {
  std::vector<std::string> files = WriteSequence({1, 1, 1, 1});
  // A damaged body: the checksum no longer matches.
  std::vector<unsigned char> bytes = test_support::ReadWholeFile(files[2]);
  bytes[64 + 1000] ^= 0x10;
  test_support::WriteWholeFile(files[2], bytes);
  const std::string bmpAsKdt = sources.File("Mbmp.QVEL_001.KDT");
  fs::rename(WriteBmp("disguised.BMP", 720, 487), bmpAsKdt);
  const std::string odd = WriteBmp("small.BMP", 100, 50);      // a size of no KDT format
  const std::string notKdt = WriteBmp("frame.BMP", 720, 487);  // a KDT size, but no KDT file

  for (const std::string &file : {files[2], bmpAsKdt, odd, notKdt}) {
    SCOPED_TRACE(file);
    const Outcome run = RunStill(file, targets.Folder(), 2);
    EXPECT_EQ(run.ret, 0) << "the load itself succeeded";
    EXPECT_EQ(run.result, ERR_CODEC);
    EXPECT_EQ(run.error, CannotLoad(file));
    EXPECT_EQ(run.saved, 0) << "nothing exchanged, nothing saved";
    EXPECT_LT(run.progress, 100u);
  }
  // A load that fails keeps its own code and text; a FIFO in place of a still fails at once.
  const Outcome unsupported = RunStill(sources.File("x.tga"), targets.Folder(), 2);
  EXPECT_EQ(unsupported.result, ERR_BAD_DATA);
  EXPECT_EQ(unsupported.error, CannotLoad(sources.File("x.tga")));
  const std::string fifo = sources.File("Mfifo.QVEL_001.KDT");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Outcome fromFifo, sequenceFromFifo;
  EXPECT_TRUE(test_support::ReturnsAtOnce(fifo, [&] {
    fromFifo = RunStill(fifo, targets.Folder(), 2);
    sequenceFromFifo = RunSequence({files[0], fifo, files[1]}, targets.Folder(), 2);
  }));
  EXPECT_EQ(fromFifo.result, ERR_FILE_OPEN);
  EXPECT_EQ(fromFifo.error, CannotLoad(fifo));
  EXPECT_EQ(sequenceFromFifo.error, CannotLoad(fifo));
  EXPECT_TRUE(FolderEntries(targets.Path()).empty());

  // A first file that is no KDT file leaves the second nothing to pair with.
  const Outcome noFirst = RunSequence({notKdt, files[1], files[2]}, targets.Folder(), 2);
  EXPECT_EQ(noFirst.result, ERR_CODEC);
  EXPECT_EQ(noFirst.error, CannotLoad(notKdt));
  EXPECT_TRUE(FolderEntries(targets.Path()).empty());
  // A damaged file in the middle ends the sequence after the targets before it.
  const Outcome damaged = RunSequence(files, targets.Folder(), 2);
  EXPECT_EQ(damaged.result, ERR_CODEC);
  EXPECT_EQ(damaged.error, CannotLoad(files[2]));
  EXPECT_EQ(FolderEntries(targets.Path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_TRUE(messages.Texts().empty());
}

// ---------------------------------------------------------------------------------------------
// Cancel

// Holds the worker inside its first save until the test thread has raised the cancel flag.
class PausingTask : public CTaskModeConv {
 public:
  using CTaskModeConv::CTaskModeConv;
  int SaveRGB(const std::string &sObj, const std::string &sExt) override {
    if (++saves == 1) {
      inFirstSave.set_value();
      flagRaised.get_future().wait();
    }
    return CTaskModeConv::SaveRGB(sObj, sExt);
  }
  int saves = 0;  // worker only
  std::promise<void> inFirstSave, flagRaised;
};

TEST_F(ModeConvTest, CancelFromAnotherThreadStopsBeforeTheNextFile) {
  const std::vector<std::string> files = WriteSequence({1, 1, 1, 1, 1});
  PausingTask task(engine);
  std::future<void> inFirstSave = task.inFirstSave.get_future();
  Outcome run;
  test_support::WorkerWithDeadline worker(
      [&] { run = RunSequence(files, targets.Folder(), 2, &task); });
  const bool saving = test_support::ReadyWithin(inFirstSave, "the first save");
  task.m_cancelFlag = 1;
  task.flagRaised.set_value();
  worker.Join();
  if (!saving) return;

  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(task.saves, 1) << "no file after the cancel";
  // The target in progress is finished and stays.
  EXPECT_EQ(FolderEntries(targets.Path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_EQ(ReadKdt(targets.File("Mseq.QVEL_002.KDT")).result, 1);
}

}  // namespace
