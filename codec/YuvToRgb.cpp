// The decoder: KDT body to RGB picture.
//
// Each channel byte is that of the double-precision formula of the device's studio-range
// conversion. Four pixels go through the arithmetic side by side, one pixel per vector lane. The
// formula's divisions are multiplications here: (Y - 64) / 876 is (Y - 64) x (1 / 876), and each
// chroma term (c x weight) / 448 is c x (weight / 448). These round differently, but give the
// formula's byte in every channel for every one of the 897 x 897 x 897 clamped samples (Y, U, V)
// in both matrices, as the codec tests check value by value. So the results are the formula's,
// bit for bit.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "codec/ColourConvert.h"
#include "codec/ColourMatrix.h"
#include "codec/ConversionVariant.h"
#include "codec/SampleVectors.h"

namespace {

// The groups of a line are decoded in runs, in two passes over each run: first the terms of the
// formula that depend on one sample alone, then the channel sums and bytes. Each pass is a short
// loop whose groups do not depend on one another, so the processor overlaps many of them.
constexpr int kRunGroups = 32;

// The chroma terms of a group, each lane of the form c x (weight / 448) with c = U - 512 or
// V - 512, laid out so that each 128-bit half serves two pixels: the first half pixels 1 and 2
// (chroma pair U1, V1), the second pixels 3 and 4 (U3, V3).
struct alignas(32) GroupTerms {
  Double4 luma;       // (Y - 64) / 876 of pixels 1 to 4
  Double4 redGreen;   // v (1 - Kr), u (U weight); then the same of the second pair
  Double4 greenBlue;  // v (V weight), u (1 - Kb); then the same of the second pair
};

// Each weight divided by 448, rounded as written.
struct DecodeWeights {
  Double4 redGreen;   // 1 - Kr, U weight, 1 - Kr, U weight
  Double4 greenBlue;  // V weight, 1 - Kb, V weight, 1 - Kb
};

// One luma group and its chroma group (U1, V1, U3, V3), as group words.
SAMPLE_INLINE void GroupTermsOf(const DecodeWeights &w, uint64_t lumaWord, uint64_t chromaWord,
                                GroupTerms &terms) {
  const Word4 inOrder = {kSample1, kSample2, kSample3, kSample4};
  terms.luma = (ClampedSamplesOf(lumaWord, inOrder) - 64) * (1.0 / 876);
  const Word4 vuvu = {kSample2, kSample1, kSample4, kSample3};
  const Double4 chroma = ClampedSamplesOf(chromaWord, vuvu) - 512;
  terms.redGreen = chroma * w.redGreen;
  terms.greenBlue = chroma * w.greenBlue;
}

// Four channel values as bytes. Each value is taken to single precision; below 0 is 0, above 1
// is 255, else scaled (see ScaledForByte) with the fraction dropped. Scaling is monotonic, so a
// value below 0 scales to at most 0.5 and truncates to at most 0, and one above 1 scales to at
// least 255.5 and truncates to at least 255: limiting the truncated values to 0..255 gives the
// same bytes as testing the value first.
template <class D>
SAMPLE_INLINE auto ScaledChannel(D channel) {
  constexpr bool kPair = sizeof(D) == sizeof(Double8);
  using Floats = std::conditional_t<kPair, Float8, Float4>;
  using Ints = std::conditional_t<kPair, Int8, Int4>;
  return __builtin_convertvector(ScaledForByte(__builtin_convertvector(channel, Floats)), Ints);
}

template <class D>
SAMPLE_INLINE auto ChannelBytes(D channel) {
  const auto scaled = ScaledChannel(channel);
  const auto atLeastZero = scaled > 0 ? scaled : 0;
  return atLeastZero > 255 ? 255 : atLeastZero;
}

// The 4 pixels of a group: 12 bytes red, green, blue of pixel 1, then of pixel 2, ..., in the
// first 12 bytes of the vector.
SAMPLE_INLINE Bytes16 GroupPixels(const GroupTerms &t) {
  const Double4 red = t.luma + __builtin_shufflevector(t.redGreen, t.redGreen, 0, 0, 2, 2);
  const Double4 green = t.luma - __builtin_shufflevector(t.redGreen, t.redGreen, 1, 1, 3, 3) -
                        __builtin_shufflevector(t.greenBlue, t.greenBlue, 0, 0, 2, 2);
  const Double4 blue = t.luma + __builtin_shufflevector(t.greenBlue, t.greenBlue, 1, 1, 3, 3);
  // Each pixel as one 32-bit word holding its three bytes in memory order, then the words'
  // fourth bytes dropped.
  constexpr bool kLittle = std::endian::native == std::endian::little;
  const Int4 words = ChannelBytes(red) << (kLittle ? 0 : 24) |
                     ChannelBytes(green) << (kLittle ? 8 : 16) |
                     ChannelBytes(blue) << (kLittle ? 16 : 8);
  const Bytes16 bytes = std::bit_cast<Bytes16>(words);
  return __builtin_shufflevector(bytes, bytes, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 3, 7, 11,
                                 15);
}

// The terms of two neighbouring groups, in the copy with 64-byte registers: lanes 0 to 3 the
// first group's, 4 to 7 the second's.
struct alignas(64) GroupPairTerms {
  Double8 luma;
  Double8 redGreen;
  Double8 greenBlue;
};

struct DecodePairWeights {
  Double8 redGreen;
  Double8 greenBlue;
};

// The samples of a pair's luma groups in order, and of its chroma groups as V1, U1, V3, U3, from
// 16 bytes that begin with the pair's 10, or, at the end of a line, end with them.
constexpr int kInOrder[4] = {0, 1, 2, 3};
constexpr int kVuvu[4] = {1, 0, 3, 2};
constexpr PairSampleLayout kLumaLayout = MakePairSampleLayout(0, kInOrder);
constexpr PairSampleLayout kChromaLayout = MakePairSampleLayout(0, kVuvu);
constexpr PairSampleLayout kLastLumaLayout = MakePairSampleLayout(6, kInOrder);
constexpr PairSampleLayout kLastChromaLayout = MakePairSampleLayout(6, kVuvu);

SAMPLE_INLINE void GroupPairTermsOf(const DecodePairWeights &w, const unsigned char *luma,
                                    const unsigned char *chroma, bool lineEnds,
                                    GroupPairTerms &terms) {
  terms.luma = PairSamplesLess(luma, lineEnds ? kLastLumaLayout : kLumaLayout, 64) * (1.0 / 876);
  const Double8 c = PairSamplesLess(chroma, lineEnds ? kLastChromaLayout : kChromaLayout, 512);
  terms.redGreen = c * w.redGreen;
  terms.greenBlue = c * w.greenBlue;
}

// The 8 pixels of two neighbouring groups: 24 bytes red, green, blue of each pixel in turn, in
// the first 24 bytes of the vector. The scaled channels are narrowed to bytes with saturation,
// which limits them to 0..255 as ChannelBytes does: in each 16-byte half the red, green and blue
// bytes of a group's four pixels, then blue again. A byte shuffle within the halves puts each
// group's 12 bytes in pixel order, then the halves are closed up.
SAMPLE_INLINE Bytes32 GroupPairPixels(const GroupPairTerms &t) {
  static_assert(std::endian::native == std::endian::little, "the 64-byte copy is x86 only");
  const Double8 red = t.luma + EvenLanesTwice(t.redGreen);
  const Double8 green = t.luma - OddLanesTwice(t.redGreen) - EvenLanesTwice(t.greenBlue);
  const Double8 blue = t.luma + OddLanesTwice(t.greenBlue);
  const Int8 scaledBlue = ScaledChannel(blue);
  const Bytes32 planes = BytesSaturated(ShortsSaturated(ScaledChannel(red), ScaledChannel(green)),
                                        ShortsSaturated(scaledBlue, scaledBlue));
  constexpr unsigned char z = 0x80;  // a zero byte
  constexpr Bytes32 kPixelOrder = {0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, z, z, z, z,
                                   0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, z, z, z, z};
  const Bytes32 halves = ShuffleWithinParts(planes, kPixelOrder);
  return __builtin_shufflevector(halves, halves, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18,
                                 19, 20, 21, 22, 23, 24, 25, 26, 27, 12, 13, 14, 15, 28, 29, 30,
                                 31);
}

// A run of an even number of groups, two at a time, as DecodeRun below: every pair but the last
// of the line is read with the 6 bytes after it and written with 8 bytes of spill that the next
// pair overwrites; the last pair is read with the 6 bytes before it, which are its line's own.
// Unused where the 64-byte copy is not built.
[[maybe_unused]] SAMPLE_INLINE void DecodeRunInPairs(const DecodePairWeights &w,
                                                     const unsigned char *y,
                                                     const unsigned char *uv, int groups,
                                                     bool lineEnds, unsigned char *out) {
  GroupPairTerms terms[kRunGroups / 2];
  const int pairs = groups / 2;
  const int wide = lineEnds ? pairs - 1 : pairs;
  for (int k = 0; k < wide; ++k) {
    GroupPairTermsOf(w, y + 10 * k, uv + 10 * k, false, terms[k]);
  }
  if (lineEnds) GroupPairTermsOf(w, y + 10 * wide - 6, uv + 10 * wide - 6, true, terms[wide]);
  for (int k = 0; k < wide; ++k) {
    const Bytes32 pixels = GroupPairPixels(terms[k]);
    std::memcpy(out + 24 * k, &pixels, 32);
  }
  if (lineEnds) {
    const Bytes32 pixels = GroupPairPixels(terms[wide]);
    std::memcpy(out + 24 * wide, &pixels, 24);
  }
}

// Groups of a run: terms first, then pixels. Every group but the last of the line is read with
// the 3 bytes after it and written with 4 bytes of spill that the next group overwrites, so only
// the line's own active bytes are read and only its own pixels are written.
SAMPLE_INLINE void DecodeRun(const DecodeWeights &w, const unsigned char *y,
                             const unsigned char *uv, int groups, bool lineEnds,
                             unsigned char *out) {
  GroupTerms terms[kRunGroups];
  const int wide = lineEnds ? groups - 1 : groups;
  for (int k = 0; k < wide; ++k) {
    GroupTermsOf(w, LoadGroupAndNext(y + 5 * k), LoadGroupAndNext(uv + 5 * k), terms[k]);
  }
  if (lineEnds) {
    GroupTermsOf(w, LoadGroupAfterPrevious(y + 5 * wide), LoadGroupAfterPrevious(uv + 5 * wide),
                 terms[wide]);
  }
  for (int k = 0; k < wide; ++k) {
    const Bytes16 pixels = GroupPixels(terms[k]);
    std::memcpy(out + 12 * k, &pixels, 16);
  }
  if (lineEnds) {
    const Bytes16 pixels = GroupPixels(terms[wide]);
    std::memcpy(out + 12 * wide, &pixels, 12);
  }
}

// With 64-byte registers the runs go two groups at a time; every run has an even number of
// groups and every line at least two pairs, as every picture format has (DecodePictureAvx512
// checks it).
template <VectorRegisters kRegisters>
SAMPLE_INLINE void DecodePicture(const KdtPictureFormat &format, const unsigned char *body,
                                 unsigned char *rgb) {
  const ColourMatrix &m = MatrixOf(format);
  const double red = m.oneMinusKr / 448, greenU = m.greenFromU / 448;
  const double greenV = m.greenFromV / 448, blue = m.oneMinusKb / 448;
  const DecodeWeights w = {{red, greenU, red, greenU}, {greenV, blue, greenV, blue}};
  const DecodePairWeights pairWeights = {EachGroup<Double8>(red, greenU, red, greenU),
                                         EachGroup<Double8>(greenV, blue, greenV, blue)};
  const size_t lineBytes = static_cast<size_t>(format.width) * 3;
  const int groups = format.width / 4;
  for (int row = 0; row < format.height; ++row) {
    const unsigned char *y = body + KdtLumaLineOffset(format, row);
    const unsigned char *uv = y + format.planeBytes;
    unsigned char *line = rgb + row * lineBytes;
    for (int k = 0; k < groups; k += kRunGroups) {
      const int count = groups - k < kRunGroups ? groups - k : kRunGroups;
      if constexpr (kRegisters == VectorRegisters::k64Bytes) {
        DecodeRunInPairs(pairWeights, y + 5 * k, uv + 5 * k, count, k + count == groups,
                         line + 12 * k);
      } else {
        DecodeRun(w, y + 5 * k, uv + 5 * k, count, k + count == groups, line + 12 * k);
      }
    }
  }
}

void DecodePictureBaseline(const KdtPictureFormat &format, const unsigned char *body,
                           unsigned char *rgb) {
  DecodePicture<VectorRegisters::k16Bytes>(format, body, rgb);
}

#ifdef CONVERSION_X86_COPIES
[[gnu::target("sse4.1")]] void DecodePictureSse41(const KdtPictureFormat &format,
                                                  const unsigned char *body, unsigned char *rgb) {
  DecodePicture<VectorRegisters::k16Bytes>(format, body, rgb);
}

[[gnu::target("avx2")]] void DecodePictureAvx2(const KdtPictureFormat &format,
                                               const unsigned char *body, unsigned char *rgb) {
  DecodePicture<VectorRegisters::k32Bytes>(format, body, rgb);
}
#endif

#ifdef CONVERSION_AVX512_COPY
[[gnu::target("avx512f,avx512vl,avx512bw,avx512dq")]] void DecodePictureAvx512(
    const KdtPictureFormat &format, const unsigned char *body, unsigned char *rgb) {
  // Pairs of groups, and a line's last pair read with bytes of the pair before it.
  if (format.width % 8 == 0 && format.width >= 16) {
    DecodePicture<VectorRegisters::k64Bytes>(format, body, rgb);
  } else {
    DecodePicture<VectorRegisters::k32Bytes>(format, body, rgb);
  }
}
#endif

}  // namespace

