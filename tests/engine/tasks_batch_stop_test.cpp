// A stop request reaching a batch on a worker thread while it saves its second of five targets:
// the batch finishes that target and ends, and Cancel removes what it wrote.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "engine/TaskBatch.h"
#include "tasks_test_support.h"

namespace {

using platform::MessageAnswer;
using tasks_test::Exists;
using tasks_test::Picture;

// Holds the worker in the overwrite question until the test thread has asked the task to stop,
// as an operator pressing Cancel while the question is up would.
class StopDuringQuestion : public platform::MessageBoxService {
 public:
  StopDuringQuestion() { platform::SetMessageBoxService(this); }
  ~StopDuringQuestion() override { platform::SetMessageBoxService(nullptr); }
  MessageAnswer Show(const std::string &, platform::MessageButtons) override {
    asked.set_value();
    stopped.get_future().wait();
    return MessageAnswer::Yes;
  }
  std::promise<void> asked;
  std::promise<void> stopped;
};

class BatchStopTest : public tasks_test::RealPluginsTest {};

TEST_F(BatchStopTest, StopDuringSecondTargetEndsAfterIt) {
  Picture source = Picture::Pattern(64, 48);
  std::vector<std::string> paths;
  for (int i = 0; i < 5; ++i) {
    paths.push_back(m_dir / ("f" + std::to_string(i) + ".bmp"));
    Write(paths.back(), source);
  }
  std::filesystem::create_directory(m_dir / "out");
  const std::string out = m_dir / "out/";
  Picture old = Picture::Solid(8, 8, 1, 2, 3);
  Write(out + "f1.BMP", old);  // the second target exists: the worker asks about it

  StopDuringQuestion box;
  CTaskBatch task(m_engine);
  task.UpdateConvParameter(720, 487, ShiftNormal, static_cast<uint32_t>(CompositeMode::None));
  int saveResult = -1;
  std::thread worker([&] {
    int ret = 0;
    task.LoadRGB(paths, 0, ret);
    if (task.GetConvertResult() == 0) task.GetRGB(0);
    if (task.GetConvertResult() == 0) saveResult = task.SaveRGB(out, "BMP");
  });
  box.asked.get_future().wait();
  // Meanwhile the UI thread polls, as the progress dialog does.
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_LT(task.GetProgressStatus(), 100u);
  task.Stop();
  box.stopped.set_value();
  worker.join();

  EXPECT_EQ(saveResult, ERR_STOPPED);
  EXPECT_EQ(task.GetConvertResult(), 0);
  EXPECT_EQ(task.GetProgressStatus(), 10u + 4 * 9);
  EXPECT_EQ(Read(out + "f1.BMP").bits, source.bits);  // the current target was completed
  for (int i = 2; i < 5; ++i) EXPECT_FALSE(Exists(out + "f" + std::to_string(i) + ".BMP")) << i;
  EXPECT_EQ(task.GetTargetFileName(), out + "f1.BMP");
  task.Cancel();
  EXPECT_FALSE(Exists(out + "f0.BMP"));
  EXPECT_FALSE(Exists(out + "f1.BMP"));
}

}  // namespace
