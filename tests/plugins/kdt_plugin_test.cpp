// The KDT plug-in through its real shared library: pictures of all four formats saved and loaded
// back, and what damaged or foreign files load as.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "tests/plugins/BmpFileBuilder.h"
#include "tests/plugins/PluginTestSupport.h"

namespace plugintest {
namespace {

struct Format {
  uint32_t width;
  uint32_t height;
  uint64_t fileLength;
};
constexpr std::array<Format, 4> kFormats = {Format{720, 487, 942784}, Format{720, 576, 1111744},
                                            Format{1920, 1080, 5188864},
                                            Format{1280, 720, 2307264}};

// A picture that survives the 4:2:2 coding exactly: groups of four pixels share one of the
// colours that code without loss, and the other groups carry a different grey in every pixel.
Bytes LosslessPicture(uint32_t width, uint32_t height) {
  static const uint8_t colours[][3] = {{255, 255, 255}, {0, 0, 0},     {128, 128, 128},
                                       {255, 0, 0},     {0, 255, 0},   {0, 0, 255},
                                       {255, 255, 0},   {0, 255, 255}, {255, 0, 255}};
  Bytes pixels;
  pixels.reserve(size_t{width} * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t group = x / 4;
      if ((group + y) % 3 == 0) {
        const uint8_t *c = colours[(group + y / 3) % 9];
        pixels.insert(pixels.end(), c, c + 3);
      } else {
        const auto grey = static_cast<uint8_t>(x * 7 + y * 3);
        pixels.insert(pixels.end(), {grey, grey, grey});
      }
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
  // Saves a valid 720 x 487 still and returns its path.
  std::string SaveSmallStill() {
    Bytes pixels = LosslessPicture(720, 487);
    tagRGBInfo picture = Picture(720, 487, pixels.data());
    const std::string path = folder / "MCLIP01.QVEL_004.KDT";
    EXPECT_EQ(plugin.saveRgb(path.c_str(), "KDT", &picture), 0);
    return path;
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
};

TEST_F(KdtPluginTest, ReportsItsPattern) {
  EXPECT_STREQ(plugin.queryInfo(), "*.KDT");
}

TEST_F(KdtPluginTest, EveryFormatSurvivesSaveAndLoad) {
  for (const Format &f : kFormats) {
    SCOPED_TRACE(testing::Message() << f.width << " x " << f.height);
    Bytes pixels = LosslessPicture(f.width, f.height);
    tagRGBInfo picture = Picture(f.width, f.height, pixels.data());
    const std::string path = folder / "MCLIP01.QVEL_004.KDT";
    ASSERT_EQ(plugin.saveRgb(path.c_str(), "KDT", &picture), 0);
    EXPECT_EQ(std::filesystem::file_size(path), f.fileLength);
    EXPECT_FALSE(Exists(folder / "SCLIP01.QVEL_004.KDT")) << "no key plane, no key companion";

    Record full = Load(path, 1);
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(full->filename, path.c_str());
    EXPECT_EQ(full->rgbInfo.width, f.width);
    EXPECT_EQ(full->rgbInfo.height, f.height);
    EXPECT_EQ(full->rgbInfo.bitsPixl, 24u);
    EXPECT_EQ(full->rgbInfo.ptAlpha, nullptr);
    ASSERT_NE(full->rgbInfo.ptBits, nullptr);
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), full->rgbInfo.ptBits));

    Record sizeOnly = Load(path, 0);
    ExpectSizeWithoutPixels(sizeOnly, path, f.width, f.height);
    EXPECT_EQ(sizeOnly->rgbInfo.bitsPixl, 24u);
  }
}

TEST_F(KdtPluginTest, KeyPlaneIsSavedAsKeyCompanion) {
  Bytes pixels = LosslessPicture(720, 576);
  Bytes key(720 * 576, 255);
  tagRGBInfo picture = Picture(720, 576, pixels.data());
  picture.ptAlpha = key.data();
  ASSERT_EQ(plugin.saveRgb((folder / "MCLIP01.QVEL_004.KDT").c_str(), "KDT", &picture), 0);
  const std::string companion = folder / "SCLIP01.QVEL_004.KDT";
  ASSERT_TRUE(Exists(companion));
  Record record = Load(companion, 1);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(Bytes(record->rgbInfo.ptBits, record->rgbInfo.ptBits + pixels.size()),
            Bytes(pixels.size(), 255));
}

TEST_F(KdtPluginTest, SaveRefusesNamesAndSizesOutsideTheDeviceRules) {
  Bytes pixels = LosslessPicture(1280, 720);
  tagRGBInfo picture = Picture(1280, 720, pixels.data());
  EXPECT_EQ(plugin.saveRgb((folder / "picture.KDT").c_str(), "KDT", &picture), ERR_FILE_WRITE);
  EXPECT_FALSE(Exists(folder / "picture.KDT"));
  ASSERT_EQ(plugin.saveRgb((folder / "MX.QVEL_000.KDT").c_str(), "KDT", &picture), 0);

  // 800 x 600 is no picture format; 1000 x 1000 has the sum of 1280 x 720 but not its size.
  for (const auto &[w, h] : {std::pair{800u, 600u}, std::pair{1000u, 1000u}}) {
    tagRGBInfo odd = Picture(w, h, pixels.data());
    EXPECT_EQ(plugin.saveRgb((folder / "MODD.QVEL_001.KDT").c_str(), "KDT", &odd), ERR_FILE_WRITE);
    EXPECT_FALSE(Exists(folder / "MODD.QVEL_001.KDT"));
  }
}

TEST_F(KdtPluginTest, DamagedBodyGivesSizeWithoutPixels) {
  const std::string path = SaveSmallStill();
  Bytes file = ReadFile(path);
  file[64 + 5000] ^= 0x01;
  WriteFile(path, file);
  ExpectSizeWithoutPixels(Load(path, 1), path, 720, 487);
  ExpectSizeWithoutPixels(Load(path, 0), path, 720, 487);
}

// Files that are no KDT still at all, or whose body is incomplete, load as 0 x 0 with code 0.
TEST_F(KdtPluginTest, ForeignOrIncompleteFilesGiveNoSize) {
  const Bytes good = ReadFile(SaveSmallStill());
  auto changed = [&](auto change) {
    Bytes b = good;
    change(b);
    return b;
  };
  BmpSpec bmp;
  bmp.width = 2;
  bmp.height = 2;
  bmp.pixels.assign(4, 0x808080);
  const std::vector<std::pair<const char *, Bytes>> cases = {
      {"empty file", Bytes{}},
      {"header cut short", Bytes(good.begin(), good.begin() + 63)},
      {"one byte short", changed([](Bytes &b) { b.pop_back(); })},
      {"one byte long", changed([](Bytes &b) { b.push_back(0); })},
      {"wrong magic", changed([](Bytes &b) { b[0] = 'X'; })},
      {"size of no format", changed([](Bytes &b) { b[41] = 0x7F; })},
      {"huge plane sizes", changed([](Bytes &b) { b[52] = b[56] = 0xFF; })},
      {"a bitmap", EncodeBmp(bmp)},
  };
  for (const auto &[what, bytes] : cases) {
    SCOPED_TRACE(what);
    const std::string path = folder / "MBAD.QVEL_001.KDT";
    WriteFile(path, bytes);
    ExpectSizeWithoutPixels(Load(path, 1), path, 0, 0);
  }
}

TEST_F(KdtPluginTest, UnopenableFileGivesEmptyRecordAndOpenFailure) {
  std::filesystem::create_directory(folder / "MDIR.QVEL_001.KDT");
  for (const std::string &path : {folder / "MNONE.QVEL_001.KDT", folder / "MDIR.QVEL_001.KDT"}) {
    SCOPED_TRACE(path);
    Record record = Load(path, 1, ERR_FILE_OPEN);
    ASSERT_NE(record, nullptr);
    const auto *bytes = reinterpret_cast<const unsigned char *>(record.get());
    EXPECT_TRUE(
        std::all_of(bytes, bytes + sizeof(tagFileInfo), [](unsigned char b) { return !b; }));
  }
}

}  // namespace
}  // namespace plugintest
