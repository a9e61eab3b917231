#include "app/blit/StretchBlit.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint64_t AlphaEntry(unsigned i) {
  return i * 0x0001000100010001ull;
}

constexpr std::array<uint64_t, 129> MakeAlphaTable() {
  std::array<uint64_t, 129> table{};
  for (unsigned i = 0; i < table.size(); ++i) table[i] = AlphaEntry(i);
  return table;
}

constexpr size_t kNoLimit = ~size_t{0};

// A source row, read pixel by pixel as 32-bit values: of 32-bit pixels, or of 3-byte pixels
// whose bytes are a value's three low samples (the fourth is zero). Every sample is interpolated
// on its own, so 3-byte pixels come out with exactly the bytes that the same pixels in 32-bit
// form give. A 3-byte pixel is read with the next pixel's first byte, which is then dropped,
// but for the row's last pixel, which may be the picture's last.
struct WordPixels {
  const uint32_t *row;
  uint32_t operator[](size_t i) const { return row[i]; }
};
struct TriplePixels {
  const unsigned char *row;
  size_t last;  // the row's last pixel
  uint32_t operator[](size_t i) const {
    const unsigned char *p = row + 3 * i;
    if (i == last) return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    uint32_t pixel;
    std::memcpy(&pixel, p, sizeof pixel);
    if constexpr (std::endian::native == std::endian::big) pixel = __builtin_bswap32(pixel);
    return pixel & 0xFFFFFF;
  }
};

// A destination row, written pixel by pixel in the same two forms.
struct WordRow {
  uint32_t *row;
  void Put(int x, uint32_t pixel) const { row[x] = pixel; }
};
struct TripleRow {
  unsigned char *row;
  void Put(int x, uint32_t pixel) const {
    unsigned char *p = row + 3 * static_cast<size_t>(x);
    p[0] = static_cast<unsigned char>(pixel);
    p[1] = static_cast<unsigned char>(pixel >> 8);
    p[2] = static_cast<unsigned char>(pixel >> 16);
  }
};

#if defined(__SSE2__)

// A pixel's four bytes widened to the four low 16-bit lanes.
inline __m128i Widen(uint32_t pixel) {
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(pixel)), _mm_setzero_si128());
}

inline __m128i Weight(uint32_t w) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(&s_AlphaTable[w]));
}

// (A * (128 - w) + B * w) >> 7 in the four low lanes; the upper lanes stay zero.
template <class Src>
inline __m128i Interpolate(const Src &src, size_t p, size_t q, uint32_t w) {
  const __m128i a = _mm_mullo_epi16(Widen(src[p]), Weight(128 - w));
  const __m128i b = _mm_mullo_epi16(Widen(src[q]), Weight(w));
  return _mm_srli_epi16(_mm_add_epi16(a, b), 7);
}

inline uint32_t Narrow(__m128i lanes) {
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes)));
}

#else

inline uint32_t Lane(uint32_t pixel, int lane) {
  return (pixel >> (lane * 8)) & 0xFF;
}

template <class Src>
inline uint32_t Interpolate(const Src &src, size_t p, size_t q, uint32_t w, int lane) {
  return (Lane(src[p], lane) * (128 - w) + Lane(src[q], lane) * w) >> 7;
}

#endif

// Position u's source pixel p, its right neighbour q and the neighbour's weight w. The
// neighbour is p itself when its weight is 0 (it does not contribute then) and is held at
// `last`, the last pixel the caller may read.
struct Sample {
  size_t p, q;
  uint32_t w;
};

inline Sample At(uint64_t u, size_t last) {
  const size_t p = static_cast<size_t>(u >> 16);
  const uint32_t w = static_cast<uint32_t>(u & 0xFFFF) >> 9;
  return {p, std::min(p + (w != 0), last), w};
}

template <class Src, class Dest>
void ScanLine(const Dest &dest, const Src &src, int width, uint64_t dU, size_t last) {
  uint64_t u = 0;
  for (int x = 0; x < width; ++x, u += dU) {
    const Sample s = At(u, last);
#if defined(__SSE2__)
    dest.Put(x, Narrow(Interpolate(src, s.p, s.q, s.w)));
#else
    uint32_t out = 0;
    for (int lane = 0; lane < 4; ++lane) out |= Interpolate(src, s.p, s.q, s.w, lane) << (lane * 8);
    dest.Put(x, out);
#endif
  }
}

