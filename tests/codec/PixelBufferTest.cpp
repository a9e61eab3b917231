// Channel swap, vertical flip and 4-byte row alignment of pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/PixelBuffer.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(BgrFromRgb, SwapsFirstAndThirdByteOfEveryPixel) {
  Bytes picture = {10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(BGRFromRGB(picture.data(), 2, 2), 1);
  EXPECT_EQ(picture, (Bytes{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
  EXPECT_EQ(BGRFromRGB(nullptr, 2, 2), 0);
  // Pictures whose pixels are exchanged several at a time, with some left over at the end.
  for (unsigned width : {5u, 7u, 13u}) {
    Bytes many(width * 3 * 2), swapped(many.size());
    for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<unsigned char>(i);
    for (size_t i = 0; i < many.size(); ++i) swapped[i] = many[i / 3 * 3 + 2 - i % 3];
    EXPECT_EQ(BGRFromRGB(many.data(), width, 2), 1);
    EXPECT_EQ(many, swapped) << width;
  }
}

TEST(VertFlip, ReversesTheRows) {
  const struct {
    Bytes rows;
    unsigned widthBytes, height;
    Bytes flipped;
  } cases[] = {{{1, 1, 2, 2, 3, 3}, 2, 3, {3, 3, 2, 2, 1, 1}},
               {{1, 2, 3, 4}, 1, 4, {4, 3, 2, 1}},
               {{7, 8, 9}, 3, 1, {7, 8, 9}},
               {{7, 8, 9}, 3, 0, {7, 8, 9}}};
  for (auto c : cases) {
    EXPECT_EQ(VertFlipBuf(c.rows.data(), c.widthBytes, c.height), 1);
    EXPECT_EQ(c.rows, c.flipped) << c.height;
  }
  EXPECT_EQ(VertFlipBuf(nullptr, 3, 2), 0);
}

TEST(DwordAligned, RowsArePaddedToFourBytesWithZeros) {
  const std::pair<unsigned, unsigned> widths[] = {{1, 4}, {4, 12}, {5, 16}, {720, 2160}};
  for (const auto &[width, padded] : widths) {
    const unsigned height = 3;
    Bytes picture(width * 3 * height);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<unsigned char>(i + 1);
    // A freed block of the copy's size, left full of non-zero bytes, is what the allocator
    // most likely hands out next: padding that is not written shows as 0xAB. (Volatile, so
    // that the compiler keeps the block; the sanitizer's allocator fills new blocks itself.)
    unsigned char *volatile stale = static_cast<unsigned char *>(std::malloc(padded * height));
    std::memset(stale, 0xAB, padded * height);
    std::free(stale);
    unsigned rowBytes = 0;
    unsigned char *copy = MakeDwordAlignedBuf(picture.data(), width, height, &rowBytes);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(rowBytes, padded) << width;
    for (unsigned row = 0; row < height; ++row) {
      const unsigned char *rowStart = copy + row * padded;
      EXPECT_EQ(std::memcmp(rowStart, &picture[row * width * 3], width * 3), 0);
      EXPECT_EQ(Bytes(rowStart + width * 3, rowStart + padded), Bytes(padded - width * 3, 0))
          << width << " row " << row;
    }
    std::free(copy);
  }
}

TEST(DwordAligned, NullOrOversizedGivesNoCopy) {
  unsigned rowBytes = 99;
  EXPECT_EQ(MakeDwordAlignedBuf(nullptr, 4, 4, &rowBytes), nullptr);
  // A padded row length that does not fit the unsigned it is reported in.
  const unsigned char pixel[3] = {};
  EXPECT_EQ(MakeDwordAlignedBuf(pixel, 0x60000000u, 1, &rowBytes), nullptr);
  EXPECT_EQ(rowBytes, 99u);
}

}  // namespace
