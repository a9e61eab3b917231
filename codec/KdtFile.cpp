#include "codec/KdtFile.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "codec/PictureFormat.h"

const char goodKdtMagic[4] = {'K', 'R', 'L', ' '};
const char goodKdtVersion[4] = {'0', '0', '0', '1'};
const char goodKdtFlag[4] = {'K', 'R', 'L', '\0'};

namespace {

// Convert a u32 field between its on-disk bytes (big- or little-endian) and a host-order value;
// each is the same byte reversal, or none, in both directions.
uint32_t BigEndian(uint32_t value) {
  return std::endian::native == std::endian::big ? value : __builtin_bswap32(value);
}
uint32_t LittleEndian(uint32_t value) {
  return std::endian::native == std::endian::little ? value : __builtin_bswap32(value);
}

// The header's big-endian size fields between their stored order and the host's; the same byte
// reversal, or none, in both directions.
void SwapSizeFields(kdt_header &header) {
  header.kdtSize = BigEndian(header.kdtSize);
  header.kdtHeaderSize = BigEndian(header.kdtHeaderSize);
  header.kdtYSize = BigEndian(header.kdtYSize);
  header.kdtCSize = BigEndian(header.kdtCSize);
}

// The header bytes 48 to 63, which the checksum covers together with the body.
const unsigned char *ChecksummedHeaderBytes(const kdt_header &header) {
  return reinterpret_cast<const unsigned char *>(&header) + offsetof(kdt_header, kdtHeaderSize);
}
constexpr size_t kChecksummedHeaderLength = 16;

// A body is read in blocks of this many bytes (a multiple of 8, so each block's words are the
// body's words).
constexpr size_t kReadBlockBytes = 256 * 1024;

}  // namespace

int readKDTHeader(FILE *fp, kdt_header *header) {
  const size_t got = std::fread(header, 1, sizeof(kdt_header), fp);
  SwapSizeFields(*header);
  return got == sizeof(kdt_header) ? KDT_HEADER_BYTES : 0;
}

int checkKDT(const kdt_header *header) {
  int failed = 0;
  if (std::memcmp(header->kdtMagic, goodKdtMagic, 4) != 0) failed |= 0x01;
  if (std::memcmp(header->kdtVersion, goodKdtVersion, 4) != 0) failed |= 0x02;
  if (std::memcmp(header->kdtFlag, goodKdtFlag, 4) != 0) failed |= 0x20;

  if (KdtFormatByKdtSize(header->kdtSize) == nullptr) failed |= 0x80;
  const KdtPictureFormat *byLuma = KdtFormatByPlaneBytes(header->kdtYSize);
  if (byLuma == nullptr || header->kdtSize != byLuma->kdtSize) failed |= 0x400;
  if (KdtFormatByPlaneBytes(header->kdtCSize) == nullptr || header->kdtCSize != header->kdtYSize) {
    failed |= 0x800;
  }
  return failed;
}

uint32_t checkSum(uint32_t sum, const unsigned char *p_buf, size_t len) {
  size_t whole = 0;
  uint64_t wide = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // 64 bytes a step into four vectors of two little-endian words each, which the compiler
    // keeps in vector registers; the eight words fold into one word at the end.
    using Words = uint64_t __attribute__((vector_size(16)));
    constexpr size_t kStep = 4 * sizeof(Words);
    Words lanes[4] = {};
    for (; whole + kStep <= len; whole += kStep) {
      for (int i = 0; i < 4; ++i) {
        Words block;
        std::memcpy(&block, p_buf + whole + i * sizeof(Words), sizeof block);
        lanes[i] ^= block;
      }
    }
    const Words folded = lanes[0] ^ lanes[1] ^ lanes[2] ^ lanes[3];
    wide = folded[0] ^ folded[1];
    for (; whole + 8 <= len; whole += 8) {
      uint64_t word;
      std::memcpy(&word, p_buf + whole, 8);
      wide ^= word;
    }
  } else {
    whole = len & ~size_t{7};
    for (size_t i = 0; i < whole; ++i) wide ^= uint64_t{p_buf[i]} << (8 * (i % 8));
  }
  sum ^= static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
  // The tail: whole words, then a partial word as if padded with zero bytes. `whole` is a
  // multiple of 8, so a byte's place in its word is its place in the buffer.
  for (size_t i = whole; i < len; ++i) sum ^= uint32_t{p_buf[i]} << (8 * (i % 4));
  return sum;
}

