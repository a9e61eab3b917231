// The batch task through the real plug-ins: imports at the chosen size, exports at the source's
// own size, progress, sources that fail on the way, and a stop request from another thread.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <iostream>
#include <map>
#include <memory>

#include "app/res/Strings.h"
#include "engine/TaskBatch.h"
#include "tests/engine/TasksTestSupport.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/SyncLog.h"
#include "tests/support/WorkerWithDeadline.h"

namespace {

using tasks_test::Exists;
using tasks_test::NumberedBmp;
using tasks_test::Picture;

class BatchTaskTest : public tasks_test::RealPluginsTest {
 protected:
  // Runs a batch as the worker does; returns SaveRGB's result.
  int Run(CTaskBatch &task, const std::vector<std::string> &paths, const std::string &folder,
          const std::string &format) {
    std::filesystem::create_directories(Path(folder));
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    EXPECT_EQ(task.GetRGB(0), nullptr);
    return task.SaveRGB(Path(folder), format);
  }
  // The grey level at (row, column) of a KDT round trip, -1 when far from grey. A picture
  // without that pixel (a target never written reads as empty) fails the test.
  static int GreyAt(const Picture &p, uint32_t row, uint32_t column) {
    if (row >= p.height || column >= p.width || p.bits.size() / 3 / p.width < p.height) {
      ADD_FAILURE() << "no pixel " << row << "," << column << " in a picture of " << p.width
                    << " x " << p.height;
      return -1000;
    }
    const unsigned char *px = &p.bits[(size_t{row} * p.width + column) * 3];
    return std::abs(px[0] - px[1]) > 6 || std::abs(px[1] - px[2]) > 6 ? -1 : px[1];
  }
};

TEST_F(BatchTaskTest, ImportsIntoKdtTargetsOfChosenSizeWithShift) {
  // Mid grey with white first and last rows, so where the rows land shows through the KDT
  // colour conversion.
  Picture source = Picture::Solid(640, 480, 128);
  std::fill_n(source.bits.begin(), 640 * 3, 255);
  std::fill_n(source.bits.end() - 640 * 3, 640 * 3, 255);
  Write("sunset.bmp", source);
  // The grey expected at target rows 0, 1, 479 and 480 under the source.
  for (auto [shift, rows] : {std::pair{ShiftNormal, std::vector{255, 128, 255, 0}},
                             std::pair{ShiftDown, std::vector{0, 255, 128, 0}}}) {
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(720, 487, shift, uint32_t(CompositeMode::None));
    const std::string folder = "out" + std::to_string(shift) + "/";
    EXPECT_EQ(Run(task, {Path("sunset.bmp")}, folder, "KDT"), 0);
    EXPECT_EQ(task.GetTargetFileName(), Path(folder + "Msunset.QVEL_000.KDT"));
    const Picture target = Read(folder + "Msunset.QVEL_000.KDT");
    ASSERT_EQ(target.width * target.height, 720u * 487u);
    for (uint32_t column : {8u, 320u, 630u}) {
      int i = 0;
      for (uint32_t row : {0u, 1u, 479u, 480u})
        EXPECT_NEAR(GreyAt(target, row, column), rows[i++], 12) << row << "," << column;
    }
    for (uint32_t row : {0u, 240u, 486u}) EXPECT_NEAR(GreyAt(target, row, 700), 0, 12) << row;
    EXPECT_EQ(task.GetProgressStatus(), 100u);
  }
}

TEST_F(BatchTaskTest, ExportsAtTheSourcesOwnSize) {
  Write("MABC.QVEL_000.KDT", Picture::Pattern(720, 487), "KDT");
  const Picture source = Read("MABC.QVEL_000.KDT");
  CTaskBatch task(m_engine);
  task.UpdateConvParameter(1920, 1080, ShiftNormal, uint32_t(CompositeMode::None));
  EXPECT_EQ(Run(task, {Path("MABC.QVEL_000.KDT")}, "out/", "BMP"), 0);
  EXPECT_EQ(task.GetTargetFileName(), Path("out/MABC.QVEL_000.BMP"));
  const Picture target = Read("out/MABC.QVEL_000.BMP");
  EXPECT_EQ(target.width, 720u);
  EXPECT_EQ(target.height, 487u);
  EXPECT_EQ(target.bits, source.bits);
}

TEST_F(BatchTaskTest, SourceFailingAtSaveTimeEndsTheBatch) {
  CTaskBatch task(m_engine);
  int ret = -1;
  task.LoadRGB({}, 0, ret);
  EXPECT_EQ(ret, ERR_FILE_COUNT);
  EXPECT_EQ(task.GetConvertResult(), 0);

  for (const char *name : {"one.bmp", "two.bmp", "three.bmp"})
    Write(name, Picture::Pattern(64, 48));
  // A bit count the reader refuses: the header still gives the record and its size.
  std::FILE *f = std::fopen(Path("two.bmp").c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 28, SEEK_SET);
  std::fputc(32, f);
  std::fclose(f);
  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  EXPECT_EQ(Run(task, {Path("one.bmp"), Path("two.bmp"), Path("three.bmp")}, "out/", "BMP"),
            ERR_NO_ENGINE);
  EXPECT_EQ(task.GetConvertResult(), ERR_BAD_DATA);
  EXPECT_EQ(task.GetErrorInfo(), Path("two.bmp") + res::LoadString(res::IDS_CANNOT_LOAD));
  EXPECT_TRUE(Exists(Path("out/one.BMP")));
  EXPECT_FALSE(Exists(Path("out/three.BMP")));
  EXPECT_LT(task.GetProgressStatus(), 100u);

  // A source replaced by a FIFO never holds the run up and gives no target.
  ASSERT_TRUE(std::filesystem::remove(Path("two.bmp")));
  ASSERT_EQ(mkfifo(Path("two.bmp").c_str(), 0600), 0);
  CTaskBatch fromFifo(m_engine);
  fromFifo.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  EXPECT_TRUE(test_support::ReturnsAtOnce(Path("two.bmp"), [&] {
    Run(fromFifo, {Path("one.bmp"), Path("two.bmp"), Path("three.bmp")}, "fifo/", "BMP");
  }));
  EXPECT_TRUE(Exists(Path("fifo/one.BMP")));
  EXPECT_FALSE(Exists(Path("fifo/two.BMP")));
}

// Two sources that map to one device name: the second target is renumbered without a question,
// also after the operator allowed replacing an older file of the first one's name.
TEST_F(BatchTaskTest, NeverReplacesATargetItWroteItself) {
  Write("holiday1.bmp", Picture::Solid(64, 48, 60));
  Write("holiday2.bmp", Picture::Solid(64, 48, 200));
  for (bool older : {false, true}) {
    const std::string folder = older ? "older/" : "fresh/";
    std::filesystem::create_directories(Path(folder));
    if (older) Write(folder + "Mholiday.QVEL_000.KDT", Picture::Solid(720, 487, 9), "KDT");
    tasks_test::ScriptedMessageBox box({tasks_test::MessageAnswer::Yes});
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
    EXPECT_EQ(Run(task, {Path("holiday1.bmp"), Path("holiday2.bmp")}, folder, "KDT"), 0);
    EXPECT_EQ(box.Texts().size(), older ? 1u : 0u);
    EXPECT_NEAR(GreyAt(Read(folder + "Mholiday.QVEL_000.KDT"), 10, 10), 60, 12) << folder;
    EXPECT_NEAR(GreyAt(Read(folder + "Mholiday.QVEL_001.KDT"), 10, 10), 200, 12) << folder;
  }
}

// A source whose full load gives no picture ends the run with that load's failure, naming the
// file, where a black target used to be written; the target before it stays recorded. A still
// deleted after it was chosen is named too, though the plug-in's record of it has no name.
TEST_F(BatchTaskTest, SourceWithoutPictureAtFullLoadFailsTheRun) {
  Write("one.bmp", Picture::Pattern(64, 48));
  Write("three.bmp", Picture::Pattern(64, 48));
  std::vector<std::string> sources = WriteDamagedSources();
  sources.push_back(Path("Mgone.QVEL_000.KDT"));
  for (const std::string &damaged : sources) {
    SCOPED_TRACE(damaged);
    const bool gone = damaged == sources.back();
    std::filesystem::remove_all(Path("out"));
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
    EXPECT_EQ(Run(task, {Path("one.bmp"), damaged, Path("three.bmp")}, "out/", "KDT"),
              ERR_NO_ENGINE);
    EXPECT_EQ(task.GetConvertResult(), gone ? ERR_FILE_OPEN : ERR_BAD_DATA);
    EXPECT_EQ(task.GetErrorInfo(), damaged + res::LoadString(res::IDS_CANNOT_LOAD));
    EXPECT_LT(task.GetProgressStatus(), 100u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("out")), {}), 1);
    task.Cancel();
    EXPECT_TRUE(std::filesystem::is_empty(Path("out")));
  }
}

