// The device file-name scheme: target naming, its format and parse, the name check and the path
// helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "codec/DeviceFileName.h"
#include "codec/TargetName.h"

namespace {

TEST(MakeTargetName, KdtTargetsFollowTheSchemeOthersKeepTheBaseName) {
  const struct {
    const char *source, *format, *target;
  } cases[] = {
      {"C:/pics/sunset.bmp", "KDT", "Msunset.QVEL_000.KDT"},
      {"C:/pics/sunset.bmp", "kdt", "Msunset.QVEL_000.KDT"},
      {"C:/pics/sunset.bmp", "BMP", "sunset.BMP"},
      {"D:/in/Sunrise.bmp", "KDT", "Sunrise.QVEL_000.KDT"},
      {"D:/in/mountains.tga", "KDT", "Mmountai.QVEL_000.KDT"},
      {"D:/in/Mountains.tga", "KDT", "Mountai.QVEL_000.KDT"},
      {"D:/in/sample.tga", "KDT", "Msample.QVEL_000.KDT"},  // a lower-case "s" is no kind letter
      {"D:/in/a.b.c.bmp", "KDT", "Ma.QVEL_000.KDT"},
      {"D:/in/a.b.c.bmp", "PNG", "a.b.c.PNG"},
      {"D:/in/.hidden", "KDT", "M.QVEL_000.KDT"},
      {"D:/in/.hidden", "BMP", ".hidden.BMP"},
      {"D:/in/noext", "bmp", "noext.bmp"},
      {"photo.bmp", "KDT", "Mphoto.QVEL_000.KDT"},
      // The stem is cut before a character that the seventh byte would split; bytes that form
      // no character are cut where they fall.
      {"D:/in/\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9.bmp", "KDT",
       "M\xC3\xA9\xC3\xA9\xC3\xA9.QVEL_000.KDT"},
      {"D:/in/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.bmp", "KDT",
       "M\xE6\x97\xA5\xE6\x9C\xAC.QVEL_000.KDT"},
      {"D:/in/Sunny\xF0\x9F\x8C\x85.bmp", "KDT", "Sunny.QVEL_000.KDT"},
      {"D:/in/abcdef\xC3\xA9.bmp", "KDT", "Mabcdef.QVEL_000.KDT"},
      {"D:/in/abcde\xC3\xA9.bmp", "KDT", "Mabcde\xC3\xA9.QVEL_000.KDT"},
      {"D:/in/caf\xE9\xE9\xE9\xE9\xE9.bmp", "KDT", "Mcaf\xE9\xE9\xE9\xE9.QVEL_000.KDT"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(MakeTargetName(c.source, c.format), c.target) << c.source << " " << c.format;
  }
}

TEST(CheckKdtName, AcceptsTheSchemeAndFillsOnlyTheNameFields) {
  const struct {
    const char *name, *registerName, *login;  // the expected field bytes
  } cases[] = {{"MABCDEFGH.QVEL_123.KDT", "ABCDEFGH", "\x00\x7B"},
               {"MAB.QVEL_007.KDT", "AB\0QVEL_", "\x00\x07"},
               {"S.QVEL_999.KDT", "\0QVEL_99", "\x03\xE7"}};
  for (const auto &c : cases) {
    kdt_header header, expected;
    std::memset(&header, 0xA5, sizeof header);
    std::memset(&expected, 0xA5, sizeof expected);
    std::memcpy(expected.kdtFlagName, c.name + std::strlen(c.name) - 12, 12);
    std::memcpy(expected.kdtRegisterName, c.registerName, 8);
    std::memcpy(&expected.kdtLogin, c.login, 2);
    ASSERT_EQ(checkKDTName(c.name, &header), 0) << c.name;
    EXPECT_EQ(std::memcmp(&header, &expected, sizeof header), 0) << c.name;
  }
}

TEST(CheckKdtName, RejectsNamesOutsideTheSchemeAndLeavesTheRecord) {
  for (const char *name : {"M.QVEL_12.KDT", "MABCDEFGHI.QVEL_000.KDT", "mA.QVEL_000.KDT",
                           "MA.QVEL_000.kdt", "MA.QVEL_0A0.KDT", "MA.QVEL_A00.KDT",
                           "MA.QVEL_00A.KDT", "MA-QVEL_000.KDT", "", "XA.QVEL_000.KDT"}) {
    kdt_header header, untouched;
    std::memset(&header, 0xA5, sizeof header);
    std::memset(&untouched, 0xA5, sizeof untouched);
    EXPECT_EQ(checkKDTName(name, &header), ERR_CODEC) << name;
    EXPECT_EQ(std::memcmp(&header, &untouched, sizeof header), 0) << name;
  }
}

// The parse hands back the parts the format puts together; the number field is read where a
// device name keeps it, on any name (the rename dialog opens with it).
TEST(DeviceFileName, ParseAndFormatAgreeAndTheNumberFieldIsReadOnAnyName) {
  for (const char *name : {"MABCDEFGH.QVEL_123.KDT", "S.QVEL_000.KDT", "Mab_1.QVEL_007.KDT"}) {
    const std::optional<DeviceFileName> parts = ParseDeviceFileName(name);
    ASSERT_TRUE(parts) << name;
    EXPECT_EQ(FormatDeviceFileName(parts->kind, parts->registerName, parts->number), name);
    EXPECT_EQ(parts->number, NumberFieldOf(name)) << name;
  }
  const struct {
    const char *name, *number;
  } fields[] = {
      {"photo.KDT", "oto"}, {"ab.kd", "ab"}, {"a.b.c", "a.b"}, {".KDT", ""}, {"noext", ""}};
  for (const auto &f : fields) EXPECT_EQ(NumberFieldOf(f.name), f.number) << f.name;
}

TEST(PathHelpers, SplitAtTheLastSeparatorPastTheFirstCharacter) {
  const struct {
    const char *path, *fileName, *folder;
  } cases[] = {{"/file.bmp", "/file.bmp", "/file.bmp"},
               {"C:/a/", "", "C:/a"},
               {"C:/a/b.bmp", "b.bmp", "C:/a"},
               {"b.bmp", "b.bmp", "b.bmp"}};
  for (const auto &c : cases) {
    EXPECT_EQ(GetFileName(c.path), c.fileName) << c.path;
    EXPECT_EQ(GetFolder(c.path), c.folder) << c.path;
  }
}

TEST(PathHelpers, GetFileNamePointsInsideItsArgument) {
  for (const char *path : {"C:/a/MX.QVEL_000.KDT", "/MX.QVEL_000.KDT", "MX.QVEL_000.KDT"}) {
    EXPECT_EQ(getFileName(path), path + std::strlen(path) - 15) << path;
  }
  const char *empty = "";
  EXPECT_EQ(getFileName(empty), empty);
  char writable[] = "/t/MX.QVEL_000.KDT";
  getFileName(writable)[0] = 'S';
  EXPECT_STREQ(writable, "/t/SX.QVEL_000.KDT");
}

}  // namespace
