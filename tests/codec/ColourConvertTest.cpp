// Colour conversion between RGB pictures and KDT bodies: exact agreement with the plain
// formulas, the worked values, sample packing, field placement, clamping and failures. The tests
// of whole pictures run once for every copy of the conversions (see ConversionVariant.h) that the
// processor supports.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "codec/ColourConvert.h"
#include "codec/ConversionVariant.h"
#include "codec/SampleVectors.h"
#include "tests/codec/ReferenceConversion.h"

// The codec's vectors pass only between always-inlined helpers, so the calling convention that
// differs with and without AVX never applies to them.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

struct Form {
  int form;
  int width;
  int height;
  int planeBytes;
  int bodyBytes;
  const ReferenceMatrix *matrix;
};
const Form kForms[] = {{1, 720, 487, 471360, 942720, &kReference601},
                       {2, 720, 576, 555840, 1111680, &kReference601},
                       {3, 1920, 1080, 2594400, 5188800, &kReference709},
                       {4, 1280, 720, 1153600, 2307200, &kReference709}};

using Samples = std::array<unsigned, 4>;

Samples Unpack(const unsigned char *b) {
  const uint64_t bits = uint64_t{b[0]} << 32 | uint64_t{b[1]} << 24 | uint64_t{b[2]} << 16 |
                        uint64_t{b[3]} << 8 | b[4];
  return {unsigned(bits >> 30) & 0x3FF, unsigned(bits >> 20) & 0x3FF, unsigned(bits >> 10) & 0x3FF,
          unsigned(bits) & 0x3FF};
}

void Pack(unsigned char *b, const Samples &s) {
  const uint64_t bits = uint64_t{s[0]} << 30 | uint64_t{s[1]} << 20 | uint64_t{s[2]} << 10 | s[3];
  for (int i = 0; i < 5; ++i) b[i] = static_cast<unsigned char>(bits >> (32 - 8 * i));
}

// The body offset of the first active luma byte of frame line `row`, from the slot table.
size_t LumaLine(const Form &f, int row) {
  switch (f.form) {
    case 1:
      return (row % 2 == 0 ? row / 2 : 247 + row / 2) * 960 + 60;
    case 2:
      return (row % 2 == 0 ? row / 2 : 291 + row / 2) * 960 + 60;
    case 3:
      return (row % 2 == 0 ? row / 2 : 540 + row / 2) * 2400;
    default:
      return static_cast<size_t>(row) * 1600;
  }
}

struct Body {
  unsigned char *bytes = nullptr;
  int length = 0;
  ~Body() { std::free(bytes); }
};

struct Picture {
  unsigned char *bytes = nullptr;
  int length = 0;
  ~Picture() { std::free(bytes); }
};

// Runs a test with one copy of the conversions, skipped where the processor lacks it.
class ColourCopy : public testing::TestWithParam<ConversionVariant> {
 protected:
  void SetUp() override {
    if (!ProcessorRuns(GetParam())) {
      GTEST_SKIP() << "the processor cannot run " << ConversionVariantName(GetParam());
    }
  }
  int Encode(const unsigned char *rgb, Body &body, int form, int flag = 0) const {
    return EncodePictureWith(GetParam(), rgb, &body.bytes, &body.length, form, flag);
  }
  int Decode(const unsigned char *yuv, int length, Picture &out) const {
    return DecodeBodyWith(GetParam(), yuv, length, &out.bytes, &out.length);
  }
};
INSTANTIATE_TEST_SUITE_P(Every, ColourCopy, testing::ValuesIn(kCompiledConversionVariants),
                         [](const testing::TestParamInfo<ConversionVariant> &info) {
                           return std::string(ConversionVariantName(info.param));
                         });

// Encodes one group of four pixels on its own.
void EncodeGroup(const std::array<unsigned char, 12> &rgb, int form, int flag, Samples &y,
                 Samples &c) {
  unsigned char out[10] = {};
  rgb2yuvUnit(rgb.data(), 0, out, 0, 5, form, flag);
  y = Unpack(out);
  c = Unpack(out + 5);
}

