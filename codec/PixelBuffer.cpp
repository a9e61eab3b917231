#include "codec/PixelBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "codec/ChannelSwap.h"
#include "codec/PictureBytes.h"

int BGRFromRGB(unsigned char *buf, unsigned int widthPix, unsigned int height) {
  const std::optional<size_t> bytes = PictureBytes(widthPix, height, 3);
  if (buf == nullptr || !bytes) return 0;
  SwapRedAndBlue(buf, buf, *bytes / 3);
  return 1;
}

int VertFlipBuf(unsigned char *inbuf, unsigned int widthBytes, unsigned int height) {
  if (inbuf == nullptr || !PictureBytes(widthBytes, height, 1)) return 0;
  for (uint64_t top = 0, bottom = height; top + 1 < bottom; ++top, --bottom) {
    unsigned char *upper = inbuf + top * widthBytes;
    std::swap_ranges(upper, upper + widthBytes, inbuf + (bottom - 1) * widthBytes);
  }
  return 1;
}

unsigned char *MakeDwordAlignedBuf(const unsigned char *dataBuf, unsigned int widthPix,
                                   unsigned int height, unsigned int *uiOutWidthBytes) {
  if (dataBuf == nullptr) return nullptr;
  const uint64_t rowBytes = uint64_t{widthPix} * 3;
  const uint64_t paddedRowBytes = (uint64_t{widthPix} * 24 + 31) / 32 * 4;
  const std::optional<size_t> total = PictureBytes(paddedRowBytes, height, 1);
  // The row length is reported as an unsigned int.
  if (!total || paddedRowBytes > UINT32_MAX) return nullptr;
  auto *out = static_cast<unsigned char *>(std::calloc(*total == 0 ? 1 : *total, 1));
  if (out == nullptr) return nullptr;
  for (uint64_t row = 0; row < height; ++row) {
    std::memcpy(out + row * paddedRowBytes, dataBuf + row * rowBytes, rowBytes);
  }
  *uiOutWidthBytes = static_cast<unsigned int>(paddedRowBytes);
  return out;
}