class BatchProgressTest : public tasks_test::ProbePluginTest {};

TEST_F(BatchProgressTest, SequencesForOneAndTwoSourcesAndFailedSaves) {
  for (const char *name : {"b0.bmp", "b1.bmp"}) Write(name, Picture::Pattern(32, 16));
  std::filesystem::create_directory(Path("out"));
  CTaskBatch one(m_engine);
  Watch(one);
  int ret = 0;
  one.LoadRGB({Path("b0.bmp")}, 0, ret);
  EXPECT_EQ(one.SaveRGB(Path("out/"), "BMP"), 0);
  EXPECT_EQ(s_events, (std::vector<std::string>{"L0 0", "L1 10", "S 55"}));
  EXPECT_EQ(one.GetProgressStatus(), 100u);

  // Two sources: 10, 32, 54, 76, 98, 100. A failed save does not end the batch, but it stays the
  // task's result from then to the end, whatever the next source's load and save give, and the
  // progress ends at 98.
  for (int failingSave : {0, 1, 2}) {
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directory(Path("out"));
    CTaskBatch two(m_engine);
    Watch(two, failingSave);
    two.LoadRGB({Path("b0.bmp"), Path("b1.bmp")}, 0, ret);
    const int result = two.SaveRGB(Path("out/"), "BMP");
    EXPECT_EQ(s_events,
              (std::vector<std::string>{"L0 0", "L0 0", "L1 10", "S 32", "L1 54", "S 76"}));
    const int failed = failingSave != 0 ? ERR_FILE_WRITE : 0;
    EXPECT_EQ(s_results, (std::vector<int>{0, 0, 0, 0, failingSave == 1 ? failed : 0,
                                           failingSave == 1 ? failed : 0}));
    EXPECT_EQ(result, failed);
    EXPECT_EQ(two.GetConvertResult(), failed);
    EXPECT_EQ(two.GetProgressStatus(), failed != 0 ? 98u : 100u);
    EXPECT_EQ(Exists(Path("out/b1.BMP")), failingSave != 2);
  }
}