struct Worked {
  unsigned char r, g, b;
  unsigned y601, u601, v601, y709, u709, v709;
};
const Worked kWorked[] = {
    {255, 255, 255, 940, 512, 512, 940, 512, 512}, {0, 0, 0, 64, 512, 512, 64, 512, 512},
    {128, 128, 128, 504, 512, 512, 504, 512, 512}, {255, 0, 0, 326, 361, 960, 250, 409, 960},
    {0, 255, 0, 578, 215, 137, 691, 167, 105},     {0, 0, 255, 164, 960, 439, 127, 960, 471},
    {255, 255, 0, 840, 64, 585, 877, 64, 553},     {0, 255, 255, 678, 663, 64, 754, 615, 64},
    {255, 0, 255, 426, 809, 887, 313, 857, 919},
};

TEST(ColourWorkedValues, EncodeAndDecodeBothMatrices) {
  for (const Form &f : kForms) {
    for (const Worked &w : kWorked) {
      const bool bt601 = f.form <= 2;
      const Samples want = {bt601 ? w.y601 : w.y709, bt601 ? w.u601 : w.u709,
                            bt601 ? w.v601 : w.v709, 0};
      const std::array<unsigned char, 12> rgb = {w.r, w.g, w.b, w.r, w.g, w.b,
                                                 w.r, w.g, w.b, w.r, w.g, w.b};
      Samples y, c;
      EncodeGroup(rgb, f.form, 0, y, c);
      EXPECT_EQ(y, (Samples{want[0], want[0], want[0], want[0]})) << f.form << " " << int(w.r);
      EXPECT_EQ(c, (Samples{want[1], want[2], want[1], want[2]})) << f.form << " " << int(w.g);
    }
  }
}

// Whole pictures of the worked colours, one colour per group, each line starting with another:
// every group holds the colour's samples, and the body decodes back to the picture.
TEST_P(ColourCopy, WorkedValuesBothWaysInEveryForm) {
  constexpr size_t kColours = std::size(kWorked);
  for (const Form &f : kForms) {
    const size_t groupsPerLine = static_cast<size_t>(f.width) / 4;
    std::vector<unsigned char> rgb(static_cast<size_t>(f.width) * f.height * 3);
    for (size_t g = 0; g < rgb.size() / 12; ++g) {
      const Worked &w = kWorked[(g / groupsPerLine + g) % kColours];
      for (size_t i = 0; i < 4; ++i) {
        rgb[12 * g + 3 * i] = w.r;
        rgb[12 * g + 3 * i + 1] = w.g;
        rgb[12 * g + 3 * i + 2] = w.b;
      }
    }
    Body body;
    ASSERT_EQ(Encode(rgb.data(), body, f.form), 0);
    const bool bt601 = f.form <= 2;
    for (int row = 0; row < f.height; ++row) {
      const unsigned char *y = body.bytes + LumaLine(f, row);
      for (size_t k = 0; k < groupsPerLine; ++k) {
        const size_t g = static_cast<size_t>(row) * groupsPerLine + k;
        const Worked &w = kWorked[(g / groupsPerLine + g) % kColours];
        const unsigned luma = bt601 ? w.y601 : w.y709;
        const unsigned u = bt601 ? w.u601 : w.u709;
        const unsigned v = bt601 ? w.v601 : w.v709;
        ASSERT_EQ(Unpack(y + 5 * k), (Samples{luma, luma, luma, luma})) << f.form << " " << row;
        ASSERT_EQ(Unpack(y + f.planeBytes + 5 * k), (Samples{u, v, u, v})) << f.form << " " << row;
      }
    }
    Picture out;
    ASSERT_EQ(Decode(body.bytes, body.length, out), 0);
    ASSERT_EQ(out.length, static_cast<int>(rgb.size()));
    EXPECT_EQ(std::memcmp(out.bytes, rgb.data(), rgb.size()), 0) << "form " << f.form;
  }
}

TEST(ColourPacking, WhiteAndBlackGroupBytes) {
  unsigned char out[10];
  const std::array<unsigned char, 12> white = {255, 255, 255, 255, 255, 255,
                                               255, 255, 255, 255, 255, 255};
  rgb2yuvUnit(white.data(), 0, out, 0, 5, 1, 0);
  const unsigned char whiteBytes[10] = {0xEB, 0x3A, 0xCE, 0xB3, 0xAC, 0x80, 0x20, 0x08, 0x02, 0x00};
  EXPECT_EQ(std::memcmp(out, whiteBytes, 10), 0);
  const std::array<unsigned char, 12> black = {};
  rgb2yuvUnit(black.data(), 0, out, 0, 5, 3, 0);
  const unsigned char blackBytes[10] = {0x10, 0x04, 0x01, 0x00, 0x40, 0x80, 0x20, 0x08, 0x02, 0x00};
  EXPECT_EQ(std::memcmp(out, blackBytes, 10), 0);
}

