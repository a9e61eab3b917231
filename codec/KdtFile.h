// The KDT file: a 64-byte header followed by the picture body. Reading, checking and writing on
// a stream that the caller has opened in binary mode and closes itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "codec/CodecResult.h"

// The header exactly as it lies on disk (no padding). After readKDTHeader the four u32 size
// fields hold host-order values; kdtCheckSum stays as stored (little-endian) and kdtLogin stays
// big-endian. writeKDTHead leaves the record in on-disk order.
struct kdt_header {
  char kdtMagic[4];                 // "KRL "
  char kdtVersion[4];               // "0001"
  char kdtFlagName[12];             // "QVEL_nnn.KDT" from the device file name, no terminator
  char kdtRegisterName[8];          // register name from the device file name
  unsigned char kdtTag[4];          // 01 04 28 01
  char kdtFlag[4];                  // "KRL" and a zero byte
  uint32_t kdtCheckSum;             // XOR checksum, little-endian on disk
  uint32_t kdtSize;                 // body bytes + 16, big-endian on disk
  unsigned char kdtSumSystemID[4];  // 24 FF FF FF
  uint32_t kdtHeaderSize;           // 16, big-endian on disk
  uint32_t kdtYSize;                // luma plane bytes, big-endian on disk
  uint32_t kdtCSize;                // chroma plane bytes, big-endian on disk
  unsigned char kdtIF[2];           // 01 FF
  uint16_t kdtLogin;                // the device number nnn, big-endian
};
using KDT_HEADER = kdt_header;
static_assert(sizeof(kdt_header) == 64, "the KDT header is read and written as one 64-byte block");
static_assert(offsetof(kdt_header, kdtCheckSum) == 36 && offsetof(kdt_header, kdtSize) == 40 &&
                  offsetof(kdt_header, kdtHeaderSize) == 48 && offsetof(kdt_header, kdtLogin) == 62,
              "the KDT header fields sit at their on-disk offsets");

// The reference bytes a header is checked against.
extern const char goodKdtMagic[4];    // "KRL "
extern const char goodKdtVersion[4];  // "0001"
extern const char goodKdtFlag[4];     // "KRL" and a zero byte

// The header's length on disk, which readKDTHeader returns for a whole header.
enum : int { KDT_HEADER_BYTES = 64 };

// Reads 64 bytes into `header` and converts its size fields to host order (also after a short
// read). Returns KDT_HEADER_BYTES for a whole header, else 0.
int readKDTHeader(FILE *fp, kdt_header *header);

// The bit mask of failed header tests (0x01 magic, 0x02 version, 0x20 flag, 0x80 kdtSize,
// 0x400 kdtYSize, 0x800 kdtCSize); 0 for a valid header. Sizes are in host order.
int checkKDT(const kdt_header *header);

// The results of readKDT.
enum : int {
  KDT_READ = 1,        // a valid file was read
  KDT_UNREADABLE = 0,  // no memory, short or over-long body, read failure
  KDT_INVALID = -3,    // not a valid KDT file: short header, failed header test, checksum mismatch
};

// Reads a whole KDT file from a stream at offset 0. Returns KDT_READ and hands out the body (a
// malloc block that the caller frees) through p_YUV and its length through lenYUV, else
// KDT_INVALID or KDT_UNREADABLE with p_YUV null. lenYUV is set as soon as the whole body was
// read, also when the checksum then fails.
int readKDT(FILE *fp, kdt_header *header, unsigned char **p_YUV, int *lenYUV);

// `sum` XOR every 32-bit little-endian word of p_buf[0, len). A trailing partial word is XORed
// in as if padded with zero bytes; nothing past the buffer is read.
uint32_t checkSum(uint32_t sum, const unsigned char *p_buf, size_t len);

// Completes `header` for picture format `form` (1 to 4), computes the checksum over header bytes
// 48 to 63 and the form's body length of p_YUV, and writes the 64 bytes. The name fields and
// kdtLogin stay as the caller set them. Returns 0, or ERR_CODEC for an unknown form (nothing
// written) or a short write.
int writeKDTHead(FILE *fp, kdt_header *header, const unsigned char *p_YUV, int form);

// Writes lenYUV bytes of the body. Returns 0, or ERR_CODEC on a short write.
int writeYUV(FILE *fp, const unsigned char *p_YUV, int lenYUV);

// writeKDTHead, then writeYUV. lenYUV must be the body length of `form`; any other length
// returns ERR_CODEC and writes nothing. Returns 0, or ERR_CODEC when a step fails.
int writeKDT(FILE *fp, kdt_header *header, const unsigned char *p_YUV, int lenYUV, int form);
