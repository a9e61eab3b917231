// The entry of the benchmark programs that bring none of their own: the heap tuned as the
// program tunes it, then the benchmarks.
#include <benchmark/benchmark.h>

#include "platform/HeapTuning.h"

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
