// Time of a still-mode field exchange of a 1920 x 1080 KDT file, from the load through the
// plug-in host to the target written, with a new task per run as the workflow makes one.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "engine/TaskModeConv.h"

namespace fs = std::filesystem;

namespace {

void BM_StillExchange1920x1080(benchmark::State &state) {
  CImageFileEngine engine;
  engine.Initialization();
  std::string base = (fs::temp_directory_path() / "quenda-modeconv-bench-XXXXXX").string();
  if (mkdtemp(base.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string sources = base + "/src/";
  const std::string targets = base + "/dst/";
  fs::create_directories(sources);
  fs::create_directories(targets);
  const std::string source = sources + "MBENCH.QVEL_000.KDT";
  std::vector<unsigned char> pixels(size_t{1920} * 1080 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i % 251);
  tagRGBInfo picture{1920, 1080, 24, pixels.data(), nullptr};
  if (engine.SaveRGB(source, "KDT", &picture) != 0) {
    state.SkipWithError("cannot write the source (are the plug-ins in dll/?)");
    fs::remove_all(base);
    return;
  }

  for (auto _ : state) {
    CTaskModeConv task(engine);
    int ret = 0;
    task.LoadRGB({source}, 0, ret);
    task.GetYUVDataSrc(2);
    const int saved = task.SaveRGB(targets, "KDT");
    if (task.GetConvertResult() != 0 || saved != 0) {
      state.SkipWithError("the exchange failed");
      break;
    }
  }
  fs::remove_all(base);
}
BENCHMARK(BM_StillExchange1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
