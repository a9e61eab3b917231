// Builds bitmap files byte by byte for the loader tests and the fuzz seeds, malformed ones too.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace plugintest {

using Bytes = std::vector<uint8_t>;

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
};

// Appends `value` as `width` little-endian bytes (bytes past the eighth are zero).
inline void PutLe(Bytes &out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(i < 8 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

constexpr uint32_t kFarOffset = 1u << 20;

// The file that `spec` describes; rows are stored bottom row first, padded to 4 bytes.
inline Bytes EncodeBmp(const BmpSpec &spec) {
  const uint32_t offBits =
      spec.offBits.value_or(54 + 4 * static_cast<uint32_t>(spec.palette.size()));
  Bytes out{'B', 'M'};
  PutLe(out, 0, 4);  // bfSize: the reader ignores it
  PutLe(out, 0, 4);
  PutLe(out, offBits, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(spec.width), 4);
  PutLe(out, static_cast<uint32_t>(spec.height), 4);
  PutLe(out, 1, 2);
  PutLe(out, spec.bitCount, 2);
  PutLe(out, spec.compression, 4);
  PutLe(out, 0, 4 * 3);
  PutLe(out, spec.clrUsed, 4);
  PutLe(out, 0, 4);
  for (uint32_t rgb : spec.palette) {
    out.insert(out.end(), {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0});
  }
  // Rows follow at offBits; an offset far past the palette (a malformed file) is not padded to.
  if (offBits < kFarOffset) out.resize(std::max<size_t>(out.size(), offBits), 0);
  if (spec.pixels.empty()) return out;
  const size_t rowStart = out.size();
  for (int32_t row = spec.height - 1; row >= 0; --row) {
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

}  // namespace plugintest