void ScanLineAlpha(uint32_t *dest, const uint32_t *source, int width, uint64_t dU, uint32_t alpha,
                   size_t last) {
  if (alpha == 0) return;
  alpha &= 127;
  const WordPixels src{source};
  uint64_t u = 0;
#if defined(__SSE2__)
  const __m128i a = Weight(alpha);
  for (int x = 0; x < width; ++x, u += dU) {
    const Sample s = At(u, last);
    const __m128i lower = Interpolate(src, s.p, s.q, s.w);
    const __m128i upper = Widen(dest[x]);
    // D + (((L - D) * a) >> 7): signed 16-bit lanes, arithmetic shift.
    const __m128i delta = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(lower, upper), a), 7);
    dest[x] = Narrow(_mm_add_epi16(upper, delta));
  }
#else
  for (int x = 0; x < width; ++x, u += dU) {
    const Sample s = At(u, last);
    uint32_t out = 0;
    for (int lane = 0; lane < 4; ++lane) {
      const int lower = static_cast<int>(Interpolate(src, s.p, s.q, s.w, lane));
      const int upper = static_cast<int>(Lane(dest[x], lane));
      const int16_t product = static_cast<int16_t>((lower - upper) * static_cast<int>(alpha));
      const int blended = upper + (product >> 7);
      out |= static_cast<uint32_t>(std::clamp(blended, 0, 255)) << (lane * 8);
    }
    dest[x] = out;
  }
#endif
}

// One destination row from both source rows at once: the upper row interpolated as ScanLine
// writes it and the lower one blended in as ScanLineAlpha blends it, without writing the upper
// row's pixels first and reading them back. The upper row's interpolated samples are whole
// bytes, so they are the very values that ScanLineAlpha would read back from the row.
template <class Src, class Dest>
void ScanTwoLines(const Dest &dest, const Src &upper, const Src &lower, int width, uint64_t dU,
                  uint32_t alpha, size_t last) {
  alpha &= 127;
  uint64_t u = 0;
  int x = 0;
#if defined(__SSE2__)
  // Two destination pixels at a time, one in each 64-bit half of the vectors.
  const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
  auto pair = [](const Src &src, size_t i0, size_t i1) {
    return _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(src[i0])),
                                                _mm_cvtsi32_si128(static_cast<int>(src[i1]))),
                             _mm_setzero_si128());
  };
  for (; x + 1 < width; x += 2, u += 2 * dU) {
    const Sample s0 = At(u, last), s1 = At(u + dU, last);
    const __m128i right = _mm_unpacklo_epi64(Weight(s0.w), Weight(s1.w));
    const __m128i left = _mm_sub_epi16(_mm_set1_epi16(128), right);
    const __m128i top =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(pair(upper, s0.p, s1.p), left),
                                     _mm_mullo_epi16(pair(upper, s0.q, s1.q), right)),
                       7);
    const __m128i bottom =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(pair(lower, s0.p, s1.p), left),
                                     _mm_mullo_epi16(pair(lower, s0.q, s1.q), right)),
                       7);
    const __m128i delta = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(bottom, top), a), 7);
    const __m128i both = _mm_packus_epi16(_mm_add_epi16(top, delta), _mm_setzero_si128());
    dest.Put(x, static_cast<uint32_t>(_mm_cvtsi128_si32(both)));
    dest.Put(x + 1, static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(both, 4))));
  }
#endif
  // The pixel left over, or every pixel without SSE2.
  for (; x < width; ++x, u += dU) {
    const Sample s = At(u, last);
#if defined(__SSE2__)
    const __m128i top = Interpolate(upper, s.p, s.q, s.w);
    const __m128i bottom = Interpolate(lower, s.p, s.q, s.w);
    const __m128i delta = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(bottom, top), a), 7);
    dest.Put(x, Narrow(_mm_add_epi16(top, delta)));
#else
    uint32_t out = 0;
    for (int lane = 0; lane < 4; ++lane) {
      const int top = static_cast<int>(Interpolate(upper, s.p, s.q, s.w, lane));
      const int bottom = static_cast<int>(Interpolate(lower, s.p, s.q, s.w, lane));
      const int16_t product = static_cast<int16_t>((bottom - top) * static_cast<int>(alpha));
      out |= static_cast<uint32_t>(std::clamp(top + (product >> 7), 0, 255)) << (lane * 8);
    }
    dest.Put(x, out);
