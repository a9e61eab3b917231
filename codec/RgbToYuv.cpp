// The encoder: RGB picture or key plane to KDT body.
//
// Every sample is the double-precision formula of the device's studio-range conversion, with
// each 8-bit component first taken to single precision as c / 255. The products of a constant and
// a component depend on the 8-bit value alone, so they are computed once per value into small
// tables; the sums, scalings and truncations still run per pixel in the formula's own order, so
// the results are the formula's, bit for bit.
#include <cstdlib>
#include <cstring>

#include "codec/ColorConvert.h"
#include "codec/ColourMatrix.h"
#include "codec/SampleVectors.h"

namespace {

struct EncodeTables {
  // Products of the matrix constants and c / 255 (as float), for every 8-bit c.
  double kg[256], kr[256], kb[256], oneMinusKr[256], oneMinusKb[256];
  double oneMinusKrConst, oneMinusKbConst;
  // The samples of a grey pixel of level k (the key plane), for every k.
  uint16_t greyY[256], greyU[256], greyV[256];
};

unsigned LumaOf(const EncodeTables &t, unsigned r, unsigned g, unsigned b) {
  return static_cast<unsigned>((t.kg[g] + t.kr[r] + t.kb[b]) * 876 + 64 + 0.5);
}

unsigned CbOf(const EncodeTables &t, unsigned r, unsigned g, unsigned b) {
  return static_cast<unsigned>((-t.kg[g] - t.kr[r] + t.oneMinusKb[b]) / t.oneMinusKbConst * 448 +
                               512 + 0.5);
}

unsigned CrOf(const EncodeTables &t, unsigned r, unsigned g, unsigned b) {
  return static_cast<unsigned>((-t.kg[g] + t.oneMinusKr[r] - t.kb[b]) / t.oneMinusKrConst * 448 +
                               512 + 0.5);
}

EncodeTables BuildEncodeTables(const ColourMatrix &m) {
  EncodeTables t{};
  for (int c = 0; c < 256; ++c) {
    const float unit = static_cast<float>(c / 255.0);
    t.kg[c] = m.kg * unit;
    t.kr[c] = m.kr * unit;
    t.kb[c] = m.kb * unit;
    t.oneMinusKr[c] = m.oneMinusKr * unit;
    t.oneMinusKb[c] = m.oneMinusKb * unit;
  }
  t.oneMinusKrConst = m.oneMinusKr;
  t.oneMinusKbConst = m.oneMinusKb;
  for (unsigned k = 0; k < 256; ++k) {
    t.greyY[k] = static_cast<uint16_t>(LumaOf(t, k, k, k));
    t.greyU[k] = static_cast<uint16_t>(CbOf(t, k, k, k));
    t.greyV[k] = static_cast<uint16_t>(CrOf(t, k, k, k));
  }
  return t;
}

const EncodeTables &TablesFor(const KdtPictureFormat &format) {
  static const EncodeTables bt601 = BuildEncodeTables(kBt601);
  static const EncodeTables bt709 = BuildEncodeTables(kBt709);
  return format.bt709 ? bt709 : bt601;
}

// The groups of a line are encoded in runs: the per-pixel double sums first, into small arrays,
// then their scaling and truncation four samples at a time, then the packing.
constexpr int kRunGroups = 16;

struct alignas(32) SampleRun {
  double luma[4 * kRunGroups];    // Kg G + Kr R + Kb B of every pixel
  double chroma[4 * kRunGroups];  // the Cb and Cr differences of pixels 1 and 3: U1 V1 U3 V3
};

inline void SumRgbGroup(const EncodeTables &t, const unsigned char *p, SampleRun &run, int first) {
  for (int i = 0; i < 4; ++i) {
    const unsigned char *pixel = p + 3 * i;
    run.luma[first + i] = t.kg[pixel[1]] + t.kr[pixel[0]] + t.kb[pixel[2]];
  }
  for (int i = 0; i < 2; ++i) {
    const unsigned char *pixel = p + 6 * i;
    run.chroma[first + 2 * i] = -t.kg[pixel[1]] - t.kr[pixel[0]] + t.oneMinusKb[pixel[2]];
    run.chroma[first + 2 * i + 1] = -t.kg[pixel[1]] + t.oneMinusKr[pixel[0]] - t.kb[pixel[2]];
  }
}

void EncodeRgbRun(const EncodeTables &t, const unsigned char *rgb, int groups, unsigned char *y,
                  unsigned char *uv) {
  SampleRun run;
  for (int k = 0; k < groups; ++k) SumRgbGroup(t, rgb + 12 * k, run, 4 * k);
  const Double4 divisor = {t.oneMinusKbConst, t.oneMinusKrConst, t.oneMinusKbConst,
                           t.oneMinusKrConst};
  for (int k = 0; k < groups; ++k) {
    Double4 luma;
    Double4 chroma;
    std::memcpy(&luma, run.luma + 4 * k, sizeof luma);
    std::memcpy(&chroma, run.chroma + 4 * k, sizeof chroma);
    const Int4 l = __builtin_convertvector(luma * 876 + 64 + 0.5, Int4);
    const Int4 c = __builtin_convertvector(chroma / divisor * 448 + 512 + 0.5, Int4);
    PackGroup(y + 5 * k, l[0], l[1], l[2], l[3]);
    PackGroup(uv + 5 * k, c[0], c[1], c[2], c[3]);
  }
}

// 4 RGB pixels (12 bytes) to a luma and a chroma group; chroma from pixels 1 and 3 only.
inline void EncodeRgbGroup(const EncodeTables &t, const unsigned char *p, unsigned char *y,
                           unsigned char *uv) {
  EncodeRgbRun(t, p, 1, y, uv);
}

// 4 key bytes to a luma and a chroma group, each key taken as a grey pixel.
inline void EncodeKeyGroup(const EncodeTables &t, const unsigned char *k, unsigned char *y,
                           unsigned char *uv) {
  PackGroup(y, t.greyY[k[0]], t.greyY[k[1]], t.greyY[k[2]], t.greyY[k[3]]);
  PackGroup(uv, t.greyU[k[0]], t.greyV[k[0]], t.greyU[k[2]], t.greyV[k[2]]);
}

void EncodeLine(const EncodeTables &t, const KdtPictureFormat &format, const unsigned char *line,
                unsigned char *p_YUV, int row, bool keyPlane) {
  unsigned char *y = p_YUV + KdtLumaLineOffset(format, row);
  unsigned char *uv = y + format.planeBytes;
  const int groups = format.width / 4;
  if (keyPlane) {
    for (int k = 0; k < groups; ++k) EncodeKeyGroup(t, line + 4 * k, y + 5 * k, uv + 5 * k);
  } else {
    for (int k = 0; k < groups; k += kRunGroups) {
      const int count = groups - k < kRunGroups ? groups - k : kRunGroups;
      EncodeRgbRun(t, line + 12 * k, count, y + 5 * k, uv + 5 * k);
    }
  }
}

}  // namespace

