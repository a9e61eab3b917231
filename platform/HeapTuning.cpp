#include "platform/HeapTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace platform {

namespace {

// Buffers up to this size come from the heap: the largest the C library accepts, far above a
// picture of the largest format (6,220,800 bytes).
constexpr int kMappingThreshold = 32 * 1024 * 1024;
// Free memory at the top of the heap is kept up to this much: the buffers of the largest run
// (nine full-size sources of a composite with its canvas and body) stay for the next run.
constexpr int kTrimThreshold = 96 * 1024 * 1024;

}  // namespace

void TuneHeapForPictures() {
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
  mallopt(M_MMAP_THRESHOLD, kMappingThreshold);
  mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
#endif
}

}  // namespace platform
