// The bitmap plug-in through its real shared library: decoding of every supported depth,
// the writer's exact file layout, and the refusals of malformed files.
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>

#include "tests/plugins/PluginTestSupport.h"
#include "tests/support/BmpFileBuilder.h"

namespace plugintest {
namespace {

using test_support::BmpSpec;
using test_support::EncodeBmp;

class BmpPluginTest : public ::testing::Test {
 protected:
  // Loads `bytes` written to a file; the result code must be 0 whatever the outcome.
  Record Load(const Bytes &bytes, int isRGBReadIn = 1) {
    WriteWholeFile(folder.File("p.bmp"), bytes);
    return LoadPath(folder.File("p.bmp"), isRGBReadIn);
  }
  Record LoadPath(const std::string &path, int isRGBReadIn = 1) {
    int code = -1;
    Record record(plugin.loadRgb(path.c_str(), isRGBReadIn, &code));
    EXPECT_EQ(code, 0);
    return record;
  }
  int Save(const std::string &path, uint32_t width, uint32_t height, Bytes &pixels) {
    tagRGBInfo picture = Picture(width, height, pixels.data());
    return plugin.saveRgb(path.c_str(), "BMP", &picture);
  }

  PluginLibrary plugin{"bmpplug.dll"};
  TempFolder folder;
};

// Every depth, with widths whose rows need padding (and, below 8 bits, a part-used last byte).
TEST_F(BmpPluginTest, DecodesEachDepthWithOddWidthsTopRowFirst) {
  const std::vector<uint32_t> colors = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                        0x0000FF, 0x123456, 0xABCDEF, 0x7F7F01};
  for (const auto &[bitCount, width] :
       {std::pair<uint16_t, int32_t>{1, 9}, {1, 33}, {4, 3}, {4, 5}, {8, 7}, {24, 5}, {24, 1}}) {
    SCOPED_TRACE(testing::Message() << bitCount << " bits, width " << width);
    const uint32_t entries = bitCount == 24 ? 0 : std::min<uint32_t>(8, 1u << bitCount);
    BmpSpec spec{.width = width, .height = 3, .bitCount = bitCount, .clrUsed = entries};
    spec.palette.assign(colors.begin(), colors.begin() + entries);
    Bytes expected;
    for (int32_t i = 0; i < width * 3; ++i) {
      const uint32_t value = bitCount == 24 ? (0x10203u * 37u * uint32_t(i + 1)) & 0xFFFFFF
                                            : uint32_t(i * 5) % entries;
      spec.pixels.push_back(value);
      const uint32_t rgb = bitCount == 24 ? value : colors[value];
      expected.insert(expected.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
    }
    Record record = Load(EncodeBmp(spec));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->rgbInfo.width, uint32_t(width));
    EXPECT_EQ(record->rgbInfo.height, 3u);
    EXPECT_EQ(record->rgbInfo.bitsPixl, bitCount);
    EXPECT_EQ(record->rgbInfo.ptAlpha, nullptr);
    EXPECT_STREQ(record->filename, folder.File("p.bmp").c_str());
    EXPECT_EQ(Pixels(record), expected);
  }
}

TEST_F(BmpPluginTest, PaletteSizeFollowsDepthWhenUnstatedAndMissingEntriesAreBlack) {
  // 8 bits, biClrUsed 0: all 256 entries are read, the last one is used.
  BmpSpec full{.width = 2, .height = 1, .bitCount = 8, .pixels = {255, 1}};
  full.palette.assign(256, 0x101010);
  full.palette[255] = 0xC0FFEE;
  full.palette[1] = 0x010203;
  // 4 bits with two stated entries: an index past them gives black, never a read past them.
  const BmpSpec few{.width = 3,
                    .height = 1,
                    .bitCount = 4,
                    .clrUsed = 2,
                    .palette = {0xFFFFFF, 0x00FF00},
                    .pixels = {1, 9, 15}};
  // More entries than the depth can address are accepted.
  BmpSpec many{.width = 1, .height = 1, .bitCount = 1, .clrUsed = 300, .pixels = {1}};
  many.palette.assign(300, 0x0000FF);
  for (const auto &[spec, expected] : {std::pair{full, Bytes{0xC0, 0xFF, 0xEE, 1, 2, 3}},
                                       {few, Bytes{0, 255, 0, 0, 0, 0, 0, 0, 0}},
                                       {many, Bytes{0, 0, 255}}}) {
    Record record = Load(EncodeBmp(spec));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(Pixels(record), expected);
  }
}

// The palette follows the information header that the file states (at 14 + biSize), so bitmaps
// with the 108- and 124-byte headers that image editors write load with their true colours. A
// header shorter than the 40 bytes read is refused.
TEST_F(BmpPluginTest, PaletteFollowsTheInformationHeaderOfItsStatedSize) {
  BmpSpec spec{.width = 3,
               .height = 1,
               .bitCount = 8,
               .clrUsed = 2,
               .palette = {0xFF0000, 0x00FF00},
               .pixels = {1, 0, 1}};
  for (uint32_t infoSize : {40u, 108u, 124u}) {
    spec.infoSize = infoSize;
    Record record = Load(EncodeBmp(spec));
    ASSERT_NE(record, nullptr) << infoSize;
    EXPECT_EQ(Pixels(record), (Bytes{0, 255, 0, 255, 0, 0, 0, 255, 0})) << infoSize;
  }
  for (uint32_t infoSize : {12u, 39u}) {
    spec.infoSize = infoSize;
    EXPECT_EQ(Load(EncodeBmp(spec)), nullptr) << infoSize;
    EXPECT_EQ(Load(EncodeBmp(spec), 0), nullptr) << infoSize;
  }
}

TEST_F(BmpPluginTest, SavesTwoByTwoAsSeventyBytesBottomRowFirst) {
  Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const Bytes original = pixels;
  ASSERT_EQ(Save(folder.File("out.bmp"), 2, 2, pixels), 0);
  EXPECT_EQ(pixels, original) << "the caller's picture must stay as it was";
  Bytes expected{'B', 'M'};
  for (const auto &[value, width] :
       {std::pair{70, 4}, {0, 4}, {54, 4}, {40, 4}, {2, 4}, {2, 4}, {1, 2}, {24, 2}, {0, 24}}) {
    test_support::PutLe(expected, value, width);
  }
  expected.insert(expected.end(), {9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0});
  EXPECT_EQ(ReadWholeFile(folder.File("out.bmp")), expected);
}

// The padding is zero whatever the memory the writer is handed held before: the C library is
// told to fill every block it hands out (under AddressSanitizer its own allocator does).
TEST_F(BmpPluginTest, SavedPicturesHaveTheRowStrideAndLoadBackUnchanged) {
  mallopt(M_PERTURB, 0x5A);
  for (const auto &[width, height, size] : {std::tuple{1u, 1u, 58u},
                                            {720u, 487u, 1051974u},
                                            {5u, 3u, 54u + 3u * 16u},
                                            {401u, 5u, 54u + 5u * 1204u}}) {
    Bytes pixels(size_t{width} * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 31);
    ASSERT_EQ(Save(folder.File("s.bmp"), width, height, pixels), 0);
    EXPECT_EQ(std::filesystem::file_size(folder.File("s.bmp")), size);
    const Bytes file = ReadWholeFile(folder.File("s.bmp"));
    const size_t stride = (size - 54) / height;
    for (size_t row = 0; row < height; ++row) {
      for (size_t i = size_t{width} * 3; i < stride && 54 + row * stride + i < file.size(); ++i) {
        EXPECT_EQ(file[54 + row * stride + i], 0) << width << " wide, row " << row;
      }
    }
    Record back = LoadPath(folder.File("s.bmp"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->rgbInfo.bitsPixl, 24u);
    EXPECT_EQ(Pixels(back), pixels);
  }
  mallopt(M_PERTURB, 0);
}

TEST_F(BmpPluginTest, SaveReportsOpenAndMemoryFailures) {
  Bytes pixel(3);
  EXPECT_EQ(Save(folder.File("missing/x.bmp"), 1, 1, pixel), ERR_FILE_OPEN);
  // A size whose byte count wraps a 64-bit count to 2 GiB must not be copied short.
  EXPECT_EQ(Save(folder.File("huge.bmp"), 0x80000000u, 2863311531u, pixel), ERR_NO_MEMORY);
  EXPECT_FALSE(std::filesystem::exists(folder.File("huge.bmp")));
}

// Files that must give no record at all.
TEST_F(BmpPluginTest, RefusesMalformedFiles) {
  const BmpSpec indexed{.width = 3,
                        .height = 2,
                        .bitCount = 8,
                        .clrUsed = 2,
                        .palette = {0xFF0000, 0x00FF00},
                        .pixels = {0, 1, 0, 1, 0, 1}};
  const BmpSpec wideTrue{.width = 3, .height = 2, .pixels = std::vector<uint32_t>(6, 5)};
  auto with = [](BmpSpec spec, uint32_t offBits, uint32_t clrUsed, uint16_t bits, uint32_t comp) {
    spec.offBits = offBits, spec.clrUsed = clrUsed, spec.bitCount = bits, spec.compression = comp;
    return EncodeBmp(spec);
  };
  auto cut = [](Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
  };
  const Bytes good = EncodeBmp(indexed), goodTrue = EncodeBmp(wideTrue);
  ASSERT_NE(Load(good), nullptr);
  Bytes wrongMagic = good;
  wrongMagic[1] = 'A';
  const std::vector<std::tuple<const char *, Bytes, int>> cases = {
      {"empty file", Bytes{}, 1},
      {"one byte", Bytes{'B'}, 1},
      {"wrong magic", wrongMagic, 1},
      {"header cut short", cut(good, 40), 0},
      {"compressed", with(indexed, 62, 2, 8, 1), 1},
      {"compressed, size only", with(indexed, 62, 2, 8, 1), 0},
      {"rows start inside the palette", with(indexed, 54, 2, 8, 0), 1},
      {"palette longer than the file", with(indexed, 2u << 20, 1000, 8, 0), 1},
      {"palette past the rows and the file", with(indexed, 0xFFFFFFF0, 0xFFFFFFFF, 8, 0), 1},
      {"palette entry cut short", cut(good, 54 + 6), 1},
      {"rows past the end of the file", with(indexed, 0x7FFFFFFF, 2, 8, 0), 1},
      {"indexed row cut short", cut(good, good.size() - 5), 1},
      {"last row padding missing", cut(good, good.size() - 1), 1},
      {"24-bit padding missing", cut(goodTrue, goodTrue.size() - 1), 1},
      {"24-bit rows start inside the headers", with(wideTrue, 50, 0, 24, 0), 1},
      {"16 bits", with(wideTrue, 54, 0, 16, 0), 1},
      {"32 bits", with(wideTrue, 54, 0, 32, 0), 1},
      {"2 bits", with(indexed, 62, 2, 2, 0), 1},
  };
  for (const auto &[what, bytes, isRGBReadIn] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Load(bytes, isRGBReadIn), nullptr);
  }
}

// Files whose headers are readable but whose pixels are not asked for, or cannot or must not be
// produced: the record carries the size and depth as stored and no pixels.
TEST_F(BmpPluginTest, GivesSizeWithoutPixels) {
  const std::vector<uint32_t> pixels(8, 0x445566);
  const std::vector<std::tuple<const char *, BmpSpec, size_t, int>> cases = {
      {"size only, rows cut short", {.width = 4, .height = 2, .pixels = pixels}, 60, 0},
      {"size only, 16 bits", {.width = 2, .height = 2, .bitCount = 16}, 0, 0},
      {"size only, 32 bits", {.width = 2, .height = 2, .bitCount = 32}, 0, 0},
      {"unpadded rows cut short", {.width = 4, .height = 2, .pixels = pixels}, 54 + 12, 1},
      {"negative height (top-down)", {.width = 4, .height = -2}, 0, 1},
      {"negative width", {.width = -4, .height = 2}, 0, 1},
      {"both negative", {.width = -4, .height = -2}, 0, 1},
      {"zero width", {.width = 0, .height = 5}, 0, 1},
      {"buffer beyond 32 bits", {.width = 70000, .height = 70000}, 0, 1},
  };
  for (const auto &[what, spec, fileSize, isRGBReadIn] : cases) {
    SCOPED_TRACE(what);
    Bytes bytes = EncodeBmp(spec);
    if (fileSize != 0) bytes.resize(fileSize);
    Record record = Load(bytes, isRGBReadIn);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->rgbInfo.width, static_cast<uint32_t>(spec.width));
    EXPECT_EQ(record->rgbInfo.height, static_cast<uint32_t>(spec.height));
    EXPECT_EQ(record->rgbInfo.bitsPixl, spec.bitCount);
    EXPECT_EQ(record->rgbInfo.ptBits, nullptr);
  }
}

TEST_F(BmpPluginTest, RefusesWhatIsNoReadableFile) {
  std::filesystem::create_directory(folder.File("folder.bmp"));
  EXPECT_EQ(LoadPath(folder.File("folder.bmp")), nullptr);
  EXPECT_EQ(LoadPath(folder.File("folder.bmp"), 0), nullptr);
  EXPECT_EQ(LoadPath(folder.File("missing.bmp")), nullptr);
}

}  // namespace
}  // namespace plugintest
