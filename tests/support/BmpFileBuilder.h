// Builds bitmap files byte by byte, malformed ones too: for the plug-in tests and the fuzz seeds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace test_support {

struct BmpSpec {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;             // as stored in the file
  std::vector<uint32_t> palette{};  // 0xRRGGBB entries written after the headers
  // Top row first: palette indexes, or 0xRRGGBB at 24 bits; empty: the file ends before the rows.
  std::vector<uint32_t> pixels{};
  std::optional<uint32_t> offBits{};  // default: right after the palette
  uint32_t infoSize = 40;             // biSize; a longer information header ends in zero bytes
};

// Appends `value` as `width` little-endian bytes (bytes past the eighth are zero).
inline void PutLe(std::vector<uint8_t> &out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(i < 8 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

// The file that `spec` describes; rows are stored bottom row first, padded to 4 bytes. Rows
// follow at the offset, except that an offset of 1 MiB or more (a malformed file) is not padded to.
inline std::vector<uint8_t> EncodeBmp(const BmpSpec &spec) {
  const uint32_t headersEnd = 14 + std::max<uint32_t>(spec.infoSize, 40);
  const uint32_t offBits =
      spec.offBits.value_or(headersEnd + 4 * static_cast<uint32_t>(spec.palette.size()));
  std::vector<uint8_t> out{'B', 'M'};
  for (const auto &[value, width] : {std::pair<uint64_t, int>{0, 8},
                                     {offBits, 4},
                                     {spec.infoSize, 4},
                                     {uint32_t(spec.width), 4},
                                     {uint32_t(spec.height), 4},
                                     {1, 2},
                                     {spec.bitCount, 2},
                                     {spec.compression, 4},
                                     {0, 12},
                                     {spec.clrUsed, 4},
                                     {0, 4}}) {
    PutLe(out, value, width);
  }
  out.resize(headersEnd, 0);
  for (uint32_t rgb : spec.palette)
    out.insert(out.end(), {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0});
  if (offBits < (1u << 20)) out.resize(std::max<size_t>(out.size(), offBits), 0);
  const size_t rowStart = out.size();
  for (int32_t row = spec.height - 1; row >= 0 && !spec.pixels.empty(); --row) {
    int bitsUsed = 0;
    for (int32_t x = 0; x < spec.width; ++x) {
      const uint32_t value = spec.pixels.at(static_cast<size_t>(row * spec.width + x));
      if (spec.bitCount > 8) {  // whole bytes, little-endian: 24 bits give blue, green, red
        PutLe(out, value, spec.bitCount / 8);
        continue;
      }
      if (bitsUsed == 0) out.push_back(0);
      bitsUsed += spec.bitCount;
      out.back() |= static_cast<uint8_t>(value << (8 - bitsUsed));
      if (bitsUsed == 8) bitsUsed = 0;
    }
    while ((out.size() - rowStart) % 4 != 0) out.push_back(0);
  }
  return out;
}

}  // namespace test_support
