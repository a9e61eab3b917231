// The resource tables hang together: every command that a menu, button or key carries and
// every pane has its text, the toolbar's images and icons are well-formed, the pictures have
// their size.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>

#include "app/res/Accelerators.h"
#include "app/res/Artwork.h"
#include "app/res/Dialogs.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/res/Toolbar.h"

namespace {

using res::MenuItem;

TEST(Strings, PromptAndToolTipSplitAtFirstNewline) {
  EXPECT_EQ(res::StatusPrompt(res::ID_CONVERT_IMPORT),
            "Convert files with other format to NELVOR format");
  EXPECT_EQ(res::ToolTip(res::ID_CONVERT_IMPORT), " Import");
  EXPECT_EQ(res::StatusPrompt(res::ID_CONVERT_YC),
            "Convert files with Y/C data only in NELVOR format(*.KDT)");
  EXPECT_EQ(res::ToolTip(res::ID_CONVERT_YC), "");
  EXPECT_EQ(res::ToolTip(res::ID_APP_ABOUT), "About");
  EXPECT_EQ(res::LoadString(res::ID_EXPORT_FIRST), "");  // the first export entry has no prompt
  EXPECT_EQ(res::StatusPrompt(res::ID_EXPORT_FIRST + 1), "Convert file with NELVOR format into...");
  EXPECT_EQ(res::LoadString(res::IDS_DOC_TEMPLATE),
            "Quenda\n\nQuend\n\n\nQuenda.Document\nQuend Document");
  EXPECT_EQ(res::LoadString(res::ID_INDICATOR_SCALE), "Scale=100%");
  EXPECT_EQ(res::LoadString(res::IDS_THREE_DIGITS), "Please input three  number characters.");
}

const MenuItem &Popup(std::span<const MenuItem> items, size_t position) {
  EXPECT_LT(position, items.size());
  EXPECT_EQ(items[position].kind, MenuItem::Kind::Popup);
  return items[position];
}

// The frame fills "&Export To" by position: popup 1 of the bar, item 1 of that popup, whose
// only item is the placeholder.
TEST(Menus, ExportSubmenusWhereTheirFillersLook) {
  const auto bar = res::MainMenu();
  ASSERT_EQ(bar.size(), 3u);
  EXPECT_STREQ(bar[0].text, "&File");
  EXPECT_STREQ(bar[2].text, "&Help");
  const MenuItem &convert = Popup(bar, 1);
  EXPECT_STREQ(convert.text, "&Convert");
  const MenuItem &exportTo = Popup(convert.items, 1);
  EXPECT_STREQ(exportTo.text, "&Export To");
  ASSERT_EQ(exportTo.items.size(), 1u);
  EXPECT_EQ(exportTo.items[0].id, res::ID_EXPORT_FIRST);

  const auto context = res::ConvertContextMenu();
  ASSERT_EQ(context.size(), 1u);
  const MenuItem &contextConvert = Popup(context, 0);
  EXPECT_STREQ(contextConvert.text, "Con&vert");
  const MenuItem &contextExport = Popup(contextConvert.items, 1);
  ASSERT_EQ(contextExport.items.size(), 1u);
  EXPECT_EQ(contextExport.items[0].id, res::ID_EXPORT_PLACEHOLDER);
  EXPECT_STREQ(contextExport.items[0].text, "NULL");
}

void CollectCommands(std::span<const MenuItem> items, std::set<unsigned> &ids) {
  for (const MenuItem &item : items) {
    if (item.kind == MenuItem::Kind::Command) ids.insert(item.id);
    CollectCommands(item.items, ids);
  }
}

// Everything the operator can point at shows a prompt: menu items (but the export entries,
// whose prompts go by position), toolbar buttons with a tool tip, and the status panes.
TEST(Resources, EveryCommandAndPaneHasItsText) {
  std::set<unsigned> ids;
  CollectCommands(res::MainMenu(), ids);
  CollectCommands(res::ConvertContextMenu(), ids);
  ids.erase(res::ID_EXPORT_FIRST);
  for (unsigned id : ids) EXPECT_NE(res::StatusPrompt(id), "") << id;
  for (const res::ToolbarButton &button : res::MainToolbar()) {
    if (button.command == res::ID_SEPARATOR) continue;
    EXPECT_NE(res::ToolTip(button.command), "") << button.command;
  }
  for (unsigned pane : std::initializer_list<unsigned>{
           res::ID_INDICATOR_SCALE, res::ID_INDICATOR_CAPS, res::ID_INDICATOR_NUM,
           res::ID_INDICATOR_SCRL, res::IDS_IDLE_MESSAGE}) {
    EXPECT_NE(res::LoadString(pane), "") << pane;
  }
  for (const res::Accelerator &accel : res::MainAccelerators()) EXPECT_NE(accel.command, 0u);
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
  std::set<int> used;
  for (const res::ToolbarButton &button : res::MainToolbar()) {
    if (button.command == res::ID_SEPARATOR) continue;
    used.insert(button.image);
    SCOPED_TRACE(button.image);
    ExpectXpm(res::ToolbarImageXpm(button.image), res::kToolbarImageWidth,
              res::kToolbarImageHeight);
  }
  EXPECT_EQ(used.size(), static_cast<size_t>(res::kToolbarImageCount));
  EXPECT_EQ(res::ToolbarImageXpm(res::kToolbarImageCount), nullptr);
  for (unsigned id : {res::IDR_MAINFRAME, res::IDR_QUENDTYPE}) {
    for (int size : {32, 16}) {
      SCOPED_TRACE(testing::Message() << id << " at " << size);
      ExpectXpm(res::IconXpm(id, size), size, size);
    }
  }
  EXPECT_EQ(res::IconXpm(res::IDR_MAINFRAME, 48), nullptr);
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
  EXPECT_EQ(res::LoadBitmapResource(146).width, 0);
}

TEST(Dialogs, AboutBoxTemplate) {
  const res::DialogTemplate *about = res::FindDialogTemplate(res::IDD_ABOUTBOX);
  ASSERT_NE(about, nullptr);
  EXPECT_STREQ(about->caption, "About Quenda");
  ASSERT_EQ(about->controls.size(), 2u);
  EXPECT_EQ(std::string(about->controls[0].text).rfind("Quenda Version 1.00", 0), 0u);
  EXPECT_EQ(about->controls[1].kind, res::DialogControl::Kind::DefaultButton);
  EXPECT_EQ(about->controls[1].id, res::IDOK);
  EXPECT_EQ(res::FindDialogTemplate(101), nullptr);
}

}  // namespace
