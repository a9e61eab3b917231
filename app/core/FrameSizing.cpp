#include "app/core/FrameSizing.h"

FrameRect KeepMinimumFrameSize(FrameRect proposed, int screenWidth, int screenHeight) {
  const int x = CentredOrigin(screenWidth, kFrameMinWidth);
  const int y = CentredOrigin(screenHeight, kFrameMinHeight);
  // 64-bit differences: a rectangle from the toolkit may span the whole int range.
  if (static_cast<long long>(proposed.right) - proposed.left < kFrameMinWidth) {
    proposed.left = x;
    proposed.right = x + kFrameMinWidth;
  }
  if (static_cast<long long>(proposed.bottom) - proposed.top < kFrameMinHeight) {
    proposed.top = y;
    proposed.bottom = y + kFrameMinHeight;
  }
  return proposed;
}
