// KDT header check, checksum, reading and writing.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
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

// The XOR of little-endian 32-bit words worked out byte by byte: byte k of the result is the XOR
// of every byte at a position k modulo 4.
uint32_t LaneXor(const unsigned char *bytes, size_t length, uint32_t sum = 0) {
  for (size_t i = 0; i < length; ++i) sum ^= uint32_t{bytes[i]} << (8 * (i % 4));
  return sum;
}

// A read-only stream over `bytes` that serves no byte at or past `limit` and notes whether the
// reader asked for one. Unbuffered, so the reader's own requests reach it byte by byte.
struct CappedFile {
  Bytes bytes;
  size_t limit;
  size_t position = 0;
  bool askedPastLimit = false;
};
FILE *OpenCapped(CappedFile &file) {
  cookie_io_functions_t io{};
  io.read = [](void *cookie, char *buffer, size_t size) -> ssize_t {
    auto &f = *static_cast<CappedFile *>(cookie);
    const size_t end = std::min(f.bytes.size(), f.limit);
    if (size > 0 && f.position >= f.limit) f.askedPastLimit = true;
    const size_t count = std::min(size, end - std::min(f.position, end));
    std::memcpy(buffer, f.bytes.data() + f.position, count);
    f.position += count;
    return static_cast<ssize_t>(count);
  };
  io.seek = [](void *cookie, off64_t *offset, int whence) {
    auto &f = *static_cast<CappedFile *>(cookie);
    if (whence != SEEK_SET || *offset < 0) return -1;
    f.position = static_cast<size_t>(*offset);
    return 0;
  };
  FILE *fp = fopencookie(&file, "rb", io);
  std::setvbuf(fp, nullptr, _IONBF, 0);
  return fp;
}

// Bodies come from the heap proper rather than from whole pages, so that the usable size of a
// body buffer is its requested size rounded up to 16 bytes, not to a page.
const int kBodiesOnTheHeap = mallopt(M_MMAP_THRESHOLD, 32 << 20);

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

// readKDT of the stream `fp`, which it closes, into `header` and `body`; a failure must hand out
// no buffer, a success one with room for the read of kdtSize bytes that fills it.
int ReadKdtStream(FILE *fp, kdt_header &header, Bytes &body) {
  unsigned char *buffer = reinterpret_cast<unsigned char *>(&header);  // readKDT must replace it
  int length = 0;
  const int result = readKDT(fp, &header, &buffer, &length);
  std::fclose(fp);
  if (result != 1) {
    EXPECT_EQ(buffer, nullptr);
    return result;
  }
  body.assign(buffer, buffer + length);
  EXPECT_GE(malloc_usable_size(buffer), header.kdtSize);
  std::free(buffer);
  return result;
}
int ReadKdtFile(const std::string &path, kdt_header &header, Bytes &body) {
  return ReadKdtStream(std::fopen(path.c_str(), "rb"), header, body);
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
  // A partial last word counts as padded with zeros: the non-zero bytes after the given length
  // would change the sum if they were read.
  EXPECT_EQ(checkSum(0, words.data(), 6), 0x04032211u);
  const Bytes body = PatternBody(1000);
  for (size_t length = 0; length < 40; ++length) {
    EXPECT_EQ(checkSum(0x5A5A5A5A, body.data(), length), LaneXor(body.data(), length, 0x5A5A5A5A))
        << length;
  }
  EXPECT_EQ(checkSum(0, body.data(), body.size()), LaneXor(body.data(), body.size()));
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

TEST(KdtWrite, ChecksumOfAPatternBodyIsTheXorOfHeaderTailAndBody) {
  test_support::TempFolder folder;
  const Bytes body = PatternBody(942720);
  ASSERT_EQ(WriteKdtFile(folder.File("pattern"), 1, body, 0x2A01), 0);
  const Bytes file = ReadWholeFile(folder.File("pattern"));
  ASSERT_EQ(file.size(), 942784u);
  // Header bytes 48 to 63 of form 1 with the login bytes 01 2A, then the body.
  const unsigned char tail[16] = {0, 0,    0,    0x10, 0,    0x07, 0x31, 0x40,
                                  0, 0x07, 0x31, 0x40, 0x01, 0xFF, 0x01, 0x2A};
  EXPECT_EQ(std::memcmp(&file[48], tail, 16), 0);
  const uint32_t sum = LaneXor(body.data(), body.size(), LaneXor(tail, 16));
  const unsigned char stored[4] = {
      static_cast<unsigned char>(sum), static_cast<unsigned char>(sum >> 8),
      static_cast<unsigned char>(sum >> 16), static_cast<unsigned char>(sum >> 24)};
  EXPECT_EQ(std::memcmp(&file[36], stored, 4), 0);
}

TEST(KdtWrite, FailuresAreReportedAndRefusalsWriteNothing) {
  test_support::TempFolder folder;
  const Bytes body(1111680, 0);
  // Form 0 and 5, and bodies not of their form's length: a shorter one would be checksummed past
  // its end, a longer one would leave a file that no reader takes.
  const std::pair<int, int> refused[] = {{0, 942720}, {5, 942720}, {1, 1000},
                                         {2, 942720}, {1, 942724}, {1, 1111680}};
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

// -3: not a KDT file; 0: a KDT header whose body cannot be read whole. However long the file,
// the reader asks for no more than the header and its buffer of the body and 16 bytes.
TEST(KdtRead, InvalidFilesAreMinusThreeUnreadableOnesZero) {
  test_support::TempFolder folder;
  const std::string path = folder.File("MA.QVEL_000.KDT");
  WriteKdtFile(path, 1, PatternBody(942720));
  const Bytes good = ReadWholeFile(path);
  ASSERT_EQ(good.size(), 942784u);
  // Reads the good file cut or padded to `size` bytes, with one bit flipped at `flipAt`.
  const auto readAs = [&](size_t size, size_t flipAt = SIZE_MAX) {
    CappedFile file{good, 64 + 942736};
    file.bytes.resize(size, 0xEE);
    if (flipAt < size) file.bytes[flipAt] ^= 0x10;
    kdt_header header;
    Bytes body;
    const int result = ReadKdtStream(OpenCapped(file), header, body);
    EXPECT_FALSE(file.askedPastLimit) << size;
    return result;
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
  EXPECT_EQ(readAs(whole + 200000), 0);
}

}  // namespace