// An operator's file that a run replaces after Yes keeps its content until the run has ended:
// Cancel, or a run that fails, gives it back byte for byte, and only a run that succeeds keeps
// the new one; nothing hidden is left in the folder, whatever the end. Once the run has failed
// no question is asked, and the failure names the target whose save failed, not the last one
// tried. A folder in a target's place is never moved: its save fails. A target that is a link
// is written through to the file it names, and that file's content is what comes back.
TEST_F(BatchProgressTest, ReplacedFileComesBackUnlessTheRunSucceeds) {
  for (const char *name : {"b0.bmp", "b1.bmp"}) Write(name, Picture::Pattern(32, 16));
  const std::vector<unsigned char> old = {'o', 'l', 'd'};
  struct Case {
    const char *existing;  // a folder when it ends with '/', a link to "old.dat" with '@'
    int failingSave;
    bool cancel;  // else the task is deleted without Cancel
    size_t questions;
    const char *failedTarget;  // none: the run succeeds
    std::vector<std::string> left;
  } const cases[] = {
      {"b0.BMP", 0, true, 1, nullptr, {"b0.BMP"}},
      {"b0.BMP", 0, false, 1, nullptr, {"b0.BMP", "b1.BMP"}},
      {"b0.BMP", 2, false, 1, "b1.BMP", {"b0.BMP"}},
      {"b1.BMP", 1, true, 0, "b0.BMP", {"b1.BMP"}},
      {"b1.BMP/", 0, true, 1, "b1.BMP", {"b1.BMP"}},
      {"b0.BMP/", 2, true, 1, "b0.BMP", {"b0.BMP"}},  // the first of two failed targets
      {"b0.BMP@", 0, true, 1, nullptr, {"b0.BMP", "old.dat"}},
  };
  for (const Case &c : cases) {
    std::string existing = c.existing;
    const bool folder = existing.ends_with('/');
    const bool link = existing.ends_with('@');
    if (link) existing.pop_back();
    const std::string keeper = Path(link ? "out/old.dat" : "out/" + existing);
    SCOPED_TRACE(existing + " failing save " + std::to_string(c.failingSave));
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directory(Path("out"));
    if (folder) {
      std::filesystem::create_directory(Path("out/" + existing));
    } else {
      test_support::WriteWholeFile(keeper, old);
    }
    if (link) std::filesystem::create_symlink("old.dat", Path("out/" + existing));
    tasks_test::ScriptedMessageBox box({tasks_test::MessageAnswer::Yes});
    auto task = std::make_unique<CTaskBatch>(m_engine);
    Watch(*task, c.failingSave);
    int ret = 0;
    task->LoadRGB({Path("b0.bmp"), Path("b1.bmp")}, 0, ret);
    task->SaveRGB(Path("out/"), "BMP");
    EXPECT_EQ(box.Texts().size(), c.questions);
    if (c.failedTarget != nullptr) {
      EXPECT_NE(task->GetConvertResult(), 0);
      EXPECT_EQ(task->GetErrorInfo(), Path("out/") + c.failedTarget + " can not be written.");
    } else {
      EXPECT_EQ(task->GetConvertResult(), 0);
      EXPECT_EQ(Read("out/" + existing).width, 32u);  // replaced while the run lasts
    }
    if (c.cancel) task->Cancel();
    task.reset();
    EXPECT_EQ(tasks_test::FilesIn(Path("out")), c.left);
    if (!folder) {
      EXPECT_EQ(test_support::ReadWholeFile(keeper) == old, c.cancel || c.failedTarget != nullptr);
    }
    EXPECT_EQ(std::filesystem::is_symlink(Path("out/" + existing)), link);
  }
}

