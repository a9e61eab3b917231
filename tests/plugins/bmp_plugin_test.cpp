// The bitmap plug-in through its real shared library: decoding of every supported depth,
// the writer's exact file layout, and the refusals of malformed files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "tests/plugins/BmpFileBuilder.h"
#include "tests/plugins/PluginTestSupport.h"

namespace plugintest {
namespace {

class BmpPluginTest : public ::testing::Test {
 protected:
  // Loads `bytes` written to a file; the result code must be 0 whatever the outcome.
  Record Load(const Bytes &bytes, int isRGBReadIn = 1, const std::string &name = "p.bmp") {
    WriteFile(folder / name, bytes);
    return LoadPath(folder / name, isRGBReadIn);
  }
  Record LoadPath(const std::string &path, int isRGBReadIn = 1) {
    int code = -1;
    Record record(plugin.loadRgb(path.c_str(), isRGBReadIn, &code));
    EXPECT_EQ(code, 0);
    return record;
  }
  static Bytes Rgb(const Record &record) {
    const tagRGBInfo &info = record->rgbInfo;
    return Bytes(info.ptBits, info.ptBits + size_t{info.width} * info.height * 3);
  }

  PluginLibrary plugin{"bmpplug.dll"};
  TempFolder folder;
};

TEST_F(BmpPluginTest, ReportsItsPattern) {
  EXPECT_STREQ(plugin.queryInfo(), "*.BMP");
}

// Every depth, with widths whose rows need padding (and, below 8 bits, a part-used last byte).
TEST_F(BmpPluginTest, DecodesEachDepthWithOddWidthsTopRowFirst) {
  const std::vector<uint32_t> colors = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                        0x0000FF, 0x123456, 0xABCDEF, 0x7F7F01};
  struct Case {
    uint16_t bitCount;
    int32_t width;
  };
  for (const Case c :
       {Case{1, 9}, Case{1, 33}, Case{4, 3}, Case{4, 5}, Case{8, 7}, Case{24, 5}, Case{24, 1}}) {
    SCOPED_TRACE(testing::Message() << c.bitCount << " bits, width " << c.width);
    BmpSpec spec{.width = c.width, .height = 3, .bitCount = c.bitCount};
    const uint32_t entries = c.bitCount == 24 ? 0 : std::min<uint32_t>(8, 1u << c.bitCount);
    spec.palette.assign(colors.begin(), colors.begin() + entries);
    spec.clrUsed = entries;
    Bytes expected;
    for (int32_t i = 0; i < c.width * 3; ++i) {
      const uint32_t value =
          c.bitCount == 24 ? (0x10203u * 37u * uint32_t(i + 1)) & 0xFFFFFF : (i * 5) % entries;
      spec.pixels.push_back(value);
      const uint32_t rgb = c.bitCount == 24 ? value : colors[value];
      expected.insert(expected.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
    }
    Record record = Load(EncodeBmp(spec));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->rgbInfo.width, uint32_t(c.width));
    EXPECT_EQ(record->rgbInfo.height, 3u);
    EXPECT_EQ(record->rgbInfo.bitsPixl, c.bitCount);
    EXPECT_EQ(record->rgbInfo.ptAlpha, nullptr);
    EXPECT_EQ(record->next, nullptr);
    EXPECT_STREQ(record->filename, (folder / "p.bmp").c_str());
    ASSERT_NE(record->rgbInfo.ptBits, nullptr);
    EXPECT_EQ(Rgb(record), expected);
  }
}

TEST_F(BmpPluginTest, PaletteSizeFollowsDepthWhenUnstatedAndMissingEntriesAreBlack) {
  // 8 bits, biClrUsed 0: all 256 entries are read, the last one is used.
  BmpSpec full{.width = 2, .height = 1, .bitCount = 8, .pixels = {255, 1}};
  full.palette.assign(256, 0x101010);
  full.palette[255] = 0xC0FFEE;
  full.palette[1] = 0x010203;
  Record record = Load(EncodeBmp(full));
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(Rgb(record), (Bytes{0xC0, 0xFF, 0xEE, 1, 2, 3}));

  // 4 bits with two stated entries: an index past them gives black, never a read past them.
  BmpSpec few{.width = 3, .height = 1, .bitCount = 4, .clrUsed = 2};
  few.palette = {0xFFFFFF, 0x00FF00};
  few.pixels = {1, 9, 15};
  record = Load(EncodeBmp(few));
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(Rgb(record), (Bytes{0, 255, 0, 0, 0, 0, 0, 0, 0}));

  // More entries than the depth can address are accepted.
  BmpSpec many{.width = 1, .height = 1, .bitCount = 1, .clrUsed = 300, .pixels = {1}};
  many.palette.assign(300, 0x0000FF);
  record = Load(EncodeBmp(many));
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(Rgb(record), (Bytes{0, 0, 255}));
}

TEST_F(BmpPluginTest, SavesTwoByTwoAsSeventyBytesBottomRowFirst) {
  uint8_t pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  tagRGBInfo picture = Picture(2, 2, pixels);
  const std::string path = folder / "out.bmp";
  ASSERT_EQ(plugin.saveRgb(path.c_str(), "BMP", &picture), 0);
  const Bytes file = ReadFile(path);
  ASSERT_EQ(file.size(), 70u);
  Bytes expectedHead{'B', 'M'};
  PutLe(expectedHead, 70, 4);
  PutLe(expectedHead, 0, 4);
  PutLe(expectedHead, 54, 4);
  PutLe(expectedHead, 40, 4);
  PutLe(expectedHead, 2, 4);
  PutLe(expectedHead, 2, 4);
  PutLe(expectedHead, 1, 2);
  PutLe(expectedHead, 24, 2);
  PutLe(expectedHead, 0, 24);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), expectedHead);
  EXPECT_EQ(Bytes(file.begin() + 54, file.end()),
            (Bytes{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
  EXPECT_EQ(pixels[0], 1) << "the caller's picture must stay as it was";

  Record back = LoadPath(path);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->rgbInfo.bitsPixl, 24u);
  ASSERT_NE(back->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(Rgb(back), Bytes(std::begin(pixels), std::end(pixels)));
}

TEST_F(BmpPluginTest, SavedFileSizesFollowTheRowStride) {
  for (const auto &[width, height, size] :
       {std::tuple{1u, 1u, 58u}, std::tuple{720u, 487u, 1051974u},
        std::tuple{5u, 3u, 54u + 3u * 16u}}) {
    Bytes pixels(size_t{width} * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 31);
    tagRGBInfo picture = Picture(width, height, pixels.data());
    const std::string path = folder / "s.bmp";
    ASSERT_EQ(plugin.saveRgb(path.c_str(), "BMP", &picture), 0);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    Record back = LoadPath(path);
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->rgbInfo.ptBits, nullptr);
    EXPECT_EQ(Rgb(back), pixels);
  }
}

TEST_F(BmpPluginTest, SaveReportsOpenFailure) {
  uint8_t pixel[3] = {};
  tagRGBInfo picture = Picture(1, 1, pixel);
  EXPECT_EQ(plugin.saveRgb((folder / "missing/x.bmp").c_str(), "BMP", &picture), ERR_FILE_OPEN);
}

TEST_F(BmpPluginTest, SizeOnlyLoadReadsNoPixels) {
  BmpSpec spec{.width = 4, .height = 2, .bitCount = 24, .pixels = std::vector<uint32_t>(8, 7)};
  Bytes cut = EncodeBmp(spec);
  cut.resize(60);  // rows cut short: the headers alone are read
  Record record = Load(cut, 0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->rgbInfo.width, 4u);
  EXPECT_EQ(record->rgbInfo.height, 2u);
  EXPECT_EQ(record->rgbInfo.bitsPixl, 24u);
  EXPECT_EQ(record->rgbInfo.ptBits, nullptr);

  // Depths without a decoder still report their size, but give nothing when pixels are asked.
  for (uint16_t bits : {16, 32}) {
    BmpSpec deep{.width = 2, .height = 2, .bitCount = bits};
    Bytes bytes = EncodeBmp(deep);
    bytes.resize(bytes.size() + 16);
    Record sized = Load(bytes, 0);
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(sized->rgbInfo.bitsPixl, bits);
    EXPECT_EQ(Load(bytes, 1), nullptr);
  }
}

// Files that must give no record at all.
TEST_F(BmpPluginTest, RefusesMalformedFiles) {
  const BmpSpec indexed{.width = 3,
                        .height = 2,
                        .bitCount = 8,
                        .clrUsed = 2,
                        .palette = {0xFF0000, 0x00FF00},
                        .pixels = {0, 1, 0, 1, 0, 1}};
  const BmpSpec wideTrue{
      .width = 3, .height = 2, .bitCount = 24, .pixels = std::vector<uint32_t>(6, 5)};
  const Bytes good = EncodeBmp(indexed);
  ASSERT_NE(Load(good), nullptr);

  auto with = [](BmpSpec spec, auto change) {
    change(spec);
    return EncodeBmp(spec);
  };
  auto cut = [](Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
  };
  const std::vector<std::pair<const char *, Bytes>> cases = {
      {"empty file", Bytes{}},
      {"one byte", Bytes{'B'}},
      {"wrong magic",
       [&] {
         Bytes b = good;
         b[1] = 'A';
         return b;
       }()},
      {"header cut short", cut(good, 40)},
      {"compressed", with(indexed, [](BmpSpec &s) { s.compression = 1; })},
      {"rows start inside the palette", with(indexed, [](BmpSpec &s) { s.offBits = 54; })},
      {"palette longer than the file", with(indexed,
                                            [](BmpSpec &s) {
                                              s.clrUsed = 1000;
                                              s.offBits = 2 * kFarOffset;
                                            })},
      {"palette past the rows and the file", with(indexed,
                                                  [](BmpSpec &s) {
                                                    s.clrUsed = 0xFFFFFFFF;
                                                    s.offBits = 0xFFFFFFF0;
                                                  })},
      {"palette entry cut short", cut(good, 54 + 6)},
      {"rows past the end of the file", with(indexed, [](BmpSpec &s) { s.offBits = 0x7FFFFFFF; })},
      {"indexed row cut short", cut(good, good.size() - 5)},
      {"last row padding missing", cut(good, good.size() - 1)},
      {"24-bit padding missing", cut(EncodeBmp(wideTrue), EncodeBmp(wideTrue).size() - 1)},
      {"24-bit rows start inside the headers", with(wideTrue, [](BmpSpec &s) { s.offBits = 50; })},
      {"32 bits", with(wideTrue, [](BmpSpec &s) { s.bitCount = 32; })},
      {"2 bits", with(indexed, [](BmpSpec &s) { s.bitCount = 2; })},
  };
  for (const auto &[what, bytes] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Load(bytes), nullptr);
  }
  EXPECT_EQ(Load(with(indexed, [](BmpSpec &s) { s.compression = 1; }), 0), nullptr);
}