void rgb2yuvUnit(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int posY, int posUV,
                 int form, int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return;
  const EncodeTables &t = TablesFor(*format);
  if (flag != 0) {
    EncodeKeyGroup(t, p_RGB + posRGB, p_YUV + posY, p_YUV + posUV);
  } else {
    EncodeRgbGroup(t, p_RGB + posRGB, p_YUV + posY, p_YUV + posUV);
  }
}

void rgb2yuvRow(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int row, int form,
                int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr || row < 0 || row >= format->height) return;
  EncodeLine(TablesFor(*format), *format, p_RGB + posRGB, p_YUV, row, flag != 0);
}

int tranRGB2YUV(const unsigned char *p_RGB, unsigned char **p_YUV, int *lenYUV, int form,
                int flag) {
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return ERR_CODEC;
  // Slot heads and spare slots carry no picture; they are written as zero bytes so the body,
  // and with it the file's checksum, depends on the picture alone.
  *p_YUV = static_cast<unsigned char *>(std::calloc(static_cast<size_t>(format->bodyBytes), 1));
  if (*p_YUV == nullptr) return ERR_CODEC;
  *lenYUV = format->bodyBytes;

  const EncodeTables &t = TablesFor(*format);
  const bool keyPlane = flag != 0;
  const size_t lineBytes = static_cast<size_t>(format->width) * (keyPlane ? 1 : 3);
  for (int row = 0; row < format->height; ++row) {
    EncodeLine(t, *format, p_RGB + row * lineBytes, *p_YUV, row, keyPlane);
  }
  return 0;
}
