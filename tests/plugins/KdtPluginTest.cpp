// The KDT plug-in through its real shared library: pictures of all four formats saved and loaded
// back, and what damaged or foreign files load as.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/plugins/PluginTestSupport.h"
#include "tests/support/BmpFileBuilder.h"

namespace plugintest {
namespace {

// A picture that survives the 4:2:2 coding exactly: runs of four pixels of colours that code
// without loss, shifted from row to row so that a flipped or shifted picture shows.
Bytes LosslessPicture(uint32_t width, uint32_t height) {
  static const uint8_t colours[][3] = {{255, 255, 255}, {0, 0, 0},     {128, 128, 128},
                                       {255, 0, 0},     {0, 255, 0},   {0, 0, 255},
                                       {255, 255, 0},   {0, 255, 255}, {255, 0, 255}};
  Bytes pixels;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t *c = colours[(x / 4 + y) % 9];
      pixels.insert(pixels.end(), c, c + 3);
    }
  }
  return pixels;
}

class KdtPluginTest : public ::testing::Test {
 protected:
  Record Load(const std::string &path, int isRGBReadIn, int expectedCode = 0) {
    int code = -1;
    Record record(plugin.loadRgb(path.c_str(), isRGBReadIn, &code));
    EXPECT_EQ(code, expectedCode);
    return record;
  }
  int Save(const std::string &name, uint32_t width, uint32_t height, Bytes &pixels,
           unsigned char *key = nullptr) {
    tagRGBInfo picture = Picture(width, height, pixels.data());
    picture.ptAlpha = key;
    return plugin.saveRgb(folder.File(name).c_str(), "KDT", &picture);
  }
  static void ExpectSizeWithoutPixels(const Record &record, const std::string &path, uint32_t width,
                                      uint32_t height) {
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->filename, path.c_str());
    EXPECT_EQ(record->rgbInfo.width, width);
    EXPECT_EQ(record->rgbInfo.height, height);
    EXPECT_EQ(record->rgbInfo.ptBits, nullptr);
  }

  PluginLibrary plugin{"kdtplug.dll"};
  TempFolder folder;
  const std::string still = folder.File("MCLIP01.QVEL_004.KDT");
};

