// The window's rules that need no display: the main window's size rule, the export menu
// entries, the conversion commands' enabling and operations, the file pane's filter, selection
// and settings rules, and the import's target sizes.
#include <gtest/gtest.h>

#include <climits>

#include "app/core/CommandEnabling.h"
#include "app/core/ExportEntries.h"
#include "app/core/FileTypeRules.h"
#include "app/core/FrameSizing.h"
#include "app/core/PaneOperation.h"
#include "app/core/PaneSettings.h"
#include "app/core/TargetSizes.h"
#include "app/res/Resource.h"

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
  // Ten entries at most, so that none takes the next command of the range; the patterns left
  // out are named for the operator.
  std::string list = "*.F0";
  for (int i = 1; i < 12; ++i) list += ";*.F" + std::to_string(i);
  Names leftOut;
  const Names names = ExportEntryNames(list, &leftOut);
  ASSERT_EQ(names.size(), static_cast<size_t>(kMaxExportEntries));
  EXPECT_EQ(names.back(), "F9");
  EXPECT_EQ(leftOut, (Names{"*.F10", "*.F11"}));
  EXPECT_EQ(ExportEntryNames(list), names);

  // Each command finds the format it was built with; no other command has one.
  const ExportFormats formats(32774, names);
  ASSERT_NE(formats.FormatOf(32774), nullptr);
  EXPECT_EQ(*formats.FormatOf(32774), "F0");
  EXPECT_EQ(*formats.FormatOf(32783), "F9");
  for (unsigned id : {32771u, 32773u, 32784u, 32785u, 0u}) EXPECT_EQ(formats.FormatOf(id), nullptr);
  EXPECT_TRUE(ExportFormats().empty());
}

// The menu bar, the toolbar, the keys and the list's context menu meet on one mapping of a
// command id to what it asks of the file pane.
TEST(PaneOperation, EachConversionCommandAsksItsOperation) {
  using C = ConvertCommand;
  const ExportFormats formats(res::ID_EXPORT_FIRST, {"BMP", "TGA"});
  const struct {
    unsigned id;
    bool runs;
    ConvertCommand command;
    const char *objExt;
  } cases[] = {
      {res::ID_CONVERT_IMPORT, true, C::Import, "KDT"},
      {res::ID_FILE_PROPERTY, true, C::Property, ""},
      {res::ID_CONVERT_YC, true, C::ReverseFieldDominance, "KDT"},
      {res::ID_EXPORT_FIRST, true, C::ExportTo, "BMP"},
      {res::ID_EXPORT_FIRST + 1, true, C::ExportTo, "TGA"},
      // An export id without an entry, the rest of the range and the commands outside it.
      {res::ID_EXPORT_FIRST + 2, false, C::ExportTo, ""},
      {32772, false, C::ExportTo, ""},
      {res::ID_CONVERT_RANGE_LAST, false, C::ExportTo, ""},
      {res::ID_LIST_RENAME, false, C::ExportTo, ""},
      {res::ID_CONVERT_SETTING, false, C::ExportTo, ""},
  };
  for (const auto &c : cases) {
    const auto operation = PaneOperationOf(c.id, formats);
    ASSERT_EQ(operation.has_value(), c.runs) << c.id;
    if (!c.runs) continue;
    EXPECT_EQ(operation->command, c.command) << c.id;
    EXPECT_EQ(operation->objExt, c.objExt) << c.id;
  }
  EXPECT_FALSE(PaneOperationOf(res::ID_EXPORT_FIRST, ExportFormats()).has_value());
}

TEST(CommandEnabling, SelectionDecidesEachConversionCommand) {
  using C = ConvertCommand;
  // Columns: Import, Property, Reverse Field Dominance, Settings, Rename, Export To.
  struct Case {
    ConvertSelection selection;
    bool enabled[6];
  } const cases[] = {
      // Nothing selected (or a selection the pane refuses), on either side.
      {{1, 0, true}, {false, false, false, false, false, false}},
      {{0, 0, true}, {false, false, false, false, false, false}},
      // One KDT still: property, rename, field exchange and export.
      {{1, 1, true}, {false, true, true, false, true, true}},
      // Two BMP pictures: import and settings only.
      {{0, 2, true}, {true, false, false, true, false, false}},
      // One BMP picture: import, settings and property.
      {{0, 1, true}, {true, true, false, true, false, false}},
      // Three KDT stills: the field exchange and export, not property or rename.
      {{1, 3, true}, {false, false, true, false, false, true}},
      // Only the KDT plug-in: export stays greyed whatever is selected.
      {{1, 1, false}, {false, true, true, false, true, false}},
  };
  const C commands[] = {C::Import,   C::Property, C::ReverseFieldDominance,
                        C::Settings, C::Rename,   C::ExportTo};
  for (const Case &c : cases) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(IsCommandEnabled(commands[i], c.selection), c.enabled[i])
          << "E " << c.selection.bExport << " n " << c.selection.nFiles << " formats "
          << c.selection.hasExportFormats << " command " << i;
    }
  }
}

