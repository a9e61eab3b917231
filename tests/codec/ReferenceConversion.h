// The studio-range conversion formulas written out plainly, one pixel at a time, as the yardstick
// for the codec's vectorised conversion.
#pragma once

#include <cstdint>

struct ReferenceMatrix {
  double kr, kg, kb, oneMinusKr, oneMinusKb, greenU, greenV;
};
inline constexpr ReferenceMatrix kReference601{0.299, 0.587, 0.114, 0.701, 0.886, 0.1721, 0.3571};
inline constexpr ReferenceMatrix kReference709{0.2126, 0.7152, 0.0722, 0.7874,
                                               0.9278, 0.0937, 0.2341};

struct ReferenceYuv {
  unsigned y, u, v;
};

inline ReferenceYuv ReferenceEncode(const ReferenceMatrix &m, unsigned r, unsigned g, unsigned b) {
  const float R = static_cast<float>(r / 255.0);
  const float G = static_cast<float>(g / 255.0);
  const float B = static_cast<float>(b / 255.0);
  ReferenceYuv out;
  out.y = static_cast<unsigned>((m.kg * G + m.kr * R + m.kb * B) * 876 + 64 + 0.5);
  out.u = static_cast<unsigned>(((-m.kg) * G - m.kr * R + m.oneMinusKb * B) / m.oneMinusKb * 448 +
                                512 + 0.5);
  out.v = static_cast<unsigned>(((-m.kg) * G + m.oneMinusKr * R - m.kb * B) / m.oneMinusKr * 448 +
                                512 + 0.5);
  return out;
}

inline unsigned char ReferenceChannel(double x) {
  const float f = static_cast<float>(x);
  if (f < 0) return 0;
  if (f > 1) return 255;
  return static_cast<unsigned char>(static_cast<float>(static_cast<double>(f) * 255 + 0.5));
}

inline void ReferenceDecode(const ReferenceMatrix &m, int y, int u, int v, unsigned char rgb[3]) {
  auto clamp = [](int s) { return s < 64 ? 64 : s > 960 ? 960 : s; };
  y = clamp(y);
  u = clamp(u) - 512;
  v = clamp(v) - 512;
  const double yn = (y - 64) / 876.0;
  rgb[0] = ReferenceChannel(yn + (v * m.oneMinusKr) / 448);
  rgb[1] = ReferenceChannel(yn - (u * m.greenU) / 448 - (v * m.greenV) / 448);
  rgb[2] = ReferenceChannel(yn + (u * m.oneMinusKb) / 448);
}
