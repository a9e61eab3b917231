// Layout facts of the bitmap file shared by the reader and the writer.
#pragma once

#include <cstdint>

namespace bmp {

// File header (14 bytes) plus information header (40 bytes): where the palette starts.
constexpr uint64_t kHeadersSize = 54;
// Bytes of one palette entry on disk: blue, green, red, one unused byte.
constexpr uint64_t kPaletteEntrySize = 4;

// Bytes of one stored row of `width` pixels of `bitCount` bits, padded to a multiple of 4.
constexpr uint64_t RowStride(uint64_t width, uint64_t bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

}  // namespace bmp