#endif
  }
}

// The whole blit: rowOf(r) gives source row r, destOf(i) destination row i, each as one of the
// row forms above.
template <class RowOf, class DestOf>
void Blit(const DestOf &destOf, int deswidth, int desheight, int srcwidth, int srcheight,
          const RowOf &rowOf) {
  if (deswidth < 1 || desheight < 1 || srcwidth < 1 || srcheight < 1) return;
  // Steps and positions are 16.16 values; 64 bits keep them exact for any source size (below
  // 32768 they equal the 32-bit values).
  const uint64_t dU = (static_cast<uint64_t>(srcwidth) << 16) / static_cast<uint64_t>(deswidth);
  const uint64_t dV = (static_cast<uint64_t>(srcheight) << 16) / static_cast<uint64_t>(desheight);
  const size_t rowLast = static_cast<size_t>(srcwidth) - 1;
  const size_t lastRow = static_cast<size_t>(srcheight) - 1;
  uint64_t v = 0;
  for (int i = 0; i < desheight; ++i, v += dV) {
    const size_t r = std::min(static_cast<size_t>(v >> 16), lastRow);
    const size_t below = std::min(r + 1, lastRow);
    const auto dest = destOf(static_cast<size_t>(i));
    const auto upper = rowOf(r);
    // With no weight the lower row is not read at all.
    const uint32_t alpha = static_cast<uint32_t>(v >> 9) & 127;
    if (alpha == 0) {
      ScanLine(dest, upper, deswidth, dU, rowLast);
    } else {
      ScanTwoLines(dest, upper, rowOf(below), deswidth, dU, alpha, rowLast);
    }
  }
}

}  // namespace

constinit uint64_t s_AlphaTable[129] = {};

namespace {
// Fills the table during static initialisation, so a blit is right even before the first call
// of _Thum_InitAlphaTable.
const bool kTableReady = (_Thum_InitAlphaTable(), true);
}  // namespace

void _Thum_InitAlphaTable() {
  constexpr std::array<uint64_t, 129> table = MakeAlphaTable();
  std::copy(table.begin(), table.end(), s_AlphaTable);
}

void _Thum_DrawScanLine(uint32_t *DestAddr, const uint32_t *SrcAddr, int Width, uint32_t dU) {
  ScanLine(WordRow{DestAddr}, WordPixels{SrcAddr}, Width, dU, kNoLimit);
}

void _Thum_DrawScanLineAlpha(uint32_t *DestAddr, const uint32_t *SrcAddr, int Width, uint32_t dU,
                             uint32_t Alpha) {
  ScanLineAlpha(DestAddr, SrcAddr, Width, dU, Alpha, kNoLimit);
}

void _Thum_BlitStretch(uint32_t *lpDesLines, int deswidth, int desheight,
                       const uint32_t *lpSrcLines, int srcwidth, int srcheight) {
  BlitStretchRows(lpDesLines, deswidth, desheight, srcwidth, srcheight,
                  [=](size_t row) { return lpSrcLines + row * static_cast<size_t>(srcwidth); });
}

void BlitStretchRows(uint32_t *lpDesLines, int deswidth, int desheight, int srcwidth, int srcheight,
                     const std::function<const uint32_t *(size_t)> &rowOf) {
  Blit([=](size_t i) { return WordRow{lpDesLines + i * static_cast<size_t>(deswidth)}; }, deswidth,
       desheight, srcwidth, srcheight, [&rowOf](size_t r) { return WordPixels{rowOf(r)}; });
}

void BlitStretchRgb(unsigned char *dest, int deswidth, int desheight, const unsigned char *src,
                    int srcwidth, int srcheight) {
  Blit([=](size_t i) { return TripleRow{dest + i * 3 * static_cast<size_t>(deswidth)}; }, deswidth,
       desheight, srcwidth, srcheight,
       [=](size_t r) {
         return TriplePixels{src + r * 3 * static_cast<size_t>(srcwidth),
                             static_cast<size_t>(srcwidth) - 1};
       });
}
