#include "app/blit/FitToPane.h"

#include <limits>
#include <new>

#include "app/blit/StretchBlit.h"

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
  constexpr int64_t kMaxSide = std::numeric_limits<int>::max();
  if (dstW < 1 || dstH < 1 || w > kMaxSide || h > kMaxSide) return false;
  fitted.x = static_cast<int>(x);
  fitted.y = static_cast<int>(y);
  fitted.width = static_cast<int>(dstW);
  fitted.height = static_cast<int>(dstH);
  fitted.scale = static_cast<int>(dstW * 100 / w);

  std::vector<uint32_t> source;
  std::vector<uint32_t> result;
  try {
    source.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    result.resize(static_cast<size_t>(dstW) * static_cast<size_t>(dstH));
    fitted.rgb.resize(result.size() * 3);
  } catch (const std::bad_alloc &) {
    return false;
  }
  const unsigned char *in = picture.ptBits;
  for (uint32_t &pixel : source) {
    pixel = static_cast<uint32_t>(in[2]) | static_cast<uint32_t>(in[1]) << 8 |
            static_cast<uint32_t>(in[0]) << 16;
    in += 3;
  }
  _Thum_BlitStretch(result.data(), fitted.width, fitted.height, source.data(), static_cast<int>(w),
                    static_cast<int>(h));
  unsigned char *out = fitted.rgb.data();
  for (uint32_t pixel : result) {
    out[0] = static_cast<unsigned char>(pixel >> 16);
    out[1] = static_cast<unsigned char>(pixel >> 8);
    out[2] = static_cast<unsigned char>(pixel);
    out += 3;
  }
  return true;
}
