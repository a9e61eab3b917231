// KDT header check, checksum, reading and writing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/KdtFile.h"
#include "tests/support/TempFolder.h"

namespace {

using Bytes = std::vector<unsigned char>;
using test_support::ReadWholeFile;

constexpr uint32_t kKdtSizes[] = {942736, 1111696, 5188816, 2307216};  // forms 1 to 4

Bytes PatternBody(size_t length) {
  Bytes body(length);
  for (size_t i = 0; i < length; ++i) body[i] = static_cast<unsigned char>(i * 31 + length);
  return body;
}

// Writes `body` through writeKDT under the names "QVEL_001.KDT" and "CLIP".
int WriteKdtFile(const std::string &path, int form, const Bytes &body, uint16_t login = 0) {
  FILE *fp = std::fopen(path.c_str(), "wb");
  kdt_header header{};
  std::memcpy(header.kdtFlagName, "QVEL_001.KDT", 12);
  std::memcpy(header.kdtRegisterName, "CLIP", 5);
  header.kdtLogin = login;
  const int result = writeKDT(fp, &header, body.data(), static_cast<int>(body.size()), form);
  std::fclose(fp);
  return result;
}

// readKDT of `path` into `header` and `body`; a failure must hand out no buffer.
int ReadKdtFile(const std::string &path, kdt_header &header, Bytes &body) {
  unsigned char *buffer = reinterpret_cast<unsigned char *>(&header);  // readKDT must replace it
  int length = 0;
  FILE *fp = std::fopen(path.c_str(), "rb");
  const int result = readKDT(fp, &header, &buffer, &length);
  std::fclose(fp);
  if (result != 1) {
    EXPECT_EQ(buffer, nullptr);
    return result;
  }
  body.assign(buffer, buffer + length);
  std::free(buffer);
  return result;
}

TEST(KdtHeaderCheck, EachFailedTestSetsItsBit) {
  kdt_header header{};
  EXPECT_EQ(checkKDT(&header), 0xCA3);
  std::memcpy(header.kdtMagic, "KRL ", 4);
  std::memcpy(header.kdtVersion, "0001", 4);
  std::memcpy(header.kdtFlag, "KRL", 4);
  const uint32_t cases[][4] = {
      {942736, 471360, 471360, 0},      {1111696, 555840, 555840, 0},
      {5188816, 2594400, 2594400, 0},   {2307216, 1153600, 1153600, 0},
      {1111696, 471360, 471360, 0x400},   // planes of form 1 under the size of form 2
      {1111696, 555840, 471360, 0x800},   // chroma plane unlike the luma plane
      {1111697, 555840, 555840, 0x480}};  // a size of no form
  for (const auto &c : cases) {
    header.kdtSize = c[0];
    header.kdtYSize = c[1];
    header.kdtCSize = c[2];
    EXPECT_EQ(checkKDT(&header), static_cast<int>(c[3])) << c[0] << " " << c[1] << " " << c[2];
  }
  header.kdtMagic[3] = header.kdtVersion[0] = header.kdtFlag[3] = '_';
  EXPECT_EQ(checkKDT(&header), 0x23 | 0x480);
}

TEST(KdtChecksum, XorsLittleEndianWordsAndReadsNoTail) {
  const Bytes words = {0x01, 0x02, 0x03, 0x04, 0x10, 0x20, 0x30, 0x40};
  EXPECT_EQ(checkSum(0, words.data(), 8), 0x44332211u);
  // A partial last word counts as padded with zeros; the sanitizer build catches a read past it.
  const Bytes partial(words.begin(), words.begin() + 6);
  EXPECT_EQ(checkSum(0, partial.data(), partial.size()), 0x04032211u);
  const Bytes body = PatternBody(1000);
  uint32_t wordByWord = 0;
  for (size_t i = 0; i < body.size(); i += 4) wordByWord = checkSum(wordByWord, &body[i], 4);
  EXPECT_EQ(checkSum(0, body.data(), body.size()), wordByWord);
}

TEST(KdtWrite, FormOneZeroBodyHasTheKnownHeader) {
  test_support::TempFolder folder;
  ASSERT_EQ(WriteKdtFile(folder.File("zero"), 1, Bytes(942720, 0)), 0);
  const Bytes file = ReadWholeFile(folder.File("zero"));
  ASSERT_EQ(file.size(), 942784u);
  const unsigned char header[64] = {
      'K',  'R',  'L',  ' ',  '0',  '0',  '0',  '1',  'Q',  'V',  'E',  'L',  '_',
      '0',  '0',  '1',  '.',  'K',  'D',  'T',  'C',  'L',  'I',  'P',  0,    0,
      0,    0,    0x01, 0x04, 0x28, 0x01, 'K',  'R',  'L',  0,    0x01, 0xFF, 0x00,
      0x10, 0x00, 0x0E, 0x62, 0x90, 0x24, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10,
      0x00, 0x07, 0x31, 0x40, 0x00, 0x07, 0x31, 0x40, 0x01, 0xFF, 0,    0};
  EXPECT_EQ(std::memcmp(file.data(), header, 64), 0);
}

TEST(KdtWrite, FailuresAreReportedAndRefusalsWriteNothing) {
  test_support::TempFolder folder;
  const Bytes body(942720, 0);
  // Form 0 and 5, and a body not of its form's length (it would be checksummed past its end).
  const std::pair<int, int> refused[] = {{0, 942720}, {5, 942720}, {1, 1000}, {2, 942720}};
  for (const auto &[form, length] : refused) {
    EXPECT_EQ(WriteKdtFile(folder.File("bad"), form, Bytes(body.begin(), body.begin() + length)),
              ERR_CODEC);
    EXPECT_TRUE(ReadWholeFile(folder.File("bad")).empty()) << form;
  }
  FILE *full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  kdt_header header{};
  EXPECT_EQ(writeKDT(full, &header, body.data(), 942720, 1), ERR_CODEC);
  std::fclose(full);
}

TEST(KdtReadWrite, EveryFormRoundTrips) {
  test_support::TempFolder folder;
  for (int form = 1; form <= 4; ++form) {
    const uint32_t kdtSize = kKdtSizes[form - 1];
    const Bytes body = PatternBody(kdtSize - 16);
    ASSERT_EQ(WriteKdtFile(folder.File("kdt"), form, body, 0x0700), 0);
    kdt_header header;
    Bytes read;
    ASSERT_EQ(ReadKdtFile(folder.File("kdt"), header, read), 1) << "form " << form;
    EXPECT_TRUE(read == body);
    EXPECT_EQ(header.kdtSize, kdtSize);
    EXPECT_EQ(header.kdtYSize, body.size() / 2);
    EXPECT_EQ(header.kdtCSize, body.size() / 2);
    EXPECT_EQ(header.kdtHeaderSize, 16u);
    EXPECT_EQ(header.kdtLogin, 0x0700);
  }
}

// -3: not a KDT file; 0: a KDT header whose body cannot be read whole.
TEST(KdtRead, InvalidFilesAreMinusThreeUnreadableOnesZero) {
  test_support::TempFolder folder;
  const std::string path = folder.File("MA.QVEL_000.KDT");
  WriteKdtFile(path, 1, PatternBody(942720));
  const Bytes good = ReadWholeFile(path);
  // Reads the good file cut or padded to `size` bytes, with one bit flipped at `flipAt`.
  const auto readAs = [&](size_t size, size_t flipAt = SIZE_MAX) {
    Bytes bytes = good;
    bytes.resize(size, 0xEE);
    if (flipAt < size) bytes[flipAt] ^= 0x10;
    test_support::WriteWholeFile(path, bytes);
    kdt_header header;
    Bytes body;
    return ReadKdtFile(path, header, body);
  };
  const size_t whole = good.size();
  EXPECT_EQ(readAs(whole), 1);
  EXPECT_EQ(readAs(whole, 20), 1);  // the register name is not checksummed
  EXPECT_EQ(readAs(0), -3);
  EXPECT_EQ(readAs(63), -3);
  EXPECT_EQ(readAs(whole, 0), -3);          // the magic
  EXPECT_EQ(readAs(whole, 64 + 1000), -3);  // one body bit
  EXPECT_EQ(readAs(whole, 62), -3);         // the login is checksummed
  EXPECT_EQ(readAs(whole + 1), 0);
  EXPECT_EQ(readAs(whole - 1), 0);
  EXPECT_EQ(readAs(64), 0);
  EXPECT_EQ(readAs(whole + 200000), 0);  // reads stop at what was allocated
}

}  // namespace