TEST(ColourPacking, ChromaComesFromTheFirstAndThirdPixel) {
  // Red, green, blue, white: chroma of red (U1, V1) and of blue (U3, V3).
  const std::array<unsigned char, 12> mixed = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  Samples y, c;
  EncodeGroup(mixed, 1, 0, y, c);
  EXPECT_EQ(y, (Samples{326, 578, 164, 940}));
  EXPECT_EQ(c, (Samples{361, 960, 960, 439}));

  // Decoding gives the second pixel the chroma of the first, the fourth that of the third.
  const Form &f = kForms[0];
  std::vector<unsigned char> body(static_cast<size_t>(f.bodyBytes));
  Pack(&body[60], y);
  Pack(&body[60 + static_cast<size_t>(f.planeBytes)], c);
  Picture out;
  ASSERT_EQ(tranYUV2RGB(body.data(), f.bodyBytes, &out.bytes, &out.length), 0);
  unsigned char expected[12];
  ReferenceDecode(kReference601, 326, 361, 960, expected);
  ReferenceDecode(kReference601, 578, 361, 960, expected + 3);
  ReferenceDecode(kReference601, 164, 960, 439, expected + 6);
  ReferenceDecode(kReference601, 940, 960, 439, expected + 9);
  EXPECT_EQ(std::memcmp(out.bytes, expected, 12), 0);
  EXPECT_EQ(out.bytes[0], 255);  // the first pixel is red again
  EXPECT_EQ(out.bytes[1], 0);
}

TEST(ColourGrey, EveryLevelIsNeutralAndComesBack) {
  for (int form : {1, 3}) {
    for (unsigned k = 0; k < 256; ++k) {
      const auto v = static_cast<unsigned char>(k);
      Samples y, c;
      EncodeGroup({v, v, v, v, v, v, v, v, v, v, v, v}, form, 0, y, c);
      ASSERT_EQ(c, (Samples{512, 512, 512, 512})) << form << " " << k;
      Samples keyY, keyC;
      EncodeGroup({v, v, v, v}, form, 1, keyY, keyC);  // a key byte is a grey pixel
      EXPECT_EQ(keyY, y);
      EXPECT_EQ(keyC, c);
      unsigned char rgb[3];
      ReferenceDecode(form == 1 ? kReference601 : kReference709, static_cast<int>(y[0]), 512, 512,
                      rgb);
      EXPECT_EQ(rgb[0], k);
      EXPECT_EQ(rgb[2], k);
    }
  }
  Samples y, c;
  EncodeGroup({255, 0, 255, 128}, 4, 1, y, c);
  EXPECT_EQ(y, (Samples{940, 64, 940, 504}));
}

// Every frame line of every form comes back where it was: each line is its own grey level. The
// same picture as a key plane gives the same body.
TEST_P(ColourCopy, EveryLineRoundTripsInPlace) {
  for (const Form &f : kForms) {
    std::vector<unsigned char> rgb(static_cast<size_t>(f.width) * f.height * 3);
    for (int row = 0; row < f.height; ++row) {
      std::memset(&rgb[static_cast<size_t>(row) * f.width * 3], (row * 37) % 256,
                  static_cast<size_t>(f.width) * 3);
    }
    Body body;
    ASSERT_EQ(Encode(rgb.data(), body, f.form), 0);
    ASSERT_EQ(body.length, f.bodyBytes);
    Picture out;
    ASSERT_EQ(Decode(body.bytes, body.length, out), 0);
    ASSERT_EQ(out.length, static_cast<int>(rgb.size()));
    EXPECT_EQ(std::memcmp(out.bytes, rgb.data(), rgb.size()), 0) << "form " << f.form;

    std::vector<unsigned char> key(rgb.size() / 3);
    for (size_t i = 0; i < key.size(); ++i) key[i] = rgb[3 * i];
    Body fromKey;
    ASSERT_EQ(Encode(key.data(), fromKey, f.form, 1), 0);
    ASSERT_EQ(fromKey.length, f.bodyBytes);
    EXPECT_EQ(std::memcmp(fromKey.bytes, body.bytes, static_cast<size_t>(f.bodyBytes)), 0)
        << "form " << f.form;
  }
}

