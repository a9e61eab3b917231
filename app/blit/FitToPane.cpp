#include "app/blit/FitToPane.h"

#include <limits>
#include <new>
#include <optional>

#include "app/blit/StretchBlit.h"
#include "codec/ChannelSwap.h"
#include "codec/PictureBytes.h"

namespace {

// Source rows in the blitter's form (blue, green, red, 0 in bytes 0 to 3), made as the blit asks
// for them. The blit reads at most two rows per row it writes, and the lower row of one is often
// the upper row of the next, so two rows are kept.
class BlitterRows {
 public:
  BlitterRows(const tagRGBInfo &picture, size_t width) : m_picture(picture), m_width(width) {
    for (Row &row : m_rows) row.pixels.resize(width);
  }

  // A row that is not kept replaces the one not returned last, so the row returned last stays
  // valid while the next is made.
  const uint32_t *operator()(size_t r) {
    for (int i = 0; i < 2; ++i) {
      if (m_rows[i].index == r) return Returned(i);
    }
    const int i = m_last ^ 1;
    m_rows[i].index = r;
    WidenToBlueGreenRedZero(m_picture.ptBits + r * m_width * 3, m_rows[i].pixels.data(), m_width);
    return Returned(i);
  }

 private:
  struct Row {
    size_t index = std::numeric_limits<size_t>::max();
    std::vector<uint32_t> pixels;
  };
  const tagRGBInfo &m_picture;
  size_t m_width;
  const uint32_t *Returned(int i) {
    m_last = i;
    return m_rows[i].pixels.data();
  }

  Row m_rows[2];
  int m_last = 1;
};

}  // namespace

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
    std::vector<uint32_t> result(*resultBytes / 4);
    fitted.rgb.resize(result.size() * 3);
    // Only the rows the blitter reads are made into its form, not the whole picture.
    BlitStretchRows(result.data(), fitted.width, fitted.height, static_cast<int>(w),
                    static_cast<int>(h), BlitterRows(picture, static_cast<size_t>(w)));
    NarrowFromBlueGreenRedZero(result.data(), fitted.rgb.data(), result.size());
  } catch (const std::bad_alloc &) {
    return false;  // no memory for this paint
  }
  return true;
}
