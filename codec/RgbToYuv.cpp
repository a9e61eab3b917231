// The encoder: RGB picture or key plane to KDT body.
//
// Every sample is the double-precision formula of the device's studio-range conversion, with
// each 8-bit component first taken to single precision as c / 255. The four pixels of a group go
// through the formula side by side, one pixel per vector lane, each lane doing the formula's own
// operations in its own order, so the results are the formula's, bit for bit.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec/ColourConvert.h"
#include "codec/ColourMatrix.h"
#include "codec/ConversionVariant.h"
#include "codec/SampleVectors.h"

namespace {

// The matrix laid out for the lanes of a chroma vector: Cb1, Cr1, Cb3, Cr3 (the Cb and Cr of
// the group's first and third pixel).
struct EncodeWeights {
  double kr, kg, kb;
  Double4 redInChroma;   // -Kr for Cb, 1 - Kr for Cr
  Double4 blueInChroma;  // 1 - Kb for Cb, -Kb for Cr
  Double4 chromaRange;   // 1 - Kb for Cb, 1 - Kr for Cr
};

SAMPLE_INLINE EncodeWeights WeightsOf(const ColourMatrix &m) {
  return {m.kr,
          m.kg,
          m.kb,
          Double4{-m.kr, m.oneMinusKr, -m.kr, m.oneMinusKr},
          Double4{m.oneMinusKb, -m.kb, m.oneMinusKb, -m.kb},
          Double4{m.oneMinusKb, m.oneMinusKr, m.oneMinusKb, m.oneMinusKr}};
}

// The groups of a line are encoded in runs, in two passes over each run: first the samples,
// then their packing. Each pass is a short loop whose groups do not depend on one another, so
// the processor overlaps many of them.
constexpr int kRunGroups = 32;

// Four pixels, one per lane (components 0..255), to their luma samples and the chroma samples
// of pixels 1 and 3. The formula's subtractions are additions of negated products, which round
// alike: (-Kg) G = -(Kg G) and x - Kr R = x + (-Kr) R.
SAMPLE_INLINE GroupSamples EncodeSamples(const EncodeWeights &w, Double4 red, Double4 green,
                                         Double4 blue) {
  const Double4 r = UnitOfComponent(red);
  const Double4 g = UnitOfComponent(green);
  const Double4 b = UnitOfComponent(blue);
  const Double4 greenTerm = w.kg * g;
  const Double4 luma = (greenTerm + w.kr * r + w.kb * b) * 876 + 64 + 0.5;
  const Double4 difference = -__builtin_shufflevector(greenTerm, greenTerm, 0, 0, 2, 2) +
                             __builtin_shufflevector(r, r, 0, 0, 2, 2) * w.redInChroma +
                             __builtin_shufflevector(b, b, 0, 0, 2, 2) * w.blueInChroma;
  const Double4 chroma = difference / w.chromaRange * 448 + 512 + 0.5;
  return {__builtin_convertvector(luma, Int4), __builtin_convertvector(chroma, Int4)};
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
SAMPLE_INLINE GroupSamples EncodeRgbGroup(const EncodeWeights &w, Bytes16 bytes) {
  return EncodeSamples(w, ComponentsOf<0, kRegisters>(bytes), ComponentsOf<1, kRegisters>(bytes),
                       ComponentsOf<2, kRegisters>(bytes));
}

template <VectorRegisters kRegisters>
SAMPLE_INLINE GroupSamples EncodeRgbGroup(const EncodeWeights &w, const unsigned char *p) {
  Bytes16 bytes{};
  std::memcpy(&bytes, p, 12);
  return EncodeRgbGroup<kRegisters>(w, bytes);
}

// 4 key bytes, each taken as a grey pixel: red = green = blue = key.
template <VectorRegisters kRegisters>
SAMPLE_INLINE GroupSamples EncodeKeyGroup(const EncodeWeights &w, const unsigned char *p) {
  Bytes4 key;
  std::memcpy(&key, p, 4);
  return EncodeRgbGroup<kRegisters>(
      w, __builtin_shufflevector(key, key, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3));
}

// A run of groups into their luma and chroma slots. Each group but the last of the line is
// stored with 3 bytes of spill that the next group overwrites, and each RGB group but the last
// of the line is read as 16 bytes, 4 of them the next group's; so nothing outside the line's
// input and active bytes is read or changed.
template <bool kKeyPlane, VectorRegisters kRegisters>
SAMPLE_INLINE void EncodeRun(const EncodeWeights &w, const unsigned char *input, int groups,
                             bool lineEnds, unsigned char *y, unsigned char *uv) {
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

// Frame lines firstRow .. firstRow + rows - 1, the first of them at `input`.
template <VectorRegisters kRegisters>
SAMPLE_INLINE void EncodeLines(const KdtPictureFormat &format, const unsigned char *input,
                               unsigned char *body, int firstRow, int rows, bool keyPlane) {
  const EncodeWeights w = WeightsOf(MatrixOf(format));
  const size_t lineBytes = static_cast<size_t>(format.width) * (keyPlane ? 1 : 3);
  const int groups = format.width / 4;
  for (int row = firstRow; row < firstRow + rows; ++row) {
    unsigned char *y = body + KdtLumaLineOffset(format, row);
    unsigned char *uv = y + format.planeBytes;
    const unsigned char *line = input + static_cast<size_t>(row - firstRow) * lineBytes;
    for (int k = 0; k < groups; k += kRunGroups) {
      const int count = groups - k < kRunGroups ? groups - k : kRunGroups;
      const bool lineEnds = k + count == groups;
      if (keyPlane) {
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
    default:
      EncodeLinesBaseline(format, input, body, firstRow, rows, keyPlane);
  }
}

}  // namespace

void rgb2yuvUnit(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int posY, int posUV,
                 int form, int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return;
  const EncodeWeights w = WeightsOf(MatrixOf(*format));
  const GroupSamples samples = flag != 0
                                   ? EncodeKeyGroup<VectorRegisters::k16Bytes>(w, p_RGB + posRGB)
                                   : EncodeRgbGroup<VectorRegisters::k16Bytes>(w, p_RGB + posRGB);
  uint64_t luma;
  uint64_t chroma;
  GroupWords<VectorRegisters::k16Bytes>(samples, luma, chroma);
  StoreGroup(p_YUV + posY, luma);
  StoreGroup(p_YUV + posUV, chroma);
}

void rgb2yuvRow(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int row, int form,
                int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr || row < 0 || row >= format->height) return;
  EncodeLinesWith(FastestConversionVariant(), *format, p_RGB + posRGB, p_YUV, row, 1, flag != 0);
}

int EncodePictureWith(ConversionVariant variant, const unsigned char *p_RGB, unsigned char **p_YUV,
                      int *lenYUV, int form, int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return ERR_CODEC;
  // Slot heads and spare slots carry no picture; they are written as zero bytes so the body,
  // and with it the file's checksum, depends on the picture alone.
  *p_YUV = static_cast<unsigned char *>(std::calloc(static_cast<size_t>(format->bodyBytes), 1));
  if (*p_YUV == nullptr) return ERR_CODEC;
  *lenYUV = format->bodyBytes;
  EncodeLinesWith(variant, *format, p_RGB, *p_YUV, 0, format->height, flag != 0);
  return 0;
}

int tranRGB2YUV(const unsigned char *p_RGB, unsigned char **p_YUV, int *lenYUV, int form,
                int flag) {
  return EncodePictureWith(FastestConversionVariant(), p_RGB, p_YUV, lenYUV, form, flag);
}
