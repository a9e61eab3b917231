// The tuned heap keeps picture buffers for the next file: on a worker thread, as conversions run,
// buffers of a full-size picture that are freed and allocated again are not faulted in afresh.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <thread>

#include "platform/HeapTuning.h"

namespace {

long PageFaultsOfThisThread() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt;
}

// Allocates the buffers of one file of an import (the source's pixels, the canvas, the body),
// writes every page of them, and frees them together.
void OneFile() {
  constexpr size_t kSizes[] = {6220800, 6220800, 5188800};
  void *volatile buffers[3];
  for (int i = 0; i < 3; ++i) {
    auto *bytes = static_cast<unsigned char *>(std::malloc(kSizes[i]));
    ASSERT_NE(bytes, nullptr);
    for (size_t b = 0; b < kSizes[i]; b += 4096) bytes[b] = static_cast<unsigned char>(b);
    buffers[i] = bytes;
  }
  for (void *buffer : buffers) std::free(buffer);
}

TEST(HeapTuning, BuffersOfTheNextFileAreNotFaultedInAgain) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers bring their own allocator";
#endif
  platform::TuneHeapForPictures();
  long laterFaults = -1;
  std::thread([&laterFaults] {
    OneFile();  // the first file faults its buffers in
    const long before = PageFaultsOfThisThread();
    for (int file = 0; file < 4; ++file) OneFile();
    laterFaults = PageFaultsOfThisThread() - before;
  }).join();
  // Untuned, each file faults in all of its 4,200 pages again.
  EXPECT_LT(laterFaults, 100);
}

}  // namespace
