// The colour constants of the two matrices and the 10-bit sample packing of the KDT body; shared
// by the encoder and the decoder.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "codec/PictureFormat.h"
#include "codec/SampleVectors.h"

// 32-byte vectors pass only between always-inlined helpers (see SampleVectors.h).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

// Each constant is a decimal of its own (0.701 is not computed as 1 - 0.299), since the stored
// pictures depend on the exact double values.
struct ColourMatrix {
  double kr, kg, kb;
  double oneMinusKr, oneMinusKb;
  double greenFromU, greenFromV;  // decoder weights of u and v in green
};

inline constexpr ColourMatrix kBt601{0.299, 0.587, 0.114, 0.701, 0.886, 0.1721, 0.3571};
inline constexpr ColourMatrix kBt709{0.2126, 0.7152, 0.0722, 0.7874, 0.9278, 0.0937, 0.2341};

inline const ColourMatrix &MatrixOf(const KdtPictureFormat &format) {
  return format.bt709 ? kBt709 : kBt601;
}

// A group is four 10-bit samples in 5 bytes, most significant bit first. In memory order the 5
// bytes are the top 40 bits of a big-endian 64-bit word, which is how the helpers below move
// them.
SAMPLE_INLINE uint64_t FromBigEndian(uint64_t word) {
  return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
}

// Where the samples of a group word lie: the shift that brings sample 1, 2, 3 or 4 to the low
// bits.
inline constexpr int kSample1 = 54, kSample2 = 44, kSample3 = 34, kSample4 = 24;

// The encoder's samples of one group: luma Y1 .. Y4, then chroma U1, V1, U3, V3, each 0..1023,
// side by side so that both pack in one pass.
struct alignas(32) GroupSamples {
  Int4 luma;
  Int4 chroma;
};

// The luma and the chroma group of `s` as words, each group in the top 40 bits. Each group's
// samples are joined in pairs (sample 1 or 3 shifted by 10, or'd with the next) and the two pairs
// of a group are placed at sample 1's and sample 3's position. With 32-byte registers the eight
// samples are read as four 64-bit lanes of two samples each and each lane's pair is shifted into
// place by its own count. With 16-byte registers, which shift all lanes alike, the pairs of both
// groups are gathered into one vector, whose two 64-bit lanes each hold the two pairs of a group.
template <VectorRegisters kRegisters>
SAMPLE_INLINE void GroupWords(const GroupSamples &s, uint64_t &lumaWord, uint64_t &chromaWord) {
  constexpr bool kLittle = std::endian::native == std::endian::little;
  if constexpr (kRegisters == VectorRegisters::k32Bytes) {
    Word4 lanes;
    static_assert(sizeof lanes == sizeof s);
    std::memcpy(&lanes, &s, sizeof lanes);
    const Word4 earlier = kLittle ? lanes & 0xFFFFFFFF : lanes >> 32;  // samples 1 and 3
    const Word4 later = kLittle ? lanes >> 32 : lanes & 0xFFFFFFFF;    // samples 2 and 4
    const Word4 pairs = (earlier << 10 | later) << Word4{kSample2, kSample4, kSample2, kSample4};
    const Word4 words = pairs | __builtin_shufflevector(pairs, pairs, 1, 0, 3, 2);
    lumaWord = words[0];
    chromaWord = words[2];
  } else {
    const Int4 luma = __builtin_shufflevector(s.luma << 10, s.luma, 0, 5, 2, 7);
    const Int4 chroma = __builtin_shufflevector(s.chroma << 10, s.chroma, 0, 5, 2, 7);
    const Int4 pairs = __builtin_shufflevector(luma, chroma, 0, 2, 4, 6) |
                       __builtin_shufflevector(luma, chroma, 1, 3, 5, 7);
    const Word2 lanes = std::bit_cast<Word2>(pairs);  // pairs 1-2 and 3-4 of each group
    const Word2 first = kLittle ? lanes & 0xFFFFFFFF : lanes >> 32;
    const Word2 second = kLittle ? lanes >> 32 : lanes & 0xFFFFFFFF;
    const Word2 words = first << kSample2 | second << kSample4;
    lumaWord = words[0];
    chromaWord = words[1];
  }
}

