// The main window's rules that need no display: the size rule and the export menu entries.
#include <gtest/gtest.h>

#include <climits>

#include "app/ExportEntries.h"
#include "app/FrameSizing.h"

namespace {

// A dimension below the minimum is reset to it and centred on the screen (halves truncated
// toward zero, so negative on a small screen); one at or above it is kept as it is.
TEST(FrameSizeRule, ShortDimensionsAreResetAndCentredTheOthersKept) {
  struct Case {
    FrameRect proposed;
    int screenW, screenH;
    FrameRect kept;
  };
  const Case cases[] = {
      {{300, 50, 1000, 700}, 1024, 768, {112, 50, 912, 700}},  // 700 wide
      {{10, 20, 910, 519}, 1024, 768, {10, 84, 910, 684}},     // 499 high
      {{500, 400, 600, 450}, 1024, 768, {112, 84, 912, 684}},  // both
      {{3, 4, 803, 604}, 1280, 1024, {3, 4, 803, 604}},        // exactly the minimum
      {{0, 0, 799, 599}, 1280, 1024, {240, 212, 1040, 812}},   // one short each way
      {{0, 0, 10, 10}, 640, 480, {-80, -60, 720, 540}},        // small screen
      {{0, 0, 10, 10}, 799, 597, {0, -1, 800, 599}},           // -1 / 2 and -3 / 2
      {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, 1280, 1024, {240, 212, 1040, 812}},
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1280, 1024, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
  };
  for (const Case &c : cases) {
    const FrameRect r = KeepMinimumFrameSize(c.proposed, c.screenW, c.screenH);
    EXPECT_TRUE(r.left == c.kept.left && r.top == c.kept.top && r.right == c.kept.right &&
                r.bottom == c.kept.bottom)
        << c.proposed.left << "," << c.proposed.top << " on " << c.screenW << "x" << c.screenH;
  }
}

TEST(ExportEntries, PatternsBecomeUpperCaseNamesWithoutTheirWildcard) {
  using Names = std::vector<std::string>;
  EXPECT_TRUE(ExportEntryNames("").empty());
  EXPECT_EQ(ExportEntryNames("*.bmp;*.Tga"), (Names{"BMP", "TGA"}));
  // A comma in the list separates as a semicolon does; an empty pattern ends the list.
  EXPECT_EQ(ExportEntryNames("*.BMP,*.PNG;;*.TGA"), (Names{"BMP", "PNG"}));
  EXPECT_TRUE(ExportEntryNames(";*.BMP").empty());
  // Patterns shorter than their wildcard give an empty name, as cutting two characters does.
  EXPECT_EQ(ExportEntryNames("*;*.X"), (Names{"", "X"}));
  // Ten entries at most, so that none takes the next command of the range.
  std::string list = "*.F0";
  for (int i = 1; i < 12; ++i) list += ";*.F" + std::to_string(i);
  const Names names = ExportEntryNames(list);
  ASSERT_EQ(names.size(), static_cast<size_t>(kMaxExportEntries));
  EXPECT_EQ(names.back(), "F9");
}

}  // namespace
