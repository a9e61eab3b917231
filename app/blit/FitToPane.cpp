#include "app/blit/FitToPane.h"

#include <limits>
#include <new>
#include <optional>

#include "app/blit/StretchBlit.h"
#include "codec/PictureBytes.h"

bool FitToPane(const tagRGBInfo &picture, int paneWidth, int paneHeight, FittedPicture &fitted) {
  const int64_t w = picture.width;
  const int64_t h = picture.height;
  if (picture.ptBits == nullptr || w == 0 || h == 0) return false;
  // Fit to the width first; if that is too high, to the height. 64 bits keep the products exact
  // for pictures of any size.
  int64_t dstW = paneWidth;
  int64_t dstH = paneWidth * h / w;
  int64_t x = 0;
  int64_t y = (paneHeight - dstH) / 2;
  if (dstH > paneHeight) {
    dstH = paneHeight;
    dstW = paneHeight * w / h;
    y = 0;
    x = (paneWidth - dstW) / 2;
  }
  // A picture so narrow or flat that it fits to no whole pixel in one direction, or too large
  // for the blitter's sizes or, in the blitter's 4 bytes a pixel, for the largest picture, is
  // not drawn.
  constexpr int64_t kMaxSide = std::numeric_limits<int>::max();
  if (dstW < 1 || dstH < 1 || w > kMaxSide || h > kMaxSide) return false;
  const std::optional<size_t> sourceBytes = PictureBytes(w, h, 4);
  const std::optional<size_t> resultBytes = PictureBytes(dstW, dstH, 4);
  if (!sourceBytes || !resultBytes) return false;
  fitted.x = static_cast<int>(x);
  fitted.y = static_cast<int>(y);
  fitted.width = static_cast<int>(dstW);
  fitted.height = static_cast<int>(dstH);
  fitted.scale = static_cast<int>(dstW * 100 / w);

  try {
    fitted.rgb.resize(*resultBytes / 4 * 3);
  } catch (const std::bad_alloc &) {
    return false;  // no memory for this paint
  }
  // The blit reads the picture's 3-byte pixels as they are, no copy of it in another form.
  BlitStretchRgb(fitted.rgb.data(), fitted.width, fitted.height, picture.ptBits,
                 static_cast<int>(w), static_cast<int>(h));
  return true;
}