TEST(ColourPlacement, FormOneFieldSlots) {
  const Form &f = kForms[0];
  const std::pair<int, int> lineToSlot[] = {{0, 0}, {1, 247}, {485, 489}, {486, 243}};
  for (const auto &[line, slot] : lineToSlot) {
    std::vector<unsigned char> rgb(static_cast<size_t>(f.width) * f.height * 3, 0);
    std::memset(&rgb[static_cast<size_t>(line) * f.width * 3], 255,
                static_cast<size_t>(f.width) * 3);
    Body body;
    ASSERT_EQ(tranRGB2YUV(rgb.data(), &body.bytes, &body.length, 1, 0), 0);
    const size_t at = static_cast<size_t>(slot) * 960 + 60;
    EXPECT_EQ(Unpack(body.bytes + at), (Samples{940, 940, 940, 940})) << "line " << line;
    EXPECT_EQ(Unpack(body.bytes + at + 895), (Samples{940, 940, 940, 940})) << "line " << line;
    EXPECT_EQ(Unpack(body.bytes + at + static_cast<size_t>(f.planeBytes)),
              (Samples{512, 512, 512, 512}));
    // The neighbouring used slot holds a black line (slots 244 to 246 and 490 are spare).
    const size_t next = slot == 0 || slot == 247 ? at + 960 : at - 960;
    EXPECT_EQ(Unpack(body.bytes + next), (Samples{64, 64, 64, 64})) << "line " << line;
  }
}

TEST_P(ColourCopy, SlotHeadsAndSpareSlotsAreNotRead) {
  const Form &f = kForms[0];
  std::vector<unsigned char> body(static_cast<size_t>(f.bodyBytes));
  std::mt19937 random(5);
  for (unsigned char &b : body) b = static_cast<unsigned char>(random());
  Picture before;
  ASSERT_EQ(Decode(body.data(), f.bodyBytes, before), 0);
  for (size_t plane : {size_t{0}, static_cast<size_t>(f.planeBytes)}) {
    for (int slot = 0; slot < 491; ++slot) {
      const bool spare = (slot >= 244 && slot <= 246) || slot == 490;
      const size_t start = plane + static_cast<size_t>(slot) * 960;
      for (size_t i = 0; i < (spare ? 960u : 60u); ++i) body[start + i] ^= 0xFF;
    }
  }
  Picture after;
  ASSERT_EQ(Decode(body.data(), f.bodyBytes, after), 0);
  EXPECT_EQ(std::memcmp(before.bytes, after.bytes, static_cast<size_t>(before.length)), 0);
}

TEST_P(ColourCopy, SamplesAreClampedTo64Through960) {
  const Form &f = kForms[2];
  auto decode = [&](const Samples &y, const Samples &c) {
    std::vector<unsigned char> body(static_cast<size_t>(f.bodyBytes));
    Pack(&body[0], y);
    Pack(&body[static_cast<size_t>(f.planeBytes)], c);
    Picture out;
    EXPECT_EQ(Decode(body.data(), f.bodyBytes, out), 0);
    return std::vector<unsigned char>(out.bytes, out.bytes + 12);
  };
  const Samples neutral = {512, 512, 512, 512};
  EXPECT_EQ(decode({941, 960, 961, 1023}, neutral), std::vector<unsigned char>(12, 255));
  EXPECT_EQ(decode({0, 63, 64, 0}, neutral), std::vector<unsigned char>(12, 0));
  EXPECT_EQ(decode({500, 500, 500, 500}, {0, 63, 1023, 961}),
            decode({500, 500, 500, 500}, {64, 64, 960, 960}));
}

