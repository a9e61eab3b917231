// The inputs of the KDT fuzz target. A whole KDT file is at least 942,784 bytes, and fuzzing
// inputs of that size tries a few hundred a second; so most roads take a small input and build
// what they need from it. The first byte chooses the road and its options, the rest is the
// payload:
//
//   bits 0-1  road: kWholeFile   the payload is the file, loaded with and without pixels;
//                   kBuiltFile   the payload is a 64-byte header and the start of a body that the
//                                target completes with zero bytes to the chosen form's length;
//                   kStream      the payload is read by readKDT from memory, and its bytes are
//                                checksummed and compared with a plain byte-lane XOR;
//                   kSmallBody   the payload fills a body of a few short lines laid out like the
//                                chosen form, decoded by every copy of the decoder.
//   bits 2-3  form 1 to 4 (kBuiltFile, kSmallBody)
//   bits 4-5  body length (kBuiltFile): the form's, one byte short, one byte long, four short
//   bit 6     kBuiltFile: the checksum is made right before the file is written
//   bit 7     kBuiltFile: loaded with pixels (else without)
//
// For kSmallBody the payload starts with three bytes: the width in groups of 4 pixels (2 to 65),
// the lines (1 to 8) and the spare slots between the fields of an interlaced form (0 to 3).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kdt_fuzz {

enum Road : uint8_t { kWholeFile = 0, kBuiltFile = 1, kStream = 2, kSmallBody = 3 };

enum LengthChange : uint8_t { kExact = 0, kOneShort = 1, kOneLong = 2, kFourShort = 3 };

constexpr uint8_t kFixChecksum = 0x40;
constexpr uint8_t kWithPixels = 0x80;

constexpr uint8_t Selector(Road road, int form = 1, LengthChange length = kExact,
                           uint8_t flags = 0) {
  return static_cast<uint8_t>(road | (form - 1) << 2 | length << 4 | flags);
}

constexpr Road RoadOf(uint8_t selector) {
  return static_cast<Road>(selector & 3);
}
constexpr int FormOf(uint8_t selector) {
  return 1 + (selector >> 2 & 3);
}
constexpr LengthChange LengthOf(uint8_t selector) {
  return static_cast<LengthChange>(selector >> 4 & 3);
}

constexpr size_t kSmallBodyHead = 3;  // width, lines, spare slots

}  // namespace kdt_fuzz
