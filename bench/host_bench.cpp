// Time to load a full-size picture through the plug-in host: a 1920 x 1080 KDT still with its
// pixels decoded, and a 1920 x 1080 24-bit bitmap. Each load includes freeing the record.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/ImageFileEngine.h"

namespace fs = std::filesystem;

namespace {

// The engine bound to the plug-ins beside this program, and the two files it loads.
class Fixture {
 public:
  Fixture() {
    engine_.Initialization();
    std::string base = (fs::temp_directory_path() / "quenda-bench-XXXXXX").string();
    if (mkdtemp(base.data()) == nullptr) return;
    folder_ = base + "/";
    std::vector<unsigned char> pixels(size_t{1920} * 1080 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i % 251);
    tagRGBInfo picture{1920, 1080, 24, pixels.data(), nullptr};
    kdtSaved_ = engine_.SaveRGB(kdt(), "KDT", &picture) == 0;
    bmpSaved_ = engine_.SaveRGB(bmp(), "BMP", &picture) == 0;
  }
  ~Fixture() {
    if (!folder_.empty()) fs::remove_all(folder_);
  }
  std::string kdt() const { return folder_ + "MBENCH.QVEL_000.KDT"; }
  std::string bmp() const { return folder_ + "bench.bmp"; }
  bool kdtSaved_ = false, bmpSaved_ = false;
  CImageFileEngine engine_;

 private:
  std::string folder_;
};

Fixture &Files() {
  static Fixture fixture;
  return fixture;
}

void LoadThroughHost(benchmark::State &state, const std::string &path, bool saved) {
  if (!saved) {
    state.SkipWithError("the picture could not be written; are the plug-ins built?");
    return;
  }
  for (auto _ : state) {
    int ret = 0;
    tagFileInfo *record = Files().engine_.LoadRGB(path, 1, ret);
    if (record == nullptr || record->rgbInfo.ptBits == nullptr) {
      state.SkipWithError("the picture did not load");
      PluginFreeFileInfo(record);
      return;
    }
    benchmark::DoNotOptimize(record->rgbInfo.ptBits[0]);
    PluginFreeFileInfo(record);
  }
}

void BM_LoadKdt1920x1080(benchmark::State &state) {
  LoadThroughHost(state, Files().kdt(), Files().kdtSaved_);
}
void BM_LoadBmp1920x1080(benchmark::State &state) {
  LoadThroughHost(state, Files().bmp(), Files().bmpSaved_);
}

BENCHMARK(BM_LoadKdt1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBmp1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
