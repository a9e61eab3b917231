// Feeds arbitrary files to the bitmap plug-in's loader.
#include "fuzz/LoaderFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return fuzzing::FuzzLoader(data, size);
}