// The run's targets reach the disk together, once, before its progress can show it done: a new
// file (or one that replaces an empty file) only has its writeback started before its rename,
// content that replaces an operator's file is synced before its rename, and the end of the run
// syncs each target and then the folder. A target whose sync fails fails the run, naming it, and
// the run's Cancel leaves the folder as it was before.
TEST_F(BatchProgressTest, TargetsReachTheDiskOnceBeforeTheRunEnds) {
  for (const char *name : {"b0.bmp", "b1.bmp"}) Write(name, Picture::Pattern(32, 16));
  const std::vector<std::string> second = {"start tmp 76", "rename b1.BMP 76", "sync b0.BMP 76"};
  auto events = [&second](const char *firstWrite, std::vector<std::string> end) {
    std::vector<std::string> all = {firstWrite, "rename b0.BMP 32"};
    all.insert(all.end(), second.begin(), second.end());
    all.insert(all.end(), end.begin(), end.end());
    return all;
  };
  struct Case {
    const char *old;      // content of an out/b0.BMP replaced after Yes, or none
    const char *failing;  // the target whose sync fails, or none
    std::vector<std::string> events;
  } const cases[] = {
      {nullptr, nullptr, events("start tmp 32", {"sync b1.BMP 76", "sync . 76"})},
      {"", nullptr, events("start tmp 32", {"sync b1.BMP 76", "sync . 76"})},
      {"old", nullptr, events("sync tmp 32", {"sync b1.BMP 76", "sync . 76"})},
      {"old", "b1.BMP", events("sync tmp 32", {"sync b1.BMP 76"})},
      {nullptr, "b0.BMP", events("start tmp 32", {})},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.old ? c.old : "(new)") + " failing " + (c.failing ? c.failing : ""));
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directory(Path("out"));
    const std::vector<unsigned char> old(c.old, c.old + (c.old ? std::strlen(c.old) : 0));
    if (c.old != nullptr) test_support::WriteWholeFile(Path("out/b0.BMP"), old);
    tasks_test::ScriptedMessageBox box({tasks_test::MessageAnswer::Yes});
    auto task = std::make_unique<CTaskBatch>(m_engine);
    Watch(*task);
    int ret = 0;
    task->LoadRGB({Path("b0.bmp"), Path("b1.bmp")}, 0, ret);
    test_support::SyncLog log(Path("out"), [] { return int(s_task->GetProgressStatus()); });
    if (c.failing != nullptr) log.FailSyncOf(c.failing);
    const int result = task->SaveRGB(Path("out/"), "BMP");
    EXPECT_EQ(log.Events(), c.events);
    if (c.failing == nullptr) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(task->GetProgressStatus(), 100u);
      continue;
    }
    EXPECT_EQ(result, ERR_FILE_WRITE);
    EXPECT_EQ(task->GetConvertResult(), ERR_FILE_WRITE);
    EXPECT_EQ(task->GetErrorInfo(), Path("out/") + c.failing + " can not be written.");
    EXPECT_LT(task->GetProgressStatus(), 100u);
    task->Cancel();
    task.reset();
    EXPECT_EQ(tasks_test::FilesIn(Path("out")),
              c.old ? std::vector<std::string>{"b0.BMP"} : std::vector<std::string>{});
    if (c.old != nullptr) {
      EXPECT_EQ(test_support::ReadWholeFile(Path("out/b0.BMP")), old);
    }
  }
}

