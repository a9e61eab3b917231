// A stop request reaching a batch on a worker thread while it saves its second of five targets:
// the batch finishes that target and ends, and Cancel removes what it wrote.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "engine/TaskBatch.h"
#include "tasks_test_support.h"

namespace {

using tasks_test::Picture;

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

class BatchStopTest : public tasks_test::RealPluginsTest {};

TEST_F(BatchStopTest, StopDuringSecondTargetEndsAfterIt) {
  Picture source = Picture::Pattern(64, 48);
  std::vector<std::string> paths;
  for (int i = 0; i < 5; ++i) {
    Write("f" + std::to_string(i) + ".bmp", source);
    paths.push_back(Path("f" + std::to_string(i) + ".bmp"));
  }
  std::filesystem::create_directory(Path("out"));
  Write("out/f1.BMP", Picture::Solid(8, 8, 3));  // the second target exists: the worker asks

  StopDuringQuestion box;
  CTaskBatch task(m_engine);
  task.UpdateConvParameter(720, 487, ShiftNormal, uint32_t(CompositeMode::None));
  int saveResult = -1;
  std::thread worker([&] {
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    if (task.GetConvertResult() == 0) task.GetRGB(0);
    if (task.GetConvertResult() == 0) saveResult = task.SaveRGB(Path("out/"), "BMP");
  });
  box.asked.get_future().wait();
  // Meanwhile the UI thread polls, as the progress dialog does.
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_EQ(task.GetProgressStatus(), 10u + 3 * 9);
  task.Stop();
  box.stopped.set_value();
  worker.join();

  EXPECT_EQ(saveResult, ERR_STOPPED);
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_EQ(task.GetProgressStatus(), 10u + 4 * 9);
  EXPECT_EQ(Read("out/f1.BMP").bits, source.bits);  // the current target was completed
  EXPECT_FALSE(tasks_test::Exists(Path("out/f2.BMP")));
  task.Cancel();
  EXPECT_FALSE(tasks_test::Exists(Path("out/f0.BMP")));
  EXPECT_FALSE(tasks_test::Exists(Path("out/f1.BMP")));
}

}  // namespace