void DecodePictureWith(ConversionVariant variant, const KdtPictureFormat &format,
                       const unsigned char *body, unsigned char *rgb) {
  switch (variant) {
#ifdef CONVERSION_X86_COPIES
    case ConversionVariant::kSse41:
      DecodePictureSse41(format, body, rgb);
      break;
    case ConversionVariant::kAvx2:
      DecodePictureAvx2(format, body, rgb);
      break;
#endif
#ifdef CONVERSION_AVX512_COPY
    case ConversionVariant::kAvx512:
      DecodePictureAvx512(format, body, rgb);
      break;
#endif
    default:
      DecodePictureBaseline(format, body, rgb);
  }
}

int DecodeBodyWith(ConversionVariant variant, const unsigned char *p_YUV, int lenYUV,
                   unsigned char **p_RGB, int *lenRGB) {
  const KdtPictureFormat *format = KdtFormatByBodyLength(lenYUV);
  if (format == nullptr) return DECODE_BAD_LENGTH;
  *p_RGB = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(format->rgbBytes)));
  if (*p_RGB == nullptr) return DECODE_NO_MEMORY;
  *lenRGB = format->rgbBytes;
  DecodePictureWith(variant, *format, p_YUV, *p_RGB);
  return 0;
}

int tranYUV2RGB(const unsigned char *p_YUV, int lenYUV, unsigned char **p_RGB, int *lenRGB) {
  return DecodeBodyWith(FastestConversionVariant(), p_YUV, lenYUV, p_RGB, lenRGB);
}
