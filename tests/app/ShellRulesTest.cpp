#include <gtest/gtest.h>

#include <climits>

#include "app/ExportEntries.h"
#include "app/FrameSizing.h"

namespace {

bool Same(const FrameRect &a, const FrameRect &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FrameSizeRule, ShortDimensionIsResetAndCentredTheOtherKept) {
  // 1024 x 768 screen: the centred 800 x 600 window sits at (112, 84).
  const FrameRect narrow{300, 50, 1000, 700};  // 700 wide, 650 high
  EXPECT_TRUE(Same(KeepMinimumFrameSize(narrow, 1024, 768), FrameRect{112, 50, 912, 700}));
  const FrameRect low{10, 20, 910, 519};  // 900 wide, 499 high
  EXPECT_TRUE(Same(KeepMinimumFrameSize(low, 1024, 768), FrameRect{10, 84, 910, 684}));
  const FrameRect both{500, 400, 600, 450};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(both, 1024, 768), FrameRect{112, 84, 912, 684}));
}

TEST(FrameSizeRule, LargeEnoughIsLeftAloneExactlyAtTheLimitsToo) {
  const FrameRect exact{3, 4, 803, 604};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(exact, 1280, 1024), exact));
  const FrameRect large{-50, -60, 2000, 1500};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(large, 1280, 1024), large));
  const FrameRect oneShort{0, 0, 799, 599};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(oneShort, 1280, 1024), FrameRect{240, 212, 1040, 812}));
}

TEST(FrameSizeRule, SmallScreensGiveNegativeOriginsTruncatedTowardZero) {
  EXPECT_EQ(CentredOrigin(640, 800), -80);
  EXPECT_EQ(CentredOrigin(801, 800), 0);   // 1 / 2
  EXPECT_EQ(CentredOrigin(799, 800), 0);   // -1 / 2 truncates toward zero
  EXPECT_EQ(CentredOrigin(597, 600), -1);  // -3 / 2
  const FrameRect r = KeepMinimumFrameSize(FrameRect{0, 0, 10, 10}, 640, 480);
  EXPECT_TRUE(Same(r, FrameRect{-80, -60, 720, 540}));
}

TEST(FrameSizeRule, InvertedOrHugeRectanglesDoNotOverflow) {
  const FrameRect inverted{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(inverted, 1280, 1024), FrameRect{240, 212, 1040, 812}));
  const FrameRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_TRUE(Same(KeepMinimumFrameSize(huge, 1280, 1024), huge));
}

TEST(ExportEntries, PatternsBecomeUpperCaseNamesWithoutTheirWildcard) {
  EXPECT_TRUE(ExportEntryNames("").empty());
  EXPECT_EQ(ExportEntryNames("*.BMP"), std::vector<std::string>{"BMP"});
  EXPECT_EQ(ExportEntryNames("*.bmp;*.Tga"), (std::vector<std::string>{"BMP", "TGA"}));
  // A comma in the list separates as a semicolon does; an empty pattern ends the list.
  EXPECT_EQ(ExportEntryNames("*.BMP,*.PNG;;*.TGA"), (std::vector<std::string>{"BMP", "PNG"}));
  EXPECT_TRUE(ExportEntryNames(";*.BMP").empty());
  // Patterns shorter than their wildcard give an empty name, as cutting two characters does.
  EXPECT_EQ(ExportEntryNames("*;*.X"), (std::vector<std::string>{"", "X"}));
}

TEST(ExportEntries, AtMostTenEntriesSoNoneTakesTheNextCommandOfTheRange) {
  std::string list;
  for (int i = 0; i < 12; ++i) list += (i ? ";*.F" : "*.F") + std::to_string(i);
  const std::vector<std::string> names = ExportEntryNames(list);
  ASSERT_EQ(names.size(), static_cast<size_t>(kMaxExportEntries));
  EXPECT_EQ(names.front(), "F0");
  EXPECT_EQ(names.back(), "F9");
}

}  // namespace
