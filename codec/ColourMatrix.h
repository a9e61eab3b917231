// The colour constants of the two matrices and the 10-bit sample packing of the KDT body; shared
// by the encoder and the decoder.
#pragma once

#include <cstdint>

#include "codec/PictureFormat.h"

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

// Four 10-bit samples as 5 bytes, most significant bit first.
inline void PackGroup(unsigned char *out, unsigned s1, unsigned s2, unsigned s3, unsigned s4) {
  const uint64_t bits = (uint64_t{s1} << 30) | (uint64_t{s2} << 20) | (uint64_t{s3} << 10) | s4;
  out[0] = static_cast<unsigned char>(bits >> 32);
  out[1] = static_cast<unsigned char>(bits >> 24);
  out[2] = static_cast<unsigned char>(bits >> 16);
  out[3] = static_cast<unsigned char>(bits >> 8);
  out[4] = static_cast<unsigned char>(bits);
}

inline void UnpackGroup(const unsigned char *in, unsigned samples[4]) {
  const uint64_t bits = (uint64_t{in[0]} << 32) | (uint64_t{in[1]} << 24) |
                        (uint64_t{in[2]} << 16) | (uint64_t{in[3]} << 8) | in[4];
  samples[0] = static_cast<unsigned>(bits >> 30) & 0x3FF;
  samples[1] = static_cast<unsigned>(bits >> 20) & 0x3FF;
  samples[2] = static_cast<unsigned>(bits >> 10) & 0x3FF;
  samples[3] = static_cast<unsigned>(bits) & 0x3FF;
}