// The key plane of a source reaches its target: W x H, the source's key rows cropped to the
// target and never shifted, zero outside them; a source of exactly the target's size, unshifted,
// reaches it with its own pixels and key.
TEST_F(BatchProgressTest, KeyPlaneOfTheSourceGoesToTheTargetUnshifted) {
  const std::pair<uint32_t, uint32_t> sizes[] = {{100, 50}, {720, 487}, {800, 500}};
  std::vector<std::string> paths;
  for (const auto &[width, height] : sizes) {
    paths.push_back(Path(NumberedBmp("k", static_cast<int>(width))));
    Write(NumberedBmp("k", static_cast<int>(width)), Picture::Pattern(width, height));
  }
  auto key = [](size_t row, size_t column) {
    return static_cast<unsigned char>((row * 7 + column * 3) % 251 + 1);
  };
  s_onLoad = [key](tagFileInfo *record) {
    if (record == nullptr) return;
    const size_t width = record->rgbInfo.width, height = record->rgbInfo.height;
    auto *plane = static_cast<unsigned char *>(PluginAlloc(width * height));
    for (size_t i = 0; i < width * height; ++i) plane[i] = key(i / width, i % width);
    record->rgbInfo.ptAlpha = plane;
  };
  std::vector<std::vector<unsigned char>> keys;
  std::vector<std::vector<unsigned char>> pixels;
  s_onSave = [&keys, &pixels](const tagRGBInfo &picture) {
    ASSERT_NE(picture.ptAlpha, nullptr);
    const size_t size = size_t{picture.width} * picture.height;
    keys.emplace_back(picture.ptAlpha, picture.ptAlpha + size);
    pixels.emplace_back(picture.ptBits, picture.ptBits + size * 3);
  };
  for (uint32_t shift : {ShiftDown, ShiftNormal}) {
    keys.clear();
    pixels.clear();
    const std::string out = Path(std::to_string(shift) + "out/");
    std::filesystem::create_directory(out);
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(720, 487, shift, uint32_t(CompositeMode::None));
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    EXPECT_EQ(task.SaveRGB(out, "KDT"), 0);
    ASSERT_EQ(keys.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      const auto [width, height] = sizes[i];
      std::vector<unsigned char> expected(720 * 487, 0);
      for (size_t r = 0; r < std::min(height, 487u); ++r)
        for (size_t c = 0; c < std::min(width, 720u); ++c) expected[r * 720 + c] = key(r, c);
      EXPECT_TRUE(keys[i] == expected) << width << " x " << height << " shift " << shift;
    }
    // The source of the target's size: its pixels as they were, or one line lower.
    const std::vector<unsigned char> source = Picture::Pattern(720, 487).bits;
    std::vector<unsigned char> placed(source.size(), 0);
    const size_t skip = shift == ShiftDown ? 720 * 3 : 0;
    std::copy(source.begin(), source.end() - skip, placed.begin() + skip);
    EXPECT_TRUE(pixels[1] == placed) << "shift " << shift;
  }
}

// What a plug-in that returns a key plane gives: every record it loads comes with one, of a
// single key value.
void GiveKeyPlane(tagFileInfo *record) {
  if (record == nullptr) return;
  const size_t bytes = size_t{record->rgbInfo.width} * record->rgbInfo.height;
  record->rgbInfo.ptAlpha = static_cast<unsigned char *>(PluginAlloc(bytes));
  std::memset(record->rgbInfo.ptAlpha, 0xC0, bytes);
}