TEST(ColourFailures, UnknownFormAndBodyLengthTouchNothing) {
  const std::vector<unsigned char> rgb(1920 * 1080 * 3);
  unsigned char sentinel = 0;
  unsigned char *out = &sentinel;
  int length = -7;
  EXPECT_EQ(tranRGB2YUV(rgb.data(), &out, &length, 0, 0), ERR_CODEC);
  EXPECT_EQ(tranRGB2YUV(rgb.data(), &out, &length, 5, 1), ERR_CODEC);
  EXPECT_EQ(out, &sentinel);
  EXPECT_EQ(length, -7);
  for (int bad : {942736, 942719, 0, -1, 5188816}) {
    EXPECT_EQ(tranYUV2RGB(rgb.data(), bad, &out, &length), -2) << bad;
  }
  EXPECT_EQ(out, &sentinel);
  EXPECT_EQ(length, -7);
}

// The cheaper operations that stand in for the formula's divisions and roundings, value by value
// over everything the conversion can give them.
TEST(ColourExactness, ReplacementsMatchTheFormulaForEveryValue) {
  for (int c = 0; c < 256; ++c) {
    ASSERT_EQ(UnitOfComponent(double{static_cast<double>(c)}),
              static_cast<double>(static_cast<float>(c / 255.0)))
        << c;
  }
  // Every single-precision channel value from 0 to 1, in the order of their bit patterns.
  int mismatches = 0;
  for (uint32_t bits = 0; bits <= std::bit_cast<uint32_t>(1.0f); ++bits) {
    const float value = std::bit_cast<float>(bits);
    const auto want = static_cast<int>(static_cast<float>(static_cast<double>(value) * 255 + 0.5));
    mismatches += static_cast<int>(ScaledForByte(value)) != want;
  }
  EXPECT_EQ(mismatches, 0);
}