// A file passes a filter when its extension occurs inside the filter after its first
// character; under "*.*" the first selected file decides the side, and every further one must
// be of that side.
TEST(FileTypeRules, FilterAndSelectionFollowTheExtension) {
  const struct {
    const char *filter, *path;
    int passes;
  } filters[] = {
      {"*.KDT", "/d/MA.QVEL_001.KDT", 1}, {"*.KDT", "/d/a.kdt", 1}, {"*.KDT", "/d/x.kd", 1},
      {"*.KDT", "/d/x.kdt2", 0},          {"*.KDT", "/d/noext", 0}, {"*.KDT", ".KDT", 0},
      {"*.BMP", "/d/b.Bmp", 1},           {"*.BMP", "/d/a.kdt", 0}, {"*.*", "/d/a.bmp", 0},
      {"*.KDT", "/d.KDT/noext", 0},       {"*.KDT", "/d/a.", 0},
  };
  for (const auto &f : filters) EXPECT_EQ(PassesFilter(f.filter, f.path), f.passes) << f.path;

  const struct {
    std::vector<std::string> files;
    int convertible, bExport;  // bExport starts at 7, so an untouched side shows
  } selections[] = {
      {{"/d/a.kdt", "/d/b.bmp"}, 0, 1},
      {{"/d/a.bmp", "/d/b.kdt"}, 0, 0},
      {{"/d/a.kdt", "/d/b.kd"}, 1, 1},
      {{"/d/a.bmp", "/d/c.BMP"}, 1, 0},
      {{"/d/a.txt"}, 0, 0},
      {{"/d/noext"}, 0, 0},
      {{}, 0, 7},
  };
  for (const auto &c : selections) {
    int bExport = 7;
    EXPECT_EQ(IsSelectionConvertible(c.files, "*.BMP", bExport), c.convertible)
        << testing::PrintToString(c.files);
    EXPECT_EQ(bExport, c.bExport) << testing::PrintToString(c.files);
  }
}

// The settings entry, read from a section and written for a value; the size choices by row and
// by a picture's size.
TEST(PaneSettingsAndTargetSizes, EntriesAndRowsRoundTrip) {
  EXPECT_EQ(SourceKeyOf({"Extra=2", "SourceKey=Home/work/", "SourceKey=later"}), "Home/work/");
  EXPECT_EQ(SourceKeyOf({"sourcekey=x", "Source=y"}), "");
  EXPECT_EQ(SourceKeyOf({}), "");
  EXPECT_EQ(SourceKeyEntry("Home/a=b/"), "SourceKey=Home/a=b/");
  EXPECT_EQ(SourceKeyEntry("line\nbreak"), "SourceKey=");
  EXPECT_EQ(SourceKeyEntry("cr\r"), "SourceKey=");
  EXPECT_EQ(SourceKeyOf({SourceKeyEntry("Home/a=b/")}), "Home/a=b/");
  // A value that fills the read (entries and list each with a terminator) ends at its last
  // complete folder name; one that leaves room, or is followed by another entry, is whole.
  const struct {
    std::vector<std::string> entries;
    size_t readSize;
    std::string value;
  } reads[] = {
      {{"SourceKey=Home/ab/cd"}, 22, "Home/ab/"},      {{"SourceKey=Home/ab/cd"}, 23, "Home/ab/cd"},
      {{"SourceKey=Home/ab/"}, 20, "Home/ab/"},        {{"SourceKey=Home"}, 16, ""},
      {{"Extra=2", "SourceKey=Home/ab"}, 26, "Home/"}, {{"SourceKey=Home/ab", "X"}, 21, "Home/ab"},
  };
  for (const auto &r : reads) EXPECT_EQ(SourceKeyOf(r.entries, r.readSize), r.value) << r.readSize;

  const struct {
    uint32_t width, height;
    int index;
  } sizes[] = {
      {720, 487, 0}, {720, 576, 1},   {1280, 720, 2}, {1920, 1080, 3},
      {576, 720, 1}, {1000, 2000, 3}, {640, 480, 0},  {UINT32_MAX, UINT32_MAX, 0},
  };
  for (const auto &c : sizes) {
    EXPECT_EQ(SizeIndexOf(c.width, c.height), c.index) << c.width << "x" << c.height;
  }
  const TargetSize rows[] = {{720, 487}, {720, 576}, {1280, 720}, {1920, 1080}, {720, 487}};
  for (unsigned i = 0; i < 5; ++i) {  // a choice outside the table takes the first row
    EXPECT_EQ(TargetSizeOf(i).width, rows[i].width) << i;
    EXPECT_EQ(TargetSizeOf(i).height, rows[i].height) << i;
  }
}

}  // namespace