// A run whose source comes with a key plane, written by the KDT plug-in: each target's key
// companion is written, synced at the run's end with its picture, and recorded, so Cancel
// removes the key it wrote and puts back the key it replaced, as it does the pictures.
TEST_F(BatchProgressTest, KeyCompanionsAreSyncedWithTheRunAndGoWithItsCancel) {
  SaveKdtAsKdt(true);
  s_onLoad = GiveKeyPlane;
  for (const char *name : {"k0.bmp", "k1.bmp"}) Write(name, Picture::Pattern(64, 48));
  std::filesystem::create_directory(Path("out"));
  const std::vector<unsigned char> oldPicture = {'p'}, oldKey = {'k'};
  test_support::WriteWholeFile(Path("out/Mk0.QVEL_000.KDT"), oldPicture);
  test_support::WriteWholeFile(Path("out/Sk0.QVEL_000.KDT"), oldKey);
  tasks_test::ScriptedMessageBox box({tasks_test::MessageAnswer::Yes});
  CTaskBatch task(m_engine);
  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  Watch(task);
  int ret = 0;
  task.LoadRGB({Path("k0.bmp"), Path("k1.bmp")}, 0, ret);
  test_support::SyncLog log(Path("out"), [] { return int(s_task->GetProgressStatus()); });
  EXPECT_EQ(task.SaveRGB(Path("out/"), "KDT"), 0);
  // Each pair in place key first, the picture last; the replaced pair's content on the disk
  // before its renames; at the end every picture and key, then the folder.
  EXPECT_EQ(
      log.Events(),
      (std::vector<std::string>{
          "sync tmp 32", "sync tmp 32", "rename Sk0.QVEL_000.KDT 32", "rename Mk0.QVEL_000.KDT 32",
          "start tmp 76", "start tmp 76", "rename Sk1.QVEL_000.KDT 76",
          "rename Mk1.QVEL_000.KDT 76", "sync Mk0.QVEL_000.KDT 76", "sync Sk0.QVEL_000.KDT 76",
          "sync Mk1.QVEL_000.KDT 76", "sync Sk1.QVEL_000.KDT 76", "sync . 76"}));
  EXPECT_EQ(std::filesystem::file_size(Path("out/Sk1.QVEL_000.KDT")), 942784u);
  task.Cancel();
  EXPECT_EQ(tasks_test::FilesIn(Path("out")),
            (std::vector<std::string>{"Mk0.QVEL_000.KDT", "Sk0.QVEL_000.KDT"}));
  EXPECT_EQ(test_support::ReadWholeFile(Path("out/Mk0.QVEL_000.KDT")), oldPicture);
  EXPECT_EQ(test_support::ReadWholeFile(Path("out/Sk0.QVEL_000.KDT")), oldKey);
}