TEST_F(KdtPluginTest, EveryFormatSurvivesSaveAndLoad) {
  for (const auto &[width, height, fileLength] : {std::tuple{720u, 487u, 942784u},
                                                  {720u, 576u, 1111744u},
                                                  {1920u, 1080u, 5188864u},
                                                  {1280u, 720u, 2307264u}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    Bytes pixels = LosslessPicture(width, height);
    ASSERT_EQ(Save("MCLIP01.QVEL_004.KDT", width, height, pixels), 0);
    EXPECT_EQ(std::filesystem::file_size(still), fileLength);
    EXPECT_FALSE(std::filesystem::exists(folder.File("SCLIP01.QVEL_004.KDT"))) << "no key";

    Record full = Load(still, 1);
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(full->filename, still.c_str());
    EXPECT_EQ(full->rgbInfo.width, width);
    EXPECT_EQ(full->rgbInfo.height, height);
    EXPECT_EQ(full->rgbInfo.bitsPixl, 24u);
    EXPECT_EQ(full->rgbInfo.ptAlpha, nullptr);
    EXPECT_TRUE(Pixels(full) == pixels);

    Record sizeOnly = Load(still, 0);
    ExpectSizeWithoutPixels(sizeOnly, still, width, height);
    EXPECT_EQ(sizeOnly->rgbInfo.bitsPixl, 24u);
  }
}

TEST_F(KdtPluginTest, KeyPlaneIsSavedAsKeyCompanion) {
  Bytes pixels = LosslessPicture(720, 576);
  Bytes key(720 * 576, 255);
  ASSERT_EQ(Save("MCLIP01.QVEL_004.KDT", 720, 576, pixels, key.data()), 0);
  Record record = Load(folder.File("SCLIP01.QVEL_004.KDT"), 1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(Pixels(record), Bytes(pixels.size(), 255));
}

TEST_F(KdtPluginTest, SaveRefusesNamesAndSizesOutsideTheDeviceRules) {
  Bytes pixels = LosslessPicture(1280, 720);
  EXPECT_EQ(Save("picture.KDT", 1280, 720, pixels), ERR_FILE_WRITE);
  EXPECT_EQ(Save("MX.QVEL_000.KDT", 1280, 720, pixels), 0);
  // 800 x 600 is no picture format; 1000 x 1000 has the sum of 1280 x 720 but not its size.
  EXPECT_EQ(Save("MODD.QVEL_001.KDT", 800, 600, pixels), ERR_FILE_WRITE);
  EXPECT_EQ(Save("MODD.QVEL_001.KDT", 1000, 1000, pixels), ERR_FILE_WRITE);
  EXPECT_FALSE(std::filesystem::exists(folder.File("picture.KDT")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("MODD.QVEL_001.KDT")));
}

TEST_F(KdtPluginTest, FailedWriteIsReportedAsWriteFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", folder.File("MFULL.QVEL_000.KDT"));
  Bytes pixels = LosslessPicture(720, 576);
  EXPECT_EQ(Save("MFULL.QVEL_000.KDT", 720, 576, pixels), ERR_FILE_WRITE);
}

TEST_F(KdtPluginTest, DamagedBodyGivesSizeWithoutPixels) {
  Bytes pixels = LosslessPicture(720, 487);
  ASSERT_EQ(Save("MCLIP01.QVEL_004.KDT", 720, 487, pixels), 0);
  Bytes file = ReadWholeFile(still);
  file[64 + 5000] ^= 0x01;
  WriteWholeFile(still, file);
  ExpectSizeWithoutPixels(Load(still, 1), still, 720, 487);
  ExpectSizeWithoutPixels(Load(still, 0), still, 720, 487);
}

// Files that are no KDT still at all, or whose body is incomplete, load as 0 x 0 with code 0.
TEST_F(KdtPluginTest, ForeignOrIncompleteFilesGiveNoSize) {
  Bytes pixels = LosslessPicture(720, 487);
  ASSERT_EQ(Save("MCLIP01.QVEL_004.KDT", 720, 487, pixels), 0);
  const Bytes good = ReadWholeFile(still);
  auto changed = [&](auto change) {
    Bytes b = good;
    change(b);
    return b;
  };
  const std::vector<std::pair<const char *, Bytes>> cases = {
      {"empty file", Bytes{}},
      {"header cut short", Bytes(good.begin(), good.begin() + 63)},
      {"one byte short", changed([](Bytes &b) { b.pop_back(); })},
      {"one byte long", changed([](Bytes &b) { b.push_back(0); })},
      {"wrong magic", changed([](Bytes &b) { b[0] = 'X'; })},
      {"size of no format", changed([](Bytes &b) { b[41] = 0x7F; })},
      {"huge plane sizes", changed([](Bytes &b) { b[52] = b[56] = 0xFF; })},
      {"a bitmap", test_support::EncodeBmp({.width = 2, .height = 2, .pixels = {1, 2, 3, 4}})},
  };
  for (const auto &[what, bytes] : cases) {
    SCOPED_TRACE(what);
    WriteWholeFile(still, bytes);
    ExpectSizeWithoutPixels(Load(still, 1), still, 0, 0);
  }
}

TEST_F(KdtPluginTest, UnopenableFileGivesEmptyRecordAndOpenFailure) {
  std::filesystem::create_directory(folder.File("MDIR.QVEL_001.KDT"));
  for (const char *name : {"MNONE.QVEL_001.KDT", "MDIR.QVEL_001.KDT"}) {
    SCOPED_TRACE(name);
    Record record = Load(folder.File(name), 1, ERR_FILE_OPEN);
    ASSERT_NE(record, nullptr);
    const auto *bytes = reinterpret_cast<const unsigned char *>(record.get());
    EXPECT_TRUE(std::all_of(bytes, bytes + sizeof(tagFileInfo), [](auto b) { return b == 0; }));
  }
}

}  // namespace
}  // namespace plugintest