// The encoder's samples of two neighbouring groups, in the copy with 64-byte registers: lanes 0
// to 3 the first group's, 4 to 7 the second's.
struct alignas(64) GroupPairSamples {
  Int8 luma;
  Int8 chroma;
};

// The 10 bytes of both luma groups of `s`, in memory order, followed by 6 zero bytes; and the
// same of both chroma groups. The samples are narrowed to 16 bits (the luma and chroma samples of
// the first group in the lower 16-byte half, the second group's in the upper), a multiply-add of
// neighbouring samples joins each pair (sample 1 or 3 times 1024 plus the next), and each 64-bit
// lane, whose lower half holds a group's first pair and upper half its second, becomes the
// group's 40 bits in its low 5 bytes (bits above them are left over and never stored). One lane
// permutation and one byte shuffle then put each group's bytes in memory order.
struct GroupPairBytes {
  Bytes16 luma;
  Bytes16 chroma;
};

SAMPLE_INLINE GroupPairBytes GroupPairBytesOf(const GroupPairSamples &s) {
  static_assert(std::endian::native == std::endian::little, "the 64-byte copy is x86 only");
  constexpr Shorts16 kPairWeights = {1024, 1, 1024, 1, 1024, 1, 1024, 1,
                                     1024, 1, 1024, 1, 1024, 1, 1024, 1};
  const Int8 pairs = MultiplyAddPairs(NarrowedToShorts(s.luma, s.chroma), kPairWeights);
  const Word4 lanes = std::bit_cast<Word4>(pairs);  // luma 1, chroma 1, luma 2, chroma 2
  const Word4 words = lanes << 20 | lanes >> 32;
  const Word4 ordered = __builtin_shufflevector(words, words, 0, 2, 1, 3);
  constexpr unsigned char z = 0x80;  // a zero byte
  constexpr Bytes32 kIndexes = {4, 3, 2, 1, 0, 12, 11, 10, 9, 8, z, z, z, z, z, z,
                                4, 3, 2, 1, 0, 12, 11, 10, 9, 8, z, z, z, z, z, z};
  const Bytes32 bytes = ShuffleWithinParts(std::bit_cast<Bytes32>(ordered), kIndexes);
  return {
      __builtin_shufflevector(bytes, bytes, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
      __builtin_shufflevector(bytes, bytes, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
                              30, 31)};
}

// Writes the group's 5 bytes and 3 zero bytes after them, for a group that the next group of
// the same line follows.
SAMPLE_INLINE void StoreGroupAndSpill(unsigned char *out, uint64_t word) {
  const uint64_t bytes = FromBigEndian(word);
  std::memcpy(out, &bytes, 8);
}

// Writes exactly the group's 5 bytes.
SAMPLE_INLINE void StoreGroup(unsigned char *out, uint64_t word) {
  const uint64_t big = FromBigEndian(word);
  unsigned char bytes[8];
  std::memcpy(bytes, &big, 8);
  std::memcpy(out, bytes, 5);
}

// The group at `in` in the top 40 bits, reading 3 bytes past it (another group of its line).
SAMPLE_INLINE uint64_t LoadGroupAndNext(const unsigned char *in) {
  uint64_t word;
  std::memcpy(&word, in, 8);
  return FromBigEndian(word);
}

// The group at `in` in the top 40 bits, reading the 3 bytes before it (another group of its
// line) instead of any after it.
SAMPLE_INLINE uint64_t LoadGroupAfterPrevious(const unsigned char *in) {
  uint64_t word;
  std::memcpy(&word, in - 3, 8);
  return FromBigEndian(word) << 24;
}

// Four samples of a group word, limited to 64..960, as doubles; lane i holds the sample that
// `shifts[i]` brings to the low bits. The limits apply to each 32-bit half of a 64-bit lane, whose
// upper half is 0 and stays so. A sample set into the significand of 2^52 gives 2^52 + sample
// exactly, and subtracting 2^52 leaves the sample.
SAMPLE_INLINE Double4 ClampedSamplesOf(uint64_t word, Word4 shifts) {
  using Halves = int __attribute__((vector_size(32)));
  constexpr bool kLittle = std::endian::native == std::endian::little;
  constexpr Halves kLow =
      kLittle ? Halves{64, 0, 64, 0, 64, 0, 64, 0} : Halves{0, 64, 0, 64, 0, 64, 0, 64};
  constexpr Halves kHigh =
      kLittle ? Halves{960, 0, 960, 0, 960, 0, 960, 0} : Halves{0, 960, 0, 960, 0, 960, 0, 960};
  Halves sample = std::bit_cast<Halves>((Word4{word, word, word, word} >> shifts) & 0x3FF);
  sample = sample > kLow ? sample : kLow;
  sample = sample < kHigh ? sample : kHigh;
  const uint64_t twoTo52 = std::bit_cast<uint64_t>(0x1p52);
  return std::bit_cast<Double4>(std::bit_cast<Word4>(sample) | twoTo52) - 0x1p52;
}

// How the copy with 64-byte registers takes the samples of two neighbouring groups apart: the 16
// bytes that hold the groups' 10 (from byte `first` of them) are in each 16-byte quarter of a
// vector, and one byte shuffle within the quarters gives each 64-bit lane the two bytes that hold
// its sample, the earlier byte above the later; a shift then brings the sample to the low bits.
// `order` names the sample of each lane of a group, 0 to 3.
struct alignas(64) PairSampleLayout {
  unsigned char bytes[64];  // the shuffle's byte indexes; 0x80 gives a zero byte
  uint64_t shifts[8];
};

constexpr PairSampleLayout MakePairSampleLayout(int first, const int (&order)[4]) {
  PairSampleLayout layout{};
  for (int lane = 0; lane < 8; ++lane) {
    const int sample = order[lane % 4];
    const int bit = 10 * sample;  // from the top of the group's 40 bits
    const int byte = first + 5 * (lane / 4) + bit / 8;
    for (int b = 0; b < 8; ++b) layout.bytes[8 * lane + b] = 0x80;
    layout.bytes[8 * lane] = static_cast<unsigned char>(byte + 1);
    layout.bytes[8 * lane + 1] = static_cast<unsigned char>(byte);
    layout.shifts[lane] = static_cast<uint64_t>(6 - bit % 8);
  }
  return layout;
}

// The samples of two neighbouring groups, limited to 64..960, less `offset`, as doubles: lanes
// 0 to 3 the first group's, 4 to 7 the second's, in the layout's order. A sample set into the
// significand of 2^52 gives 2^52 + sample exactly, and subtracting 2^52 + offset, exact too,
// leaves the sample less the offset.
SAMPLE_INLINE Double8 PairSamplesLess(const unsigned char *groups, const PairSampleLayout &layout,
                                      double offset) {
  static_assert(std::endian::native == std::endian::little, "the 64-byte copy is x86 only");
  using Halves = int __attribute__((vector_size(64)));
  constexpr Halves kLow = {64, 0, 64, 0, 64, 0, 64, 0, 64, 0, 64, 0, 64, 0, 64, 0};
  constexpr Halves kHigh = {960, 0, 960, 0, 960, 0, 960, 0, 960, 0, 960, 0, 960, 0, 960, 0};
  Bytes64 indexes;
  Word8 shifts;
  std::memcpy(&indexes, layout.bytes, sizeof indexes);
  std::memcpy(&shifts, layout.shifts, sizeof shifts);
  const Word8 lanes = std::bit_cast<Word8>(ShuffleWithinParts(QuartersOf(groups), indexes));
  // The sample lies in the lower 32-bit half of its lane; the upper half is 0 and stays so.
  Halves sample = std::bit_cast<Halves>((lanes >> shifts) & 0x3FF);
  sample = sample > kLow ? sample : kLow;
  sample = sample < kHigh ? sample : kHigh;
  const uint64_t twoTo52 = std::bit_cast<uint64_t>(0x1p52);
  return std::bit_cast<Double8>(std::bit_cast<Word8>(sample) | twoTo52) - (0x1p52 + offset);
}

#pragma GCC diagnostic pop
