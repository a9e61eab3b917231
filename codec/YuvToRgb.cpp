// The decoder: KDT body to RGB picture.
//
// Each channel is the double-precision formula of the device's studio-range conversion. The
// terms that depend on one sample alone (the normalised luma and each chroma product divided by
// 448, with the sample clamped to 64..960 first) are computed once per 10-bit value into small
// tables; the sums, the rounding to single precision and the scaling to a byte still run per
// pixel in the formula's own order, four pixels at a time, so the results are the formula's, bit
// for bit.
#include <cstdlib>
#include <cstring>

#include "codec/ColorConvert.h"
#include "codec/ColourMatrix.h"
#include "codec/SampleVectors.h"

namespace {

constexpr unsigned kSampleValues = 1024;

struct DecodeTables {
  double luma[kSampleValues];        // (Y - 64) / 876
  double redFromV[kSampleValues];    // (v * (1 - Kr)) / 448
  double greenFromU[kSampleValues];  // (u * U weight) / 448
  double greenFromV[kSampleValues];  // (v * V weight) / 448
  double blueFromU[kSampleValues];   // (u * (1 - Kb)) / 448
};

int Clamped(unsigned sample) {
  return sample < 64 ? 64 : sample > 960 ? 960 : static_cast<int>(sample);
}

DecodeTables BuildDecodeTables(const ColourMatrix &m) {
  DecodeTables t{};
  for (unsigned s = 0; s < kSampleValues; ++s) {
    const int value = Clamped(s);
    const int difference = value - 512;
    t.luma[s] = (value - 64) / 876.0;
    t.redFromV[s] = (difference * m.oneMinusKr) / 448;
    t.greenFromU[s] = (difference * m.greenFromU) / 448;
    t.greenFromV[s] = (difference * m.greenFromV) / 448;
    t.blueFromU[s] = (difference * m.oneMinusKb) / 448;
  }
  return t;
}

const DecodeTables &TablesFor(const KdtPictureFormat &format) {
  static const DecodeTables bt601 = BuildDecodeTables(kBt601);
  static const DecodeTables bt709 = BuildDecodeTables(kBt709);
  return format.bt709 ? bt709 : bt601;
}

// Four channel sums as bytes. Each sum is taken to single precision; below 0 is 0, above 1 is
// 255, else value * 255 + 0.5 taken to single precision with its fraction dropped. Clamping to
// 0..1 first gives the same bytes (0.5 and 255.5 truncate to 0 and 255). For a single-precision
// value in 0..1, value * 255 + 0.5 rounded once from double equals the same sum done in single
// precision step by step (checked over every such value), which lets all four lanes run in
// single precision.
inline Int4 ChannelBytes(const double *sums) {
  Double4 channel;
  std::memcpy(&channel, sums, sizeof channel);
  Float4 value = __builtin_convertvector(channel, Float4);
  value = value < 0.0f ? 0.0f : value;
  value = value > 1.0f ? 1.0f : value;
  return __builtin_convertvector(value * 255.0f + 0.5f, Int4);
}

// The pixels of a line are decoded in runs: the per-pixel double sums first, into small arrays,
// then their conversion to bytes four channels at a time, then the bytes into RGB order.
constexpr int kRunGroups = 16;
constexpr int kRunPixels = 4 * kRunGroups;

struct alignas(32) ChannelRun {
  double red[kRunPixels];
  double green[kRunPixels];
  double blue[kRunPixels];
};

// One luma group and its chroma group (U1, V1, U3, V3) into the channel sums of 4 pixels; pixels
// 1 and 2 take the first chroma pair, pixels 3 and 4 the second.
inline void SumGroup(const DecodeTables &t, const unsigned char *y, const unsigned char *uv,
                     ChannelRun &run, int first) {
  unsigned l[4];
  unsigned c[4];
  UnpackGroup(y, l);
  UnpackGroup(uv, c);
  for (int i = 0; i < 4; ++i) {
    const unsigned u = c[i < 2 ? 0 : 2];
    const unsigned v = c[i < 2 ? 1 : 3];
    const double luma = t.luma[l[i]];
    run.red[first + i] = luma + t.redFromV[v];
    run.green[first + i] = luma - t.greenFromU[u] - t.greenFromV[v];
    run.blue[first + i] = luma + t.blueFromU[u];
  }
}

void DecodeRun(const DecodeTables &t, const unsigned char *y, const unsigned char *uv, int groups,
               unsigned char *out) {
  ChannelRun run;
  for (int k = 0; k < groups; ++k) SumGroup(t, y + 5 * k, uv + 5 * k, run, 4 * k);
  // Each pixel goes out as one 4-byte word whose fourth byte the next pixel overwrites; the
  // run is assembled here so the last word of a picture never reaches past its end.
  unsigned char pixels[12 * kRunGroups + 1];
  for (int i = 0; i < 4 * groups; i += 4) {
    const Int4 words = ChannelBytes(run.red + i) | ChannelBytes(run.green + i) << 8 |
                       ChannelBytes(run.blue + i) << 16;
    for (int j = 0; j < 4; ++j) std::memcpy(pixels + 3 * (i + j), &words[j], 4);
  }
  std::memcpy(out, pixels, static_cast<size_t>(12 * groups));
}

void DecodeLine(const DecodeTables &t, const KdtPictureFormat &format, const unsigned char *p_YUV,
                int row, unsigned char *line) {
  const unsigned char *y = p_YUV + KdtLumaLineOffset(format, row);
  const unsigned char *uv = y + format.planeBytes;
  const int groups = format.width / 4;
  for (int k = 0; k < groups; k += kRunGroups) {
    const int count = groups - k < kRunGroups ? groups - k : kRunGroups;
    DecodeRun(t, y + 5 * k, uv + 5 * k, count, line + 12 * k);
  }
}

}  // namespace

int tranYUV2RGB(const unsigned char *p_YUV, int lenYUV, unsigned char **p_RGB, int *lenRGB) {
  const KdtPictureFormat *format = KdtFormatByBodyLength(lenYUV);
  if (format == nullptr) return -2;
  *p_RGB = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(format->rgbBytes)));
  if (*p_RGB == nullptr) return -1;
  *lenRGB = format->rgbBytes;

  const DecodeTables &t = TablesFor(*format);
  const size_t lineBytes = static_cast<size_t>(format->width) * 3;
  for (int row = 0; row < format->height; ++row) {
    DecodeLine(t, *format, p_YUV, row, *p_RGB + row * lineBytes);
  }
  return 0;
}
