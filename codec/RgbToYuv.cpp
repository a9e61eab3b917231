// The encoder: RGB picture or key plane to KDT body.
//
// Every sample is that of the double-precision formula of the device's studio-range conversion,
// with each 8-bit component first taken to single precision as c / 255. The four pixels of a group
// go through the arithmetic side by side, one pixel per vector lane. The arithmetic is the
// formula's with its scale factors multiplied into the weights and its two offsets added as one
// (see EncodeSamples): that rounds differently from the formula's own steps, but gives the
// formula's sample for every one of the 2^24 colours in both matrices, as the codec tests check
// colour by colour for each copy of the code; so the results are the formula's, bit for bit.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/ColourConvert.h"
#include "codec/ColourMatrix.h"
#include "codec/ConversionVariant.h"
#include "codec/SampleVectors.h"

namespace {

// The weights of the encoder's arithmetic. Luma: Kg x 876, Kr x 876, Kb x 876. Chroma, laid out
// for the lanes of a chroma vector, Cb1, Cr1, Cb3, Cr3 (the Cb and Cr of the group's first and
// third pixel) for each group the vector holds: the weights of the formula's difference times
// 448 / (1 - K), that is -Kg x 448 / (1 - Kb), -Kr x 448 / (1 - Kb) and 448 for Cb, and
// -Kg x 448 / (1 - Kr), 448 and -Kb x 448 / (1 - Kr) for Cr, each rounded as written.
template <class D>
struct EncodeWeights {
  double lumaGreen, lumaRed, lumaBlue;
  D chromaGreen, chromaRed, chromaBlue;
};

template <class D>
SAMPLE_INLINE EncodeWeights<D> WeightsOf(const ColourMatrix &m) {
  const double cbGreen = (-m.kg * 448) / m.oneMinusKb;
  const double cbRed = (-m.kr * 448) / m.oneMinusKb;
  const double crGreen = (-m.kg * 448) / m.oneMinusKr;
  const double crBlue = (-m.kb * 448) / m.oneMinusKr;
  return {m.kg * 876,
          m.kr * 876,
          m.kb * 876,
          EachGroup<D>(cbGreen, crGreen, cbGreen, crGreen),
          EachGroup<D>(cbRed, 448, cbRed, 448),
          EachGroup<D>(448, crBlue, 448, crBlue)};
}

// The groups of a line are encoded in runs, in two passes over each run: first the samples,
// then their packing. Each pass is a short loop whose groups do not depend on one another, so
// the processor overlaps many of them.
constexpr int kRunGroups = 32;

// Pixels, one per lane (components 0..255), to their luma samples and the chroma samples of the
// first and third pixel of each group: the formula's
//   Y = trunc((Kg G + Kr R + Kb B) x 876 + 64 + 0.5)
//   Cb = trunc((-Kg G - Kr R + (1 - Kb) B) / (1 - Kb) x 448 + 512 + 0.5), Cr alike,
// computed as
//   Y = trunc((Kg 876) G + (Kr 876) R + (Kb 876) B + 64.5)
//   Cb = trunc((-Kg 448 / (1 - Kb)) G + (-Kr 448 / (1 - Kb)) R + 448 B + 512.5), Cr alike,
// the terms added in this order; which needs no division and a third fewer operations and gives
// the same sample for every colour (see the top of this file).
template <class D>
SAMPLE_INLINE auto EncodeSamples(const EncodeWeights<D> &w, D red, D green, D blue) {
  constexpr bool kPair = sizeof(D) == sizeof(Double8);
  using Ints = std::conditional_t<kPair, Int8, Int4>;
  using Samples = std::conditional_t<kPair, GroupPairSamples, GroupSamples>;
  const D r = UnitOfComponent(red);
  const D g = UnitOfComponent(green);
  const D b = UnitOfComponent(blue);
  const D luma = w.lumaGreen * g + w.lumaRed * r + w.lumaBlue * b + 64.5;
  const D chroma = EvenLanesTwice(g) * w.chromaGreen + EvenLanesTwice(r) * w.chromaRed +
                   EvenLanesTwice(b) * w.chromaBlue + 512.5;
  return Samples{__builtin_convertvector(luma, Ints), __builtin_convertvector(chroma, Ints)};
}

// The components at bytes kFirst, kFirst + 3, kFirst + 6 and kFirst + 9 of a group (its 12 bytes
// at the start of `group`), as doubles. With 32-byte registers the group is copied into both
// halves, a byte shuffle within each half fills each 64-bit lane with its byte, the mask keeps one
// copy of it, and set into the significand of 2^52 it gives 2^52 + byte exactly, from which
// subtracting 2^52 leaves it. With 16-byte registers, where a shuffle of a 32-byte vector would be
// taken apart byte by byte, one 16-byte shuffle widens the bytes to four 32-bit integers, whose
// conversion to double is exact.
template <int kFirst, VectorRegisters kRegisters>
SAMPLE_INLINE Double4 ComponentsOf(Bytes16 group) {
  constexpr int a = kFirst, b = kFirst + 3, c = kFirst + 6, d = kFirst + 9;
  if constexpr (kRegisters == VectorRegisters::k32Bytes) {
    const Bytes32 both =
        __builtin_shufflevector(group, group, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    constexpr int c2 = 16 + c, d2 = 16 + d;
    const Bytes32 spread =
        __builtin_shufflevector(both, both, a, a, a, a, a, a, a, a, b, b, b, b, b, b, b, b, c2, c2,
                                c2, c2, c2, c2, c2, c2, d2, d2, d2, d2, d2, d2, d2, d2);
    const Word4 bits = (std::bit_cast<Word4>(spread) & 0xFF) | std::bit_cast<uint64_t>(0x1p52);
    return std::bit_cast<Double4>(bits) - 0x1p52;
  } else {
    constexpr bool kLittle = std::endian::native == std::endian::little;
    constexpr int z = 16;  // a byte of `zero`
    const Bytes16 zero{};
    const Bytes16 widened =
        kLittle
            ? __builtin_shufflevector(group, zero, a, z, z, z, b, z, z, z, c, z, z, z, d, z, z, z)
            : __builtin_shufflevector(group, zero, z, z, z, a, z, z, z, b, z, z, z, c, z, z, z, d);
    return __builtin_convertvector(std::bit_cast<Int4>(widened), Double4);
  }
}

// 4 RGB pixels (the first 12 bytes of `bytes`), taken apart into their components.
template <VectorRegisters kRegisters>
SAMPLE_INLINE GroupSamples EncodeRgbGroup(const EncodeWeights<Double4> &w, Bytes16 bytes) {
  return EncodeSamples(w, ComponentsOf<0, kRegisters>(bytes), ComponentsOf<1, kRegisters>(bytes),
                       ComponentsOf<2, kRegisters>(bytes));
}

template <VectorRegisters kRegisters>
SAMPLE_INLINE GroupSamples EncodeRgbGroup(const EncodeWeights<Double4> &w, const unsigned char *p) {
  Bytes16 bytes{};
  std::memcpy(&bytes, p, 12);
  return EncodeRgbGroup<kRegisters>(w, bytes);
}

// 4 key bytes, each taken as a grey pixel: red = green = blue = key.
template <VectorRegisters kRegisters>
SAMPLE_INLINE GroupSamples EncodeKeyGroup(const EncodeWeights<Double4> &w, const unsigned char *p) {
  Bytes4 key;
  std::memcpy(&key, p, 4);
  return EncodeRgbGroup<kRegisters>(
      w, __builtin_shufflevector(key, key, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3));
}

// Two neighbouring groups of RGB pixels (the first 24 bytes of `bytes`), taken apart into their
// components. One permutation gives each 16-byte quarter of a vector the 6 bytes of two pixels
// and the top bytes of 2^52 (the dword 0x43300000); a byte shuffle within the quarters per
// component then builds each 64-bit lane from its component byte, zero bytes and those top
// bytes, which is 2^52 + component exactly, and subtracting 2^52 leaves the component.
struct PixelQuarters {
  Bytes64 bytes;
};

SAMPLE_INLINE PixelQuarters PixelQuartersOf(Bytes32 bytes) {
  static_assert(std::endian::native == std::endian::little, "the 64-byte copy is x86 only");
  using Dwords8 = uint32_t __attribute__((vector_size(32)));
  using Dwords16 = uint32_t __attribute__((vector_size(64)));
  constexpr Dwords8 kTopOf2To52 = {0x43300000, 0x43300000, 0x43300000, 0x43300000,
                                   0x43300000, 0x43300000, 0x43300000, 0x43300000};
  // Pixels 0-1 are bytes 0-5 (dwords 0-1), pixels 2-3 bytes 6-11 (dwords 1-2, from byte 2 of
  // the quarter), pixels 4-5 bytes 12-17 (dwords 3-4) and pixels 6-7 bytes 18-23 (dwords 4-5,
  // from byte 2).
  const Dwords16 quarters = __builtin_shufflevector(std::bit_cast<Dwords8>(bytes), kTopOf2To52, 0,
                                                    1, 8, 8, 1, 2, 8, 8, 3, 4, 8, 8, 4, 5, 8, 8);
  return {std::bit_cast<Bytes64>(quarters)};
}

template <int kFirst>
SAMPLE_INLINE Double8 PairComponentsOf(const PixelQuarters &q) {
  // The quarter's bytes 10 and 11 are the top bytes of 2^52; 0x80 gives a zero byte.
  constexpr unsigned char z = 0x80, s = 10, t = 11;
  constexpr unsigned char a = kFirst, b = kFirst + 3, c = kFirst + 2, d = kFirst + 5;
  constexpr Bytes64 kIndexes = {a, z, z, z, z, z, s, t, b, z, z, z, z, z, s, t, c, z, z, z, z, z,
                                s, t, d, z, z, z, z, z, s, t, a, z, z, z, z, z, s, t, b, z, z, z,
                                z, z, s, t, c, z, z, z, z, z, s, t, d, z, z, z, z, z, s, t};
  return std::bit_cast<Double8>(ShuffleWithinParts(q.bytes, kIndexes)) - 0x1p52;
}

SAMPLE_INLINE GroupPairSamples EncodeRgbPair(const EncodeWeights<Double8> &w, Bytes32 bytes) {
  const PixelQuarters q = PixelQuartersOf(bytes);
  return EncodeSamples(w, PairComponentsOf<0>(q), PairComponentsOf<1>(q), PairComponentsOf<2>(q));
}

// 8 key bytes, each taken as a grey pixel.
// Unused where the 64-byte copy is not built.
[[maybe_unused]] SAMPLE_INLINE GroupPairSamples EncodeKeyPair(const EncodeWeights<Double8> &w,
                                                              const unsigned char *p) {
  Bytes16 key{};
  std::memcpy(&key, p, 8);
  return EncodeRgbPair(
      w, __builtin_shufflevector(key, key, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6,
                                 6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7));
}

// A run of an even number of groups, two at a time, as EncodeRun below: each pair but the last
// of the line is read as 32 bytes, 8 of them the next pair's, and stored with spill.
template <bool kKeyPlane>
SAMPLE_INLINE void EncodeRunInPairs(const EncodeWeights<Double8> &w, const unsigned char *input,
                                    int groups, bool lineEnds, unsigned char *y,
                                    unsigned char *uv) {
  GroupPairSamples samples[kRunGroups / 2];
  const int pairs = groups / 2;
  const int wide = lineEnds ? pairs - 1 : pairs;
  if constexpr (kKeyPlane) {
    for (int k = 0; k < pairs; ++k) samples[k] = EncodeKeyPair(w, input + 8 * k);
  } else {
    for (int k = 0; k < wide; ++k) {
      Bytes32 bytes;
      std::memcpy(&bytes, input + 24 * k, 32);
      samples[k] = EncodeRgbPair(w, bytes);
    }
    if (lineEnds) {
      Bytes32 bytes{};
      std::memcpy(&bytes, input + 24 * wide, 24);
      samples[wide] = EncodeRgbPair(w, bytes);
    }
  }
  for (int k = 0; k < wide; ++k) {
    const GroupPairBytes bytes = GroupPairBytesOf(samples[k]);
    std::memcpy(y + 10 * k, &bytes.luma, 16);
    std::memcpy(uv + 10 * k, &bytes.chroma, 16);
  }
  if (lineEnds) {
    const GroupPairBytes bytes = GroupPairBytesOf(samples[wide]);
    std::memcpy(y + 10 * wide, &bytes.luma, 10);
    std::memcpy(uv + 10 * wide, &bytes.chroma, 10);
  }
}

// A run of groups into their luma and chroma slots. Each group but the last of the line is
// stored with 3 bytes of spill that the next group overwrites, and each RGB group but the last
// of the line is read as 16 bytes, 4 of them the next group's; so nothing outside the line's
// input and active bytes is read or changed.
template <bool kKeyPlane, VectorRegisters kRegisters>
SAMPLE_INLINE void EncodeRun(const EncodeWeights<Double4> &w, const unsigned char *input,
                             int groups, bool lineEnds, unsigned char *y, unsigned char *uv) {
  GroupSamples samples[kRunGroups];
  const int wide = lineEnds ? groups - 1 : groups;
  if constexpr (kKeyPlane) {
    for (int k = 0; k < groups; ++k) samples[k] = EncodeKeyGroup<kRegisters>(w, input + 4 * k);
  } else {
    for (int k = 0; k < wide; ++k) {
      Bytes16 bytes;
      std::memcpy(&bytes, input + 12 * k, 16);
      samples[k] = EncodeRgbGroup<kRegisters>(w, bytes);
    }
    if (lineEnds) samples[wide] = EncodeRgbGroup<kRegisters>(w, input + 12 * wide);
  }
  uint64_t luma;
  uint64_t chroma;
  for (int k = 0; k < wide; ++k) {
    GroupWords<kRegisters>(samples[k], luma, chroma);
    StoreGroupAndSpill(y + 5 * k, luma);
    StoreGroupAndSpill(uv + 5 * k, chroma);
  }
  if (lineEnds) {
    GroupWords<kRegisters>(samples[wide], luma, chroma);
    StoreGroup(y + 5 * wide, luma);
    StoreGroup(uv + 5 * wide, chroma);
  }
}

// Frame lines firstRow .. firstRow + rows - 1, the first of them at `input`. With 64-byte
// registers the runs go two groups at a time; every run has an even number of groups, since
// every picture width is a multiple of 8 (EncodeLinesAvx512 checks it).
template <VectorRegisters kRegisters>
SAMPLE_INLINE void EncodeLines(const KdtPictureFormat &format, const unsigned char *input,
                               unsigned char *body, int firstRow, int rows, bool keyPlane) {
  const auto w = WeightsOf<GroupDoubles<kRegisters>>(MatrixOf(format));
  const size_t lineBytes = static_cast<size_t>(format.width) * (keyPlane ? 1 : 3);
  const int groups = format.width / 4;
  for (int row = firstRow; row < firstRow + rows; ++row) {
    unsigned char *y = body + KdtLumaLineOffset(format, row);
    unsigned char *uv = y + format.planeBytes;
    const unsigned char *line = input + static_cast<size_t>(row - firstRow) * lineBytes;
    for (int k = 0; k < groups; k += kRunGroups) {
      const int count = groups - k < kRunGroups ? groups - k : kRunGroups;
      const bool lineEnds = k + count == groups;
      if constexpr (kRegisters == VectorRegisters::k64Bytes) {
        if (keyPlane) {
          EncodeRunInPairs<true>(w, line + 4 * k, count, lineEnds, y + 5 * k, uv + 5 * k);
        } else {
          EncodeRunInPairs<false>(w, line + 12 * k, count, lineEnds, y + 5 * k, uv + 5 * k);
        }
      } else if (keyPlane) {
        EncodeRun<true, kRegisters>(w, line + 4 * k, count, lineEnds, y + 5 * k, uv + 5 * k);
      } else {
        EncodeRun<false, kRegisters>(w, line + 12 * k, count, lineEnds, y + 5 * k, uv + 5 * k);
      }
    }
  }
}

void EncodeLinesBaseline(const KdtPictureFormat &format, const unsigned char *input,
                         unsigned char *body, int firstRow, int rows, bool keyPlane) {
  EncodeLines<VectorRegisters::k16Bytes>(format, input, body, firstRow, rows, keyPlane);
}

#ifdef CONVERSION_X86_COPIES
[[gnu::target("sse4.1")]] void EncodeLinesSse41(const KdtPictureFormat &format,
                                                const unsigned char *input, unsigned char *body,
                                                int firstRow, int rows, bool keyPlane) {
  EncodeLines<VectorRegisters::k16Bytes>(format, input, body, firstRow, rows, keyPlane);
}

[[gnu::target("avx2")]] void EncodeLinesAvx2(const KdtPictureFormat &format,
                                             const unsigned char *input, unsigned char *body,
                                             int firstRow, int rows, bool keyPlane) {
  EncodeLines<VectorRegisters::k32Bytes>(format, input, body, firstRow, rows, keyPlane);
}
#endif

#ifdef CONVERSION_AVX512_COPY
[[gnu::target("avx512f,avx512vl,avx512bw,avx512dq")]] void EncodeLinesAvx512(
    const KdtPictureFormat &format, const unsigned char *input, unsigned char *body, int firstRow,
    int rows, bool keyPlane) {
  if (format.width % 8 == 0) {
    EncodeLines<VectorRegisters::k64Bytes>(format, input, body, firstRow, rows, keyPlane);
  } else {
    EncodeLines<VectorRegisters::k32Bytes>(format, input, body, firstRow, rows, keyPlane);
  }
}
#endif

void EncodeLinesWith(ConversionVariant variant, const KdtPictureFormat &format,
                     const unsigned char *input, unsigned char *body, int firstRow, int rows,
                     bool keyPlane) {
  switch (variant) {
#ifdef CONVERSION_X86_COPIES
    case ConversionVariant::kSse41:
      EncodeLinesSse41(format, input, body, firstRow, rows, keyPlane);
      return;
    case ConversionVariant::kAvx2:
      EncodeLinesAvx2(format, input, body, firstRow, rows, keyPlane);
      return;
#endif
#ifdef CONVERSION_AVX512_COPY
    case ConversionVariant::kAvx512:
      EncodeLinesAvx512(format, input, body, firstRow, rows, keyPlane);
      return;
#endif
    default:
      EncodeLinesBaseline(format, input, body, firstRow, rows, keyPlane);
  }
}

// Zeroes the bytes of a body that carry no picture, in both planes: whatever lies before,
// between and after the lines' active bytes (slot heads and spare slots). The encoder writes
// all the other bytes, so the body needs no clearing beforehand.
void ZeroBytesWithoutPicture(const KdtPictureFormat &format, unsigned char *body) {
  std::vector<int64_t> lineStarts;
  lineStarts.reserve(static_cast<size_t>(format.height));
  for (int row = 0; row < format.height; ++row)
    lineStarts.push_back(KdtLumaLineOffset(format, row));
  std::sort(lineStarts.begin(), lineStarts.end());
  const int64_t activeBytes = format.width / 4 * 5;
  int64_t from = 0;
  auto zero = [&](int64_t to) {
    std::memset(body + from, 0, static_cast<size_t>(to - from));
    std::memset(body + format.planeBytes + from, 0, static_cast<size_t>(to - from));
  };
  for (int64_t start : lineStarts) {
    zero(start);
    from = start + activeBytes;
  }
  zero(format.planeBytes);
}

}  // namespace

void rgb2yuvUnit(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int posY, int posUV,
                 int form, int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return;
  const auto w = WeightsOf<Double4>(MatrixOf(*format));
  const GroupSamples samples = flag != 0
                                   ? EncodeKeyGroup<VectorRegisters::k16Bytes>(w, p_RGB + posRGB)
                                   : EncodeRgbGroup<VectorRegisters::k16Bytes>(w, p_RGB + posRGB);
  uint64_t luma;
  uint64_t chroma;
  GroupWords<VectorRegisters::k16Bytes>(samples, luma, chroma);
  StoreGroup(p_YUV + posY, luma);
  StoreGroup(p_YUV + posUV, chroma);
}

int EncodePictureWith(ConversionVariant variant, const unsigned char *p_RGB, unsigned char **p_YUV,
                      int *lenYUV, int form, int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return ERR_CODEC;
  *p_YUV = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(format->bodyBytes)));
  if (*p_YUV == nullptr) return ERR_CODEC;
  *lenYUV = format->bodyBytes;
  // Slot heads and spare slots carry no picture; they are written as zero bytes so the body,
  // and with it the file's checksum, depends on the picture alone.
  ZeroBytesWithoutPicture(*format, *p_YUV);
  EncodeLinesWith(variant, *format, p_RGB, *p_YUV, 0, format->height, flag != 0);
  return 0;
}

int tranRGB2YUV(const unsigned char *p_RGB, unsigned char **p_YUV, int *lenYUV, int form,
                int flag) {
  return EncodePictureWith(FastestConversionVariant(), p_RGB, p_YUV, lenYUV, form, flag);
}
