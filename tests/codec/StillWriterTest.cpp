// The still writer: a picture and its key companion as KDT files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "codec/ColourConvert.h"
#include "codec/KdtFile.h"
#include "codec/StillWriter.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

Bytes Gradient(size_t bytes) {
  Bytes pixels(bytes);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7 / 3);
  return pixels;
}

class StillWriter : public ::testing::Test {
 protected:
  // The encoder's body of a 720 x 576 picture (flag 1: of a key plane).
  static Bytes Encoded(const Bytes &pixels, int flag) {
    unsigned char *body = nullptr;
    int length = 0;
    EXPECT_EQ(tranRGB2YUV(pixels.data(), &body, &length, 2, flag), 0);
    Bytes copy(body, body + length);
    std::free(body);
    return copy;
  }
  // readKDT of `path`, which must succeed, into `header`; returns the body.
  static Bytes Load(const std::string &path, kdt_header &header) {
    FILE *fp = std::fopen(path.c_str(), "rb");
    unsigned char *body = nullptr;
    int length = 0;
    EXPECT_EQ(fp == nullptr ? -1 : readKDT(fp, &header, &body, &length), 1) << path;
    if (fp != nullptr) std::fclose(fp);
    Bytes copy(body, body + (body == nullptr ? 0 : length));
    std::free(body);
    return copy;
  }

  test_support::TempFolder folder_;
  const Bytes picture_ = Gradient(720 * 576 * 3);
  const Bytes key_ = Gradient(720 * 576);
};

TEST_F(StillWriter, EachPictureSizeGivesItsFormatAndReplacesAnOldFile) {
  const struct {
    int width, height, form;
    uintmax_t fileBytes;
  } sizes[] = {{720, 487, 1, 942784},
               {720, 576, 2, 1111744},
               {1920, 1080, 3, 5188864},
               {1280, 720, 4, 2307264}};
  const std::string path = folder_.File("MCLIP01.QVEL_004.KDT");
  test_support::WriteWholeFile(path, Bytes(6000000, 0x11));
  for (const auto &s : sizes) {
    const Bytes picture = Gradient(size_t(s.width) * s.height * 3);
    EXPECT_EQ(WriteToKdt(path.c_str(), picture.data(), nullptr, s.width, s.height), s.form);
    EXPECT_EQ(fs::file_size(path), s.fileBytes);
  }
  EXPECT_FALSE(fs::exists(folder_.File("SCLIP01.QVEL_004.KDT")));
}

TEST_F(StillWriter, KeyPlaneBecomesTheCompanion) {
  const std::string path = folder_.File("MCLIP01.QVEL_004.KDT");
  EXPECT_EQ(WriteToKdt(path.c_str(), picture_.data(), key_.data(), 720, 576), 12);
  kdt_header picture{}, companion{};
  EXPECT_TRUE(Load(path, picture) == Encoded(picture_, 0));
  EXPECT_TRUE(Load(folder_.File("SCLIP01.QVEL_004.KDT"), companion) == Encoded(key_, 1));
  EXPECT_EQ(std::memcmp(picture.kdtRegisterName, "CLIP01", 7), 0);
  EXPECT_EQ(std::memcmp(companion.kdtRegisterName, picture.kdtRegisterName, 8), 0);
  EXPECT_EQ(std::memcmp(companion.kdtFlagName, picture.kdtFlagName, 12), 0);
  EXPECT_EQ(companion.kdtLogin, picture.kdtLogin);
}

TEST_F(StillWriter, RefusalsCreateNoFile) {
  const struct {
    const char *name;
    int width, height, result;
  } cases[] = {
      {"picture.KDT", 800, 600, -2},  // the name is checked before the size
      {"picture.KDT", 720, 576, -2},      {"MX.QVEL_000.KDT", 800, 600, -4},
      {"MX.QVEL_000.KDT", 1000, 296, -4},  // adds up like 720 x 576 but would be read past its end
      {"MX.QVEL_000.KDT", 576, 720, -4},  {"missing/MX.QVEL_000.KDT", 720, 576, -2},
  };
  for (const auto &c : cases) {
    const std::string path = folder_.File(c.name);
    EXPECT_EQ(WriteToKdt(path.c_str(), picture_.data(), nullptr, c.width, c.height), c.result)
        << c.name << " " << c.width << " x " << c.height;
    EXPECT_FALSE(fs::exists(path)) << c.name;
  }
}

TEST_F(StillWriter, KeyNamedPictureKeepsItsPictureAndGetsNoCompanion) {
  const std::string path = folder_.File("SCLIP.QVEL_001.KDT");
  EXPECT_EQ(WriteToKdt(path.c_str(), picture_.data(), key_.data(), 720, 576), -2);
  kdt_header header{};
  EXPECT_TRUE(Load(path, header) == Encoded(picture_, 0));
}

// A disk that holds the new picture but not its companion: the write fails and the old picture
// and companion stay byte-identical, with nothing else left in the folder; the same for a
// picture alone that does not fit, and for one whose last bytes, still in the stream's buffer
// when the file is closed, find no room.
TEST_F(StillWriter, FailedWritesAreZeroAndLeaveTheOldFiles) {
  test_support::SmallDisk disk(1300 * 1024);
  if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
  const std::string path = disk.File("MX.QVEL_000.KDT");
  test_support::WriteWholeFile(path, Bytes(1000, 0x11));
  test_support::WriteWholeFile(disk.File("SX.QVEL_000.KDT"), Bytes(1000, 0x22));
  const auto before = disk.Contents();
  EXPECT_EQ(WriteToKdt(path.c_str(), picture_.data(), key_.data(), 720, 576), 0);
  EXPECT_EQ(disk.Contents(), before);
  const Bytes large = Gradient(1920 * 1080 * 3);
  EXPECT_EQ(WriteToKdt(path.c_str(), large.data(), nullptr, 1920, 1080), 0);
  EXPECT_EQ(disk.Contents(), before);
  const uint64_t stillBytes = 1111744;         // of a 720 x 576 picture
  disk.FillLeaving(stillBytes / 4096 * 4096);  // all but the last 1728 bytes
  const auto filled = disk.Contents();
  EXPECT_EQ(WriteToKdt(path.c_str(), picture_.data(), nullptr, 720, 576), 0);
  EXPECT_EQ(disk.Contents(), filled);
}

}  // namespace
