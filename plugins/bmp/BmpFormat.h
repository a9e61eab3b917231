// Layout facts of the bitmap file shared by the reader and the writer.
#pragma once

#include <cstdint>

namespace bmp {

// The file header; the information header follows it.
constexpr uint64_t kFileHeaderSize = 14;
// The information header's fields that are read and written; a file may state a longer header
// (biSize), whose further fields are not read.
constexpr uint64_t kInfoHeaderSize = 40;
// Both headers as the writer writes them: where its pixel rows start.
constexpr uint64_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
// Bytes of one palette entry on disk: blue, green, red, one unused byte.
constexpr uint64_t kPaletteEntrySize = 4;

// Bytes of one stored row of `width` pixels of `bitCount` bits, padded to a multiple of 4.
constexpr uint64_t RowStride(uint64_t width, uint64_t bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

}  // namespace bmp
