// The cancel request of the field-exchange task, raised by another thread while a sequence runs
// on a worker thread: the target in progress is finished, no further file is touched.
#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "engine/TaskModeConv.h"
#include "tests/engine/ModeConvFiles.h"

using namespace modeconv_test;

namespace {

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

TEST(ModeConvCancelTest, RaisedFromAnotherThreadStopsBeforeTheNextFile) {
  CImageFileEngine engine;
  engine.Initialization(QUENDA_PLUGIN_DIR);
  RecordedMessages messages;
  TempFolder sources;
  TempFolder targets;
  std::vector<std::string> files;
  for (int i = 1; i <= 5; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "Mcut.QVEL_%03d.KDT", i);
    files.push_back(sources.path() + name);
    WriteKdt(files.back(), 1, RandomBody(1, static_cast<uint32_t>(i)));
  }

  PausingTask task(engine);
  std::future<void> inFirstSave = task.inFirstSave.get_future();
  int ret = -1;
  std::thread worker([&] { task.LoadAllRGB(files, 0, ret, targets.path(), "KDT", 2); });
  inFirstSave.wait();
  EXPECT_LT(task.GetProgressStatus(), 100u);
  task.m_cancelFlag = 1;
  task.flagRaised.set_value();
  worker.join();

  EXPECT_EQ(ret, 0);
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_EQ(task.GetProgressStatus(), 100u);
  EXPECT_EQ(task.saves, 1) << "no file after the cancel";
  // The target in progress is finished and stays.
  EXPECT_EQ(FolderEntries(targets.path()), std::vector<std::string>{"Mcut.QVEL_002.KDT"});
  EXPECT_EQ(ReadKdt(targets.path() + "Mcut.QVEL_002.KDT").result, 1);
  EXPECT_TRUE(messages.texts().empty());
}

}  // namespace
