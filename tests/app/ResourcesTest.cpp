// The resource tables hang together: every command that a menu, button or key carries and
// every pane has its text, split into prompt and tool tip at the first newline; the toolbar's
// images and icons are well-formed; the About box's pictures have their size.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>

#include "app/res/Accelerators.h"
#include "app/res/Artwork.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/res/Toolbar.h"

namespace {

void CollectCommands(std::span<const res::MenuItem> items, std::set<unsigned> &ids) {
  for (const res::MenuItem &item : items) {
    if (item.kind == res::MenuItem::Kind::Command) ids.insert(item.id);
    CollectCommands(item.items, ids);
  }
}

TEST(Strings, EveryCommandAndPaneHasItsTextSplitAtTheFirstNewline) {
  EXPECT_EQ(res::ToolTip(res::ID_CONVERT_IMPORT), " Import");
  EXPECT_EQ(res::StatusPrompt(res::ID_CONVERT_YC),
            "Convert files with Y/C data only in NELVOR format(*.KDT)");
  EXPECT_EQ(res::ToolTip(res::ID_CONVERT_YC), "");
  EXPECT_EQ(res::LoadString(res::ID_EXPORT_FIRST), "");  // the first export entry has no prompt
  EXPECT_EQ(res::StatusPrompt(res::ID_EXPORT_FIRST + 1), "Convert file with NELVOR format into...");

  std::set<unsigned> ids = {res::ID_INDICATOR_SCALE, res::ID_INDICATOR_CAPS, res::ID_INDICATOR_NUM,
                            res::ID_INDICATOR_SCRL, res::IDS_IDLE_MESSAGE};
  CollectCommands(res::MainMenu(), ids);
  CollectCommands(res::ConvertContextMenu(), ids);
  ids.erase(res::ID_EXPORT_FIRST);
  for (const res::Accelerator &accel : res::MainAccelerators()) ids.insert(accel.command);
  for (unsigned id : ids) EXPECT_NE(res::StatusPrompt(id), "") << id;
  for (const res::ToolbarButton &button : res::MainToolbar()) {
    if (button.command != res::ID_SEPARATOR) {
      EXPECT_NE(res::ToolTip(button.command), "");
    }
  }
}

// An XPM of one character per pixel: header, colour lines, rows of the right length that use
// only declared colours.
void ExpectXpm(const char *const *xpm, int wantWidth, int wantHeight) {
  ASSERT_NE(xpm, nullptr);
  std::istringstream header(xpm[0]);
  int width = 0, height = 0, colours = 0, chars = 0;
  header >> width >> height >> colours >> chars;
  ASSERT_EQ(width, wantWidth);
  ASSERT_EQ(height, wantHeight);
  ASSERT_EQ(chars, 1);
  std::set<char> palette;
  for (int i = 1; i <= colours; ++i) palette.insert(xpm[i][0]);
  for (int row = 0; row < height; ++row) {
    const std::string line = xpm[1 + colours + row];
    ASSERT_EQ(line.size(), static_cast<size_t>(width)) << "row " << row;
    for (char c : line) ASSERT_TRUE(palette.count(c)) << "row " << row;
  }
}

TEST(Artwork, ToolbarImagesAndIconsAreWellFormedXpm) {
  for (const res::ToolbarButton &button : res::MainToolbar()) {
    if (button.command == res::ID_SEPARATOR) continue;
    SCOPED_TRACE(button.image);
    ExpectXpm(res::ToolbarImageXpm(button.image), res::kToolbarImageWidth,
              res::kToolbarImageHeight);
  }
  for (unsigned id : {res::IDR_MAINFRAME, res::IDR_QUENDTYPE}) {
    for (int size : {32, 16}) {
      SCOPED_TRACE(testing::Message() << id << " at " << size);
      ExpectXpm(res::IconXpm(id, size), size, size);
    }
  }
}

TEST(Artwork, AboutPicturesAreDrawnOnWhite) {
  for (unsigned id : {res::IDB_ABOUT_LEFT, res::IDB_ABOUT_RIGHT}) {
    const res::Picture picture = res::LoadBitmapResource(id);
    ASSERT_EQ(picture.width, 238);
    ASSERT_EQ(picture.height, 74);
    ASSERT_EQ(picture.rgb.size(), 238u * 74 * 3);
    EXPECT_EQ(picture.rgb[0] & picture.rgb[1] & picture.rgb[2], 255);  // white ground
    EXPECT_NE(std::count(picture.rgb.begin(), picture.rgb.end(), 255), 238 * 74 * 3);
  }
}

}  // namespace
