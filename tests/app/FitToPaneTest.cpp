// A picture fitted to a pane: the place and scale of the fitted picture, and its pixels exactly
// the blitter's reduction of the whole picture in the blitter's 32-bit form, though the picture
// is reduced in its own 3-byte form.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "app/blit/FitToPane.h"
#include "app/blit/StretchBlit.h"

namespace {

struct Case {
  uint32_t w, h;
  int paneW, paneH;
  int x, y, width, height, scale;
};

// The reduction as the preview made it before: the whole picture copied into the blitter's
// blue-green-red-0 form, reduced, and taken back to red, green, blue.
std::vector<unsigned char> WholeCopyReduced(const std::vector<unsigned char> &rgb, const Case &c) {
  std::vector<uint32_t> source(size_t{c.w} * c.h);
  for (size_t i = 0; i < source.size(); ++i) {
    source[i] =
        uint32_t{rgb[3 * i + 2]} | uint32_t{rgb[3 * i + 1]} << 8 | uint32_t{rgb[3 * i]} << 16;
  }
  std::vector<uint32_t> result(size_t(c.width) * c.height);
  _Thum_BlitStretch(result.data(), c.width, c.height, source.data(), int(c.w), int(c.h));
  std::vector<unsigned char> out;
  for (uint32_t pixel : result) {
    out.insert(out.end(),
               {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                static_cast<unsigned char>(pixel)});
  }
  return out;
}

TEST(FitToPane, PlacesAndReducesAsTheWholeCopyWould) {
  const Case cases[] = {
      {1920, 1080, 560, 315, 0, 0, 560, 315, 29},    // the preview of a 1080 still
      {720, 487, 560, 520, 0, 71, 560, 378, 77},     // fitted to the width
      {1080, 1920, 560, 520, 134, 0, 292, 520, 27},  // fitted to the height
      {560, 100, 560, 520, 0, 210, 560, 100, 100},   // as wide as the pane: no row is blended
      {721, 487, 720, 487, 0, 0, 720, 486, 99},      // one pixel too wide
      {40000, 400, 560, 520, 0, 257, 560, 5, 1},     // far wider than high
      {33, 33, 32, 40, 0, 4, 32, 32, 96}};
  std::mt19937 random(5);
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.w << " x " << c.h << " in " << c.paneW << " x " << c.paneH);
    std::vector<unsigned char> rgb(size_t{c.w} * c.h * 3);
    for (unsigned char &byte : rgb) byte = static_cast<unsigned char>(random());
    const tagRGBInfo picture{c.w, c.h, 24, rgb.data(), nullptr};
    FittedPicture fitted;
    ASSERT_TRUE(FitToPane(picture, c.paneW, c.paneH, fitted));
    EXPECT_EQ(fitted.x, c.x);
    EXPECT_EQ(fitted.y, c.y);
    EXPECT_EQ(fitted.width, c.width);
    EXPECT_EQ(fitted.height, c.height);
    EXPECT_EQ(fitted.scale, c.scale);
    EXPECT_TRUE(fitted.rgb == WholeCopyReduced(rgb, c));
  }
}

TEST(FitToPane, PicturesThatFitToNoWholePixelAreNotDrawn) {
  std::vector<unsigned char> rgb(3000 * 3);
  FittedPicture fitted;
  EXPECT_FALSE(FitToPane(tagRGBInfo{3000, 1, 24, rgb.data(), nullptr}, 560, 520, fitted));
  EXPECT_FALSE(FitToPane(tagRGBInfo{0, 0, 24, rgb.data(), nullptr}, 560, 520, fitted));
  EXPECT_FALSE(FitToPane(tagRGBInfo{10, 10, 24, nullptr, nullptr}, 560, 520, fitted));
}

}  // namespace
