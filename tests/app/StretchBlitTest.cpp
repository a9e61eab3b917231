// The stretch blitter against a plain transcription of its arithmetic, and its worked cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "app/blit/StretchBlit.h"

namespace {

using Image = std::vector<uint32_t>;

uint32_t Byte(uint32_t pixel, int lane) {
  return (pixel >> (8 * lane)) & 0xFF;
}

// The blit as its definition states it: 32-bit 16.16 positions, a horizontal pass per source
// row, then a vertical blend of the lower row into the upper with a signed 16-bit product.
Image Reference(const Image &src, int sw, int sh, int dw, int dh) {
  auto horizontal = [&](int row, uint32_t u, int lane) -> int {
    const uint32_t p = u >> 16, w = (u & 0xFFFF) >> 9;
    const uint32_t a = Byte(src[row * sw + p], lane);
    const uint32_t b = w == 0 ? 0 : Byte(src[row * sw + p + 1], lane);
    return static_cast<int>((a * (128 - w) + b * w) >> 7);
  };
  const uint32_t dU = static_cast<uint32_t>((sw << 16) / dw);
  const uint32_t dV = static_cast<uint32_t>((sh << 16) / dh);
  Image out(static_cast<size_t>(dw) * dh);
  uint32_t v = 0;
  for (int i = 0; i < dh; ++i, v += dV) {
    const int r = static_cast<int>(v >> 16);
    const int a = static_cast<int>((v >> 9) & 127);
    uint32_t u = 0;
    for (int x = 0; x < dw; ++x, u += dU) {
      uint32_t pixel = 0;
      for (int lane = 0; lane < 4; ++lane) {
        int d = horizontal(r, u, lane);
        if (a != 0) {
          const int16_t product = static_cast<int16_t>((horizontal(r + 1, u, lane) - d) * a);
          d += product >> 7;
        }
        pixel |= static_cast<uint32_t>(d) << (8 * lane);
      }
      out[static_cast<size_t>(i) * dw + x] = pixel;
    }
  }
  return out;
}

Image Random(size_t count, uint32_t seed) {
  std::mt19937 rng(seed);
  Image image(count);
  for (uint32_t &pixel : image) pixel = rng();
  return image;
}

Image Blit(const Image &src, int sw, int sh, int dw, int dh) {
  Image out(static_cast<size_t>(dw) * dh, 0xDEADBEEF);
  _Thum_BlitStretch(out.data(), dw, dh, src.data(), sw, sh);
  return out;
}

// Every reduction, including to one row or column and the sizes the preview pane meets, gives
// exactly the bytes of the definition. Exact-size buffers let the sanitizers see any read past
// the source.
TEST(StretchBlit, ReductionsMatchDefinitionBitForBit) {
  struct Case {
    int sw, sh, dw, dh;
  };
  const Case cases[] = {{3, 1, 2, 1},           {1, 3, 1, 2},           {720, 487, 560, 378},
                        {1080, 1920, 292, 520}, {1920, 1080, 560, 315}, {17, 13, 5, 7},
                        {64, 64, 1, 1},         {100, 37, 99, 36},      {255, 3, 254, 1},
                        {7, 300, 1, 299},       {33, 33, 33, 32}};
  uint32_t seed = 1;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh);
    const Image src = Random(static_cast<size_t>(c.sw) * c.sh, seed++);
    EXPECT_EQ(Blit(src, c.sw, c.sh, c.dw, c.dh), Reference(src, c.sw, c.sh, c.dw, c.dh));
  }
}

TEST(StretchBlit, EqualSizesCopyExactly) {
  const Image src = Random(31 * 9, 7);
  EXPECT_EQ(Blit(src, 31, 9, 31, 9), src);
}

// The worked examples in one byte lane each: a row 0, 100, 201 reduced to two pixels gives
// 0, 150; a column 0, 201, 100 reduced to two rows gives 0 and the blend of 201 and 100 at
// weight 64, 150.
TEST(StretchBlit, WorkedExamples) {
  for (int lane = 0; lane < 4; ++lane) {
    const Image row = {0u << (8 * lane), 100u << (8 * lane), 201u << (8 * lane)};
    EXPECT_EQ(Blit(row, 3, 1, 2, 1), (Image{0, 150u << (8 * lane)}));
    const Image column = {0, 201u << (8 * lane), 100u << (8 * lane)};
    EXPECT_EQ(Blit(column, 1, 3, 1, 2), (Image{0, 150u << (8 * lane)}));
  }
}

TEST(StretchBlit, OneRowIsRowZeroInterpolatedAlone) {
  const Image src = Random(9 * 4, 3);
  Image firstRow(src.begin(), src.begin() + 9);
  EXPECT_EQ(Blit(src, 9, 4, 4, 1), Blit(firstRow, 9, 1, 4, 1));
}

TEST(StretchBlit, AlphaZeroLeavesRowAndReadsNothing) {
  Image dest = {1, 2, 3};
  _Thum_DrawScanLineAlpha(dest.data(), nullptr, 3, 65536, 0);
  EXPECT_EQ(dest, (Image{1, 2, 3}));
}

// An enlargement by one pixel (the pane one pixel wider than the picture) never reads past the
// source; the last column and row stand in for the ones beyond.
TEST(StretchBlit, EnlargementStaysInsideSource) {
  const Image src = {0x000000FF, 0x000000FF, 0x000000FF, 0x000000FF};  // 2 x 2, one colour
  const Image out = Blit(src, 2, 2, 3, 3);
  for (uint32_t pixel : out) EXPECT_EQ(pixel, 0x000000FFu);
}

// Sources wider or taller than 32767 pixels reduce without overflow of the 16.16 steps.
TEST(StretchBlit, VeryLargeSourcesStepCorrectly) {
  Image wide(40000);
  for (size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<uint32_t>(i / 1000);
  const Image row = Blit(wide, 40000, 1, 40, 1);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(row[x], static_cast<uint32_t>(x));
  const Image column = Blit(wide, 1, 40000, 1, 40);
  for (int y = 0; y < 40; ++y) EXPECT_EQ(column[y], static_cast<uint32_t>(y));
}

}  // namespace