// The decoder's products (Y - 64) x (1 / 876) and c x (weight / 448) in place of the formula's
// quotients (Y - 64) / 876 and (c x weight) / 448: every channel byte of every clamped sample
// triple (Y, U, V), in both matrices, is the formula's.
TEST(ColourExactness, MultipliedTermsGiveTheFormulasBytes) {
  for (const ReferenceMatrix *m : {&kReference601, &kReference709}) {
    const double red = m->oneMinusKr / 448, blue = m->oneMinusKb / 448;
    const double greenU = m->greenU / 448, greenV = m->greenV / 448;
    long mismatches = 0;
    for (int y = 64; y <= 960; ++y) {
      const double yn = (y - 64) / 876.0;
      const double multiplied = (y - 64) * (1.0 / 876);
      for (int c = 64 - 512; c <= 960 - 512; ++c) {
        mismatches += ReferenceChannel(multiplied + c * red) !=
                      ReferenceChannel(yn + (c * m->oneMinusKr) / 448);
        mismatches += ReferenceChannel(multiplied + c * blue) !=
                      ReferenceChannel(yn + (c * m->oneMinusKb) / 448);
        const double folded = multiplied - c * greenU;
        const double formula = yn - (c * m->greenU) / 448;
        for (int v = 64 - 512; v <= 960 - 512; ++v) {
          mismatches += ReferenceChannel(folded - v * greenV) !=
                        ReferenceChannel(formula - (v * m->greenV) / 448);
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

// The encoder against the plain formulas for every 24-bit colour: colours in order at the chroma
// pixels (1 and 3) of each group, random colours at the others.
void CheckEncoderAgainstFormulas(ConversionVariant variant, const Form &f) {
  const size_t groupsPerLine = static_cast<size_t>(f.width) / 4;
  const size_t groups = groupsPerLine * static_cast<size_t>(f.height);
  std::vector<unsigned char> rgb(groups * 12);
  std::mt19937 random(11);
  uint32_t colour = 0;
  auto put = [](unsigned char *p, uint32_t c) {
    p[0] = static_cast<unsigned char>(c >> 16);
    p[1] = static_cast<unsigned char>(c >> 8);
    p[2] = static_cast<unsigned char>(c);
  };
  int mismatches = 0;
  while (colour < (1u << 24)) {
    for (size_t g = 0; g < groups; ++g) {
      unsigned char *p = &rgb[g * 12];
      put(p, colour++ & 0xFFFFFF);
      put(p + 3, random() & 0xFFFFFF);
      put(p + 6, colour++ & 0xFFFFFF);
      put(p + 9, random() & 0xFFFFFF);
    }
    Body body;
    ASSERT_EQ(EncodePictureWith(variant, rgb.data(), &body.bytes, &body.length, f.form, 0), 0);
    for (int row = 0; row < f.height && mismatches < 10; ++row) {
      const unsigned char *y = body.bytes + LumaLine(f, row);
      const unsigned char *c = y + f.planeBytes;
      for (size_t k = 0; k < groupsPerLine; ++k) {
        const unsigned char *p = &rgb[(static_cast<size_t>(row) * groupsPerLine + k) * 12];
        const Samples luma = Unpack(y + 5 * k);
        const Samples chroma = Unpack(c + 5 * k);
        const ReferenceYuv first = ReferenceEncode(*f.matrix, p[0], p[1], p[2]);
        const ReferenceYuv third = ReferenceEncode(*f.matrix, p[6], p[7], p[8]);
        const Samples wantLuma = {first.y, ReferenceEncode(*f.matrix, p[3], p[4], p[5]).y, third.y,
                                  ReferenceEncode(*f.matrix, p[9], p[10], p[11]).y};
        const Samples wantChroma = {first.u, first.v, third.u, third.v};
        if (luma != wantLuma || chroma != wantChroma) {
          ADD_FAILURE() << "form " << f.form << " line " << row << " group " << k;
          ++mismatches;
        }
      }
    }
    ASSERT_EQ(mismatches, 0);
  }
}

TEST_P(ColourCopy, EncoderMatchesTheFormulasForEveryColour) {
  CheckEncoderAgainstFormulas(GetParam(), kForms[1]);  // BT.601
  CheckEncoderAgainstFormulas(GetParam(), kForms[2]);  // BT.709
}

// The decoder against the plain formulas: every luma value with every value of one chroma
// component, the other taken from a set that includes the clamping edges.
void CheckDecoderAgainstFormulas(ConversionVariant variant, const Form &f, bool sweepU) {
  const unsigned others[] = {0,   63,  64,  65,  100, 300, 511,  512,
                             513, 700, 900, 959, 960, 961, 1000, 1023};
  const size_t groupsPerLine = static_cast<size_t>(f.width) / 4;
  const size_t groups = groupsPerLine * static_cast<size_t>(f.height);
  std::vector<unsigned char> body(static_cast<size_t>(f.bodyBytes));
  uint32_t next = 0;  // (other index, swept value, luma / 4) in one counter
  const uint32_t total = 16 * 1024 * 256;
  while (next < total) {
    std::vector<std::array<int, 3>> triples;
    for (int row = 0; row < f.height; ++row) {
      unsigned char *y = body.data() + LumaLine(f, row);
      for (size_t k = 0; k < groupsPerLine; ++k, ++next) {
        const uint32_t n = next % total;
        const unsigned luma = (n % 256) * 4;
        const unsigned swept = (n / 256) % 1024;
        const unsigned other = others[n / (256 * 1024)];
        const unsigned u = sweepU ? swept : other;
        const unsigned v = sweepU ? other : swept;
        Pack(y + 5 * k, {luma, luma + 1, luma + 2, luma + 3});
        Pack(y + f.planeBytes + 5 * k, {u, v, u, v});
        for (unsigned i = 0; i < 4; ++i) {
          triples.push_back({static_cast<int>(luma + i), static_cast<int>(u), static_cast<int>(v)});
        }
      }
    }
    ASSERT_EQ(triples.size(), groups * 4);
    Picture out;
    ASSERT_EQ(DecodeBodyWith(variant, body.data(), f.bodyBytes, &out.bytes, &out.length), 0);
    for (size_t i = 0; i < triples.size(); ++i) {
      unsigned char want[3];
      ReferenceDecode(*f.matrix, triples[i][0], triples[i][1], triples[i][2], want);
      ASSERT_EQ(std::memcmp(out.bytes + 3 * i, want, 3), 0)
          << "form " << f.form << " Y " << triples[i][0] << " U " << triples[i][1] << " V "
          << triples[i][2];
    }
  }
}

TEST_P(ColourCopy, DecoderMatchesTheFormulas) {
  for (bool sweepU : {false, true}) {
    CheckDecoderAgainstFormulas(GetParam(), kForms[1], sweepU);  // BT.601
    CheckDecoderAgainstFormulas(GetParam(), kForms[2], sweepU);  // BT.709
  }
}

}  // namespace
