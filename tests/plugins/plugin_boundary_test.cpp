// What both plug-ins promise at the library boundary: only the three entry points are exported,
// a missing picture is refused without touching the disk, records outlive the library that made
// them, paths that do not fit a record are refused rather than cut, a FIFO is refused without
// waiting, and a save either replaces a file whole or leaves it as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "tests/plugins/PluginTestSupport.h"
#include "tests/support/SmallDisk.h"

namespace plugintest {
namespace {

struct PluginCase {
  const char *library;
  const char *pattern;
  const char *stillName;  // a name the plug-in can save under
  uint32_t width;         // a size the plug-in can save
  uint32_t height;
  int refusedPathCode;  // the code that comes with a refused path or a file that cannot be opened
};

void PrintTo(const PluginCase &c, std::ostream *os) {
  *os << c.library;
}

class PluginBoundaryTest : public ::testing::TestWithParam<PluginCase> {
 protected:
  void SaveStill(const std::string &path) {
    Bytes pixels(size_t{GetParam().width} * GetParam().height * 3, 0x80);
    tagRGBInfo picture = Picture(GetParam().width, GetParam().height, pixels.data());
    ASSERT_EQ(plugin.saveRgb(path.c_str(), "X", &picture), 0);
  }

  PluginLibrary plugin{GetParam().library};
  TempFolder folder;
};

TEST_P(PluginBoundaryTest, ExportsOnlyItsThreeEntryPoints) {
  EXPECT_STREQ(plugin.queryInfo(), GetParam().pattern);
  FILE *pipe = popen(("nm -D --defined-only " + plugin.Path()).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char type = 0, name[400] = {};
  while (std::fscanf(pipe, "%*s %c %399s", &type, name) == 2) exported.insert(name);
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(exported, (std::set<std::string>{"LoadRgb", "QueryInfo", "SaveRgb"}));
}

TEST_P(PluginBoundaryTest, MissingPictureIsRefusedWithoutAFile) {
  const std::string path = folder.File(GetParam().stillName);
  EXPECT_EQ(plugin.saveRgb(path.c_str(), "X", nullptr), ERR_BAD_DATA);
  unsigned char key[4] = {};
  tagRGBInfo noPixels = Picture(GetParam().width, GetParam().height, nullptr);
  noPixels.ptAlpha = key;
  EXPECT_EQ(plugin.saveRgb(path.c_str(), "X", &noPixels), ERR_BAD_DATA);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// The sanitizer build checks that the record frees cleanly once its library is gone.
TEST_P(PluginBoundaryTest, RecordOutlivesItsLibrary) {
  const std::string path = folder.File(GetParam().stillName);
  SaveStill(path);
  int code = -1;
  Record record(plugin.loadRgb(path.c_str(), 1, &code));
  ASSERT_EQ(code, 0);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  plugin.Unload();
  EXPECT_STREQ(record->filename, path.c_str());
  EXPECT_EQ(record->rgbInfo.ptBits[0], 0x80);
}

TEST_P(PluginBoundaryTest, PathsLongerThanARecordHoldsAreRefused) {
  const std::string longest = PathOfLength(folder, kFileNameSize - 1, GetParam().stillName);
  SaveStill(longest);
  int code = -1;
  Record record(plugin.loadRgb(longest.c_str(), 1, &code));
  EXPECT_EQ(code, 0);
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->filename, longest.c_str());

  const std::string tooLong = PathOfLength(folder, kFileNameSize, GetParam().stillName);
  SaveStill(tooLong);
  code = -1;
  EXPECT_EQ(Record(plugin.loadRgb(tooLong.c_str(), 1, &code)), nullptr);
  EXPECT_EQ(code, GetParam().refusedPathCode);
}

// A listed still replaced by a FIFO, then loaded for the preview or a conversion: the load fails
// at once. A save over an operator's file on a full disk fails and leaves the folder as it was.
TEST_P(PluginBoundaryTest, FilesAreNeitherWaitedOnNorHalfWritten) {
  const std::string fifo = folder.File(GetParam().stillName);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const int isRGBReadIn : {1, 0}) {
    int code = -1;
    tagFileInfo *loaded = nullptr;
    EXPECT_TRUE(test_support::ReturnsAtOnce(
        fifo, [&] { loaded = plugin.loadRgb(fifo.c_str(), isRGBReadIn, &code); }));
    const Record record(loaded);  // the KDT plug-in hands back an empty record
    EXPECT_TRUE(record == nullptr || record->rgbInfo.ptBits == nullptr);
    EXPECT_EQ(code, GetParam().refusedPathCode);
  }

  test_support::SmallDisk disk(64 * 1024);
  if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
  const std::string old = disk.File(GetParam().stillName);
  WriteWholeFile(old, Bytes(5000, 0x5A));
  const auto before = disk.Contents();
  Bytes pixels(720 * 487 * 3, 0x40);  // larger than the disk
  tagRGBInfo picture = Picture(720, 487, pixels.data());
  EXPECT_NE(plugin.saveRgb(old.c_str(), "X", &picture), 0);
  EXPECT_EQ(disk.Contents(), before);
}

INSTANTIATE_TEST_SUITE_P(
    BothPlugins, PluginBoundaryTest,
    ::testing::Values(PluginCase{"bmpplug.dll", "*.BMP", "still.bmp", 3, 2, 0},
                      PluginCase{"kdtplug.dll", "*.KDT", "MCLIP01.QVEL_004.KDT", 720, 487,
                                 ERR_FILE_OPEN}),
    [](const auto &info) { return std::string(info.param.library).substr(0, 3); });

}  // namespace
}  // namespace plugintest