int readKDT(FILE *fp, kdt_header *header, unsigned char **p_YUV, int *lenYUV) {
  *p_YUV = nullptr;
  if (readKDTHeader(fp, header) != KDT_HEADER_BYTES) return KDT_INVALID;
  if (checkKDT(header) != 0) return KDT_INVALID;
  const KdtPictureFormat *format = KdtFormatByKdtSize(header->kdtSize);
  if (format == nullptr) return KDT_INVALID;

  // The buffer has room for 16 bytes more than the body, so reading kdtSize bytes tells a body
  // that runs past its length from one that ends exactly at the end of the file.
  auto *body = static_cast<unsigned char *>(std::malloc(format->kdtSize));
  if (body == nullptr) return KDT_UNREADABLE;
  // The covered header bytes as they lie on disk, from the record already read: its size fields
  // back in their stored order.
  kdt_header stored = *header;
  SwapSizeFields(stored);
  uint32_t sum = checkSum(0, ChecksummedHeaderBytes(stored), kChecksummedHeaderLength);
  // The body is read in blocks, each summed while it is still in the processor's cache.
  const size_t bodyBytes = static_cast<size_t>(format->bodyBytes);
  size_t got = 0;
  while (got < format->kdtSize) {
    const size_t want = std::min(kReadBlockBytes, format->kdtSize - got);
    const size_t read = std::fread(body + got, 1, want, fp);
    if (got < bodyBytes) sum = checkSum(sum, body + got, std::min(read, bodyBytes - got));
    got += read;
    if (read != want) break;
  }
  if (got != bodyBytes) {
    std::free(body);
    return KDT_UNREADABLE;
  }
  *lenYUV = format->bodyBytes;

  if (sum != LittleEndian(header->kdtCheckSum)) {
    std::free(body);
    return KDT_INVALID;
  }
  *p_YUV = body;
  return KDT_READ;
}

int writeKDTHead(FILE *fp, kdt_header *header, const unsigned char *p_YUV, int form) {
  static const unsigned char kTag[4] = {0x01, 0x04, 0x28, 0x01};
  static const unsigned char kSumSystemId[4] = {0x24, 0xFF, 0xFF, 0xFF};
  static const unsigned char kIF[2] = {0x01, 0xFF};
  std::memcpy(header->kdtMagic, goodKdtMagic, 4);
  std::memcpy(header->kdtVersion, goodKdtVersion, 4);
  std::memcpy(header->kdtTag, kTag, 4);
  std::memcpy(header->kdtFlag, goodKdtFlag, 4);
  std::memcpy(header->kdtSumSystemID, kSumSystemId, 4);
  header->kdtHeaderSize = BigEndian(16);
  std::memcpy(header->kdtIF, kIF, 2);

  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format == nullptr) return ERR_CODEC;
  header->kdtSize = BigEndian(format->kdtSize);
  header->kdtYSize = BigEndian(static_cast<uint32_t>(format->planeBytes));
  header->kdtCSize = BigEndian(static_cast<uint32_t>(format->planeBytes));

  uint32_t sum = checkSum(0, ChecksummedHeaderBytes(*header), kChecksummedHeaderLength);
  sum = checkSum(sum, p_YUV, static_cast<size_t>(format->bodyBytes));
  header->kdtCheckSum = LittleEndian(sum);

  if (std::fwrite(header, 1, sizeof(kdt_header), fp) != sizeof(kdt_header)) return ERR_CODEC;
  return 0;
}

int writeYUV(FILE *fp, const unsigned char *p_YUV, int lenYUV) {
  if (lenYUV < 0) return ERR_CODEC;
  const size_t length = static_cast<size_t>(lenYUV);
  return std::fwrite(p_YUV, 1, length, fp) == length ? 0 : ERR_CODEC;
}

int writeKDT(FILE *fp, kdt_header *header, const unsigned char *p_YUV, int lenYUV, int form) {
  // The header's checksum covers the form's whole body, so a body of another length would be
  // read past its end or leave a file that fails its own checksum.
  const KdtPictureFormat *format = KdtFormatByNumber(form);
  if (format != nullptr && lenYUV != format->bodyBytes) return ERR_CODEC;
  if (writeKDTHead(fp, header, p_YUV, form) != 0) return ERR_CODEC;
  return writeYUV(fp, p_YUV, lenYUV);
}