// A keyed target that cannot be put in place whole leaves the pair as it was, from the moment
// its save fails, not only once the run has ended: a full disk while the key is written, a
// rename of the key or of the picture that fails. The picture goes in last, so a failure never
// leaves a new picture beside an old key; a key put in before it is taken back.
TEST_F(BatchProgressTest, KeyedTargetReplacesOldPairWholeOrNotAtAll) {
  SaveKdtAsKdt(true);
  s_onLoad = GiveKeyPlane;
  Write("k0.bmp", Picture::Pattern(64, 48));
  const std::string picture = "Mk0.QVEL_000.KDT", key = "Sk0.QVEL_000.KDT";
  // What reaches the folder: the writer's syncs and renames, then the task putting back at once
  // the old content of what the failed save replaced.
  const std::string toPicture = "rename " + picture + " 0", toKey = "rename " + key + " 0";
  struct Case {
    const char *what;
    bool oldKey;
    bool fullDisk;  // room for the picture, not for its key beside it
    std::string failingRename;
    std::vector<std::string> events;
  } const cases[] = {
      {"full disk while the key is written", true, true, "", {toPicture, toKey}},
      {"rename of the key fails",
       true,
       false,
       key,
       {"sync tmp 0", "sync tmp 0", toKey, toPicture, toKey}},
      {"rename of the picture fails",
       true,
       false,
       picture,
       {"sync tmp 0", "sync tmp 0", toKey, toPicture, toPicture, toKey}},
      {"rename of the picture fails, no old key",
       false,
       false,
       picture,
       {"sync tmp 0", "start tmp 0", toKey, toPicture, toPicture}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    test_support::SmallDisk disk(1536 * 1024);
    if (c.fullDisk && !disk.Mounted()) {
      std::cout << "[  SKIPPED ] " << c.what << ": " << disk.WhyNot() << "\n";
      continue;
    }
    const std::string out = c.fullDisk ? disk.Folder() : Path("out/");
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directory(Path("out"));
    std::map<std::string, std::vector<unsigned char>> old = {{picture, {'p'}}};
    if (c.oldKey) old[key] = {'k'};
    for (const auto &[name, bytes] : old) test_support::WriteWholeFile(out + name, bytes);
    auto visible = [&out] {
      std::map<std::string, std::vector<unsigned char>> files;
      for (const std::string &name : tasks_test::FilesIn(out)) {
        if (name[0] != '.') files[name] = test_support::ReadWholeFile(out + name);
      }
      return files;
    };
    tasks_test::ScriptedMessageBox box({tasks_test::MessageAnswer::Yes});
    auto task = std::make_unique<CTaskBatch>(m_engine);
    task->UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
    int ret = 0;
    task->LoadRGB({Path("k0.bmp")}, 0, ret);
    test_support::SyncLog log(out.substr(0, out.size() - 1));
    log.FailNextRenameTo(c.failingRename);
    EXPECT_EQ(task->SaveRGB(out, "KDT"), ERR_FILE_WRITE);
    EXPECT_EQ(task->GetErrorInfo(), out + picture + " can not be written.");
    EXPECT_EQ(visible(), old);
    EXPECT_EQ(log.Events(), c.events);
    task->Cancel();
    task.reset();
    EXPECT_EQ(tasks_test::FilesIn(out).size(), old.size());
    EXPECT_EQ(visible(), old);
  }
}

// Holds the worker in the overwrite question until the test thread has asked the task to stop,
// as an operator pressing Cancel while the question is up would.
class StopDuringQuestion : public platform::MessageBoxService {
 public:
  StopDuringQuestion() { platform::SetMessageBoxService(this); }
  ~StopDuringQuestion() override { platform::SetMessageBoxService(nullptr); }
  platform::MessageAnswer Show(const std::string &, platform::MessageButtons) override {
    asked.set_value();
    stopped.get_future().wait();
    return platform::MessageAnswer::Yes;
  }
  std::promise<void> asked, stopped;
};

// A stop request reaching a batch on a worker thread while it saves its second of five targets:
// the batch finishes that target and ends, and Cancel removes what it wrote and puts back the
// file the second target replaced.
TEST_F(BatchTaskTest, StopOnAnotherThreadDuringSecondTargetEndsAfterIt) {
  Picture source = Picture::Pattern(64, 48);
  std::vector<std::string> paths;
  for (int i = 0; i < 5; ++i) {
    Write(NumberedBmp("f", i), source);
    paths.push_back(Path(NumberedBmp("f", i)));
  }
  std::filesystem::create_directory(Path("out"));
  Write("out/f1.BMP", Picture::Solid(8, 8, 3));  // the second target exists: the worker asks

  StopDuringQuestion box;
  CTaskBatch task(m_engine);
  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  int saveResult = -1;
  test_support::WorkerWithDeadline worker([&] {
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    if (task.GetConvertResult() == 0) task.GetRGB(0);
    if (task.GetConvertResult() == 0) saveResult = task.SaveRGB(Path("out/"), "BMP");
  });
  const bool asked =
      test_support::ReadyWithin(box.asked.get_future(), "the question about the second target");
  // Meanwhile the UI thread polls, as the progress dialog does.
  if (asked) {
    EXPECT_EQ(task.GetConvertResult(), 0);
    EXPECT_EQ(task.GetProgressStatus(), 10u + 3 * 9);
  }
  task.Stop();
  box.stopped.set_value();
  worker.Join();
  if (!asked) return;

  EXPECT_EQ(saveResult, ERR_STOPPED);
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_EQ(task.GetProgressStatus(), 10u + 4 * 9);
  EXPECT_EQ(Read("out/f1.BMP").bits, source.bits);  // the current target was completed
  EXPECT_FALSE(Exists(Path("out/f2.BMP")));
  task.Cancel();
  EXPECT_FALSE(Exists(Path("out/f0.BMP")));
  EXPECT_EQ(tasks_test::FilesIn(Path("out")), std::vector<std::string>{"f1.BMP"});  // put back
}

}  // namespace
