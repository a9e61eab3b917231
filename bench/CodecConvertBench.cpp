// Times the KDT encoder and decoder on a 1920 x 1080 picture of varied colours, with each copy of
// the conversions the processor runs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "codec/ColourConvert.h"
#include "codec/ConversionVariant.h"
#include "platform/HeapTuning.h"

namespace {

constexpr int kForm = 3;  // 1920 x 1080
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A picture with smooth gradients and pseudo-random noise, so neither direction sees only a few
// repeated values.
std::vector<unsigned char> MakePicture() {
  std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
  uint32_t state = 12345;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      unsigned char *p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
      p[0] = static_cast<unsigned char>(x * 255 / kWidth);
      p[1] = static_cast<unsigned char>(y * 255 / kHeight);
      p[2] = static_cast<unsigned char>(state >> 24);
    }
  }
  return rgb;
}

// Encoding and decoding with one copy of the conversions' per-pixel code (see
// ConversionVariant.h); the benchmarks named without a copy use the public functions, which pick
// the fastest copy the processor runs.
void EncodeBench(benchmark::State &state, ConversionVariant variant) {
  const std::vector<unsigned char> rgb = MakePicture();
  for (auto _ : state) {
    unsigned char *body = nullptr;
    int lenYUV = 0;
    if (EncodePictureWith(variant, rgb.data(), &body, &lenYUV, kForm, 0) != 0) {
      state.SkipWithError("encode");
    }
    benchmark::DoNotOptimize(body);
    std::free(body);
  }
}

void DecodeBench(benchmark::State &state, ConversionVariant variant) {
  const std::vector<unsigned char> rgb = MakePicture();
  unsigned char *body = nullptr;
  int lenYUV = 0;
  if (tranRGB2YUV(rgb.data(), &body, &lenYUV, kForm, 0) != 0) {
    state.SkipWithError("encode");
    return;
  }
  for (auto _ : state) {
    unsigned char *picture = nullptr;
    int lenRGB = 0;
    if (DecodeBodyWith(variant, body, lenYUV, &picture, &lenRGB) != 0) {
      state.SkipWithError("decode");
    }
    benchmark::DoNotOptimize(picture);
    std::free(picture);
  }
  std::free(body);
}

void BM_RgbToYuv1080(benchmark::State &state) {
  EncodeBench(state, FastestConversionVariant());
}
BENCHMARK(BM_RgbToYuv1080)->Unit(benchmark::kMillisecond);

void BM_YuvToRgb1080(benchmark::State &state) {
  DecodeBench(state, FastestConversionVariant());
}
BENCHMARK(BM_YuvToRgb1080)->Unit(benchmark::kMillisecond);

// One benchmark per direction for every copy the processor runs, e.g. BM_RgbToYuv1080/sse41.
void RegisterVariantBenchmarks() {
  for (ConversionVariant variant : kCompiledConversionVariants) {
    if (!ProcessorRuns(variant)) continue;
    const std::string suffix = std::string("/") + ConversionVariantName(variant);
    benchmark::RegisterBenchmark(("BM_RgbToYuv1080" + suffix).c_str(), EncodeBench, variant)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_YuvToRgb1080" + suffix).c_str(), DecodeBench, variant)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();  // as the program does
  RegisterVariantBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