// Files whose headers are readable but whose pixels cannot or must not be produced: the record
// carries the size as stored and no pixels.
TEST_F(BmpPluginTest, GivesSizeWithoutPixelsForUnusableDimensions) {
  struct Case {
    const char *what;
    int32_t width;
    int32_t height;
    size_t fileSize;  // 0: as encoded
  };
  for (const Case c : {Case{"negative height (top-down rows)", 4, -2, 0},
                       Case{"negative width", -4, 2, 0}, Case{"both negative", -4, -2, 0},
                       Case{"zero width", 0, 5, 0}, Case{"buffer beyond 32 bits", 70000, 70000, 0},
                       Case{"unpadded rows cut short", 4, 2, 54 + 12}}) {
    SCOPED_TRACE(c.what);
    BmpSpec spec{.width = c.width, .height = c.height, .bitCount = 24};
    if (c.width == 4 && c.height == 2) spec.pixels.assign(8, 0x445566);
    Bytes bytes = EncodeBmp(spec);
    if (c.fileSize != 0) bytes.resize(c.fileSize);
    Record record = Load(bytes);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->rgbInfo.width, static_cast<uint32_t>(c.width));
    EXPECT_EQ(record->rgbInfo.height, static_cast<uint32_t>(c.height));
    EXPECT_EQ(record->rgbInfo.ptBits, nullptr);
  }
}

TEST_F(BmpPluginTest, RefusesWhatIsNoReadableFile) {
  std::filesystem::create_directory(folder / "folder.bmp");
  EXPECT_EQ(LoadPath(folder / "folder.bmp"), nullptr);
  EXPECT_EQ(LoadPath(folder / "folder.bmp", 0), nullptr);
  EXPECT_EQ(LoadPath(folder / "missing.bmp"), nullptr);
}

}  // namespace
}  // namespace plugintest
