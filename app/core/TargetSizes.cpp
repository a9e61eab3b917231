#include "app/core/TargetSizes.h"

namespace {

constexpr TargetSize kTargetSizes[] = {{720, 487}, {720, 576}, {1280, 720}, {1920, 1080}};
constexpr unsigned kTargetSizeCount = sizeof kTargetSizes / sizeof kTargetSizes[0];

}  // namespace

const TargetSize &TargetSizeOf(unsigned index) {
  return kTargetSizes[index < kTargetSizeCount ? index : 0];
}

int SizeIndexOf(uint32_t width, uint32_t height) {
  const uint64_t sum = uint64_t{width} + height;
  for (unsigned i = 0; i < kTargetSizeCount; ++i) {
    if (sum == uint64_t{kTargetSizes[i].width} + kTargetSizes[i].height) {
      return static_cast<int>(i);
    }
  }
  return 0;
}
