// The field-exchange task on real KDT files through the real plug-ins: still and animation
// mode, targets read back with the KDT reader and decoded line by line, the failures that leave
// no target, and a cancel raised from another thread while a sequence runs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/res/Strings.h"
#include "codec/ColorConvert.h"
#include "codec/KdtFile.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskModeConv.h"
#include "platform/MessageBox.h"

namespace fs = std::filesystem;

namespace {

const char kProgressiveRefused[] = "1280 X 720 is not supportted!";
const char kSizesDiffer[] = "The image's size is different, it is not supportted!";

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quenda-modeconv-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

// Records every message and answers Ok, for its lifetime.
class RecordedMessages : public platform::MessageBoxService {
 public:
  RecordedMessages() { platform::SetMessageBoxService(this); }
  ~RecordedMessages() override { platform::SetMessageBoxService(nullptr); }
  platform::MessageAnswer Show(const std::string &text, platform::MessageButtons) override {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.push_back(text);
    return platform::MessageAnswer::Ok;
  }
  std::vector<std::string> texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
};

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

// A decoded body as frame lines.
struct Frame {
  int height = 0;
  size_t stride = 0;
  std::vector<unsigned char> rgb;
  bool SameLine(int row, const Frame &other, int otherRow) const {
    return std::memcmp(&rgb[row * stride], &other.rgb[otherRow * stride], stride) == 0;
  }
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
    if (from >= 0 && !target.SameLine(row, source, from)) wrong.push_back(row);
  }
  return wrong;
}

const std::vector<int> kNone;

std::vector<unsigned char> Plane(const std::vector<unsigned char> &body, int form, int plane) {
  const size_t bytes = FormatOf(form).planeBytes;
  return std::vector<unsigned char>(body.begin() + plane * bytes,
                                    body.begin() + (plane + 1) * bytes);
}

// A grey 24-bit BMP written through the host's BMP plug-in.
bool WriteBmp(const CImageFileEngine &engine, const std::string &path, uint32_t width,
              uint32_t height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3, 0x80);
  tagRGBInfo picture{width, height, 24, pixels.data(), nullptr};
  return engine.SaveRGB(path, "BMP", &picture) == 0;
}

std::vector<std::string> FolderEntries(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Outcome {
  int ret = -1;
  int result = -1;
  unsigned progress = 0;
  int saved = -1;  // SaveRGB's result; -1 when the workflow does not reach it
  std::string error;
};

Outcome Finish(CTaskModeConv &task, Outcome run) {
  run.result = task.GetConvertResult();
  run.progress = task.GetProgressStatus();
  run.error = task.GetErrorInfo();
  return run;
}

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
  return Finish(task, run);
}

Outcome RunSequence(CTaskModeConv &task, const std::vector<std::string> &files,
                    const std::string &folder, int opt) {
  Outcome run;
  task.LoadAllRGB(files, 0, run.ret, folder, "KDT", opt);
  return Finish(task, run);
}

Outcome RunSequence(CImageFileEngine &engine, const std::vector<std::string> &files,
                    const std::string &folder, int opt) {
  CTaskModeConv task(engine);
  return RunSequence(task, files, folder, opt);
}

std::string CannotLoad(const std::string &path) {
  return path + res::LoadString(res::IDS_CANNOT_LOAD);
}

// Flips one bit of the body, so the checksum no longer matches.
void DamageBody(const std::string &path) {
  std::vector<unsigned char> bytes(64 + 1001);
  FILE *fp = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(fp, nullptr);
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), fp), bytes.size());
  std::fseek(fp, 64 + 1000, SEEK_SET);
  std::fputc(bytes.back() ^ 0x10, fp);
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
  WriteKdt(targets.path() + name, form, RandomBody(form, 1), 1);  // an older target

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

TEST_F(ModeConvTest, NumberOfFiles) {
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

  // A sequence of one file has nothing to pair and writes nothing.
  const Outcome one = RunSequence(engine, {two[0]}, targets.path(), 2);
  EXPECT_EQ(one.result, 0);
  EXPECT_EQ(one.progress, 100u);
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
  std::promise<void> inFirstSave;
  std::promise<void> flagRaised;
};

TEST_F(ModeConvTest, CancelFromAnotherThreadStopsBeforeTheNextFile) {
  const std::vector<std::string> files = WriteSequence({1, 1, 1, 1, 1});
  PausingTask task(engine);
  std::future<void> inFirstSave = task.inFirstSave.get_future();
  int ret = -1;
  std::thread worker([&] { task.LoadAllRGB(files, 0, ret, targets.path(), "KDT", 2); });
  inFirstSave.wait();
  task.m_cancelFlag = 1;
  task.flagRaised.set_value();
  worker.join();

  EXPECT_EQ(ret, 0);
  const Outcome run = Finish(task, Outcome());
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.progress, 100u);
  EXPECT_EQ(task.saves, 1) << "no file after the cancel";
  // The target in progress is finished and stays.
  EXPECT_EQ(FolderEntries(targets.path()), std::vector<std::string>{"Mseq.QVEL_002.KDT"});
  EXPECT_EQ(ReadKdt(targets.path() + "Mseq.QVEL_002.KDT").result, 1);
}

}  // namespace
