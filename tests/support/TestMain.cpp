// The entry of every test program without a window: the heap tuned as the program tunes it, then
// the tests.
#include <gtest/gtest.h>

#include "platform/HeapTuning.h"

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
