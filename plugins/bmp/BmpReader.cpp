#include "plugins/bmp/BmpReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "codec/ChannelSwap.h"
#include "codec/PictureBytes.h"
#include "plugins/SourceFile.h"
#include "plugins/bmp/BmpFormat.h"

namespace {

// The fields of the file header after the two magic letters, and of the information header.
struct BmpHeaders {
  uint32_t bfSize;
  uint16_t bfReserved1;
  uint16_t bfReserved2;
  uint32_t bfOffBits;
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};

struct PaletteColor {
  unsigned char red;
  unsigned char green;
  unsigned char blue;
};

// An indexed picture has at most 256 colours; indexes past the file's own entries stay black.
using Palette = std::array<PaletteColor, 256>;

// Reads one little-endian field of the width of T.
template <typename T>
bool ReadField(FILE *file, T &value) {
  unsigned char bytes[sizeof(T)];
  if (std::fread(bytes, 1, sizeof(T), file) != sizeof(T)) return false;
  uint64_t v = 0;
  for (size_t i = sizeof(T); i-- > 0;) v = (v << 8) | bytes[i];
  value = static_cast<T>(v);
  return true;
}

bool ReadHeaders(FILE *file, BmpHeaders &h) {
  return ReadField(file, h.bfSize) && ReadField(file, h.bfReserved1) &&
         ReadField(file, h.bfReserved2) && ReadField(file, h.bfOffBits) &&
         ReadField(file, h.biSize) && ReadField(file, h.biWidth) && ReadField(file, h.biHeight) &&
         ReadField(file, h.biPlanes) && ReadField(file, h.biBitCount) &&
         ReadField(file, h.biCompression) && ReadField(file, h.biSizeImage) &&
         ReadField(file, h.biXPelsPerMeter) && ReadField(file, h.biYPelsPerMeter) &&
         ReadField(file, h.biClrUsed) && ReadField(file, h.biClrImportant);
}

bool IsIndexed(uint16_t bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8;
}

// Reads `count` palette entries (already known to lie inside the file); entries past the ones
// that the bit depth can address are read and dropped.
bool ReadPalette(FILE *file, uint32_t count, Palette &palette) {
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char entry[bmp::kPaletteEntrySize];
    if (std::fread(entry, 1, sizeof entry, file) != sizeof entry) return false;
    if (i < palette.size()) palette[i] = {entry[2], entry[1], entry[0]};
  }
  return true;
}

// The stored rows are read in blocks of whole rows of about this many bytes, not byte by byte.
constexpr uint64_t kBlockBytes = 256 * 1024;

// The buffer that the stored rows of `height` rows of `stride` bytes (both above 0) are read
// into, a block of whole rows at a time.
struct RowBlock {
  RowBlock(uint64_t stride, uint64_t height)
      : stride(stride),
        rows(std::max<uint64_t>(1, std::min(height, kBlockBytes / stride))),
        bytes(new (std::nothrow) unsigned char[rows * stride]) {}

  uint64_t stride;
  uint64_t rows;
  std::unique_ptr<unsigned char[]> bytes;  // null when it cannot be had
};

// Reads `height` stored rows from the stream's position, a block at a time, and hands each to
// `take` with its number in file order (the bottom row is 0) and its bytes. When the file ends
// early, the row it ends in is handed over with the bytes it has, fewer than the stride, and no
// row after it. Returns the bytes read.
template <class Take>
uint64_t ReadRows(FILE *file, const RowBlock &block, uint64_t height, Take take) {
  const uint64_t stride = block.stride;
  uint64_t total = 0;
  for (uint64_t row = 0; row < height; row += block.rows) {
    const uint64_t rows = std::min(block.rows, height - row);
    const uint64_t got = std::fread(block.bytes.get(), 1, rows * stride, file);
    total += got;
    for (uint64_t r = 0; r < rows && r * stride < got; ++r) {
      take(row + r, block.bytes.get() + r * stride, std::min(stride, got - r * stride));
    }
    if (got != rows * stride) break;
  }
  return total;
}

// Decodes the rows of an indexed picture, bottom row first in the file, into `pixels` (top row
// first). False when the file ends early.
bool ReadIndexedRows(FILE *file, const RowBlock &block, const Palette &palette, unsigned bitCount,
                     uint64_t width, uint64_t height, unsigned char *pixels) {
  const uint64_t stride = block.stride;
  const unsigned mask = (1u << bitCount) - 1;
  const unsigned perByte = 8 / bitCount;
  const uint64_t got =
      ReadRows(file, block, height, [&](uint64_t row, const unsigned char *in, uint64_t bytes) {
        if (bytes != stride) return;  // the file ended in this row
        unsigned char *out = pixels + (height - 1 - row) * width * 3;
        for (uint64_t x = 0; x < width; x += perByte) {
          const unsigned byte = *in++;
          const uint64_t count = std::min<uint64_t>(perByte, width - x);
          for (uint64_t i = 0; i < count; ++i) {
            const PaletteColor &color = palette[(byte >> (8 - bitCount * (i + 1))) & mask];
            *out++ = color.red;
            *out++ = color.green;
            *out++ = color.blue;
          }
        }
      });
  // A row of the file that ends early is not used: such a file is unreadable.
  return got == stride * height;
}

// Decodes the rows of a 24-bit picture. When the file ends early, a picture whose rows have no
// padding keeps the whole pixels it has and is black from there on; one with padding is
// unreadable (its padding must be present).
bool ReadTrueColorRows(FILE *file, const RowBlock &block, uint64_t width, uint64_t height,
                       unsigned char *pixels) {
  const uint64_t rowBytes = width * 3;
  const uint64_t stride = block.stride;
  uint64_t whole = 0;  // pixels written
  const uint64_t got =
      ReadRows(file, block, height, [&](uint64_t row, const unsigned char *in, uint64_t bytes) {
        const uint64_t count = std::min(bytes, rowBytes) / 3;
        SwapRedAndBlue(in, pixels + (height - 1 - row) * rowBytes, count);
        whole += count;
      });
  if (got == stride * height) return true;
  if (stride != rowBytes) return false;
  // The rest of the row the file ended in, and the rows above it, stay black.
  const uint64_t wholeRows = whole / width;
  unsigned char *partialRow = pixels + (height - 1 - wholeRows) * rowBytes;
  std::memset(partialRow + (whole % width) * 3, 0, rowBytes - (whole % width) * 3);
  std::memset(pixels, 0, (height - 1 - wholeRows) * rowBytes);
  return true;
}

tagFileInfo *NewRecord(const char *path, const BmpHeaders &h) {
  auto *record = static_cast<tagFileInfo *>(PluginAlloc(sizeof(tagFileInfo)));
  if (record == nullptr) return nullptr;
  std::strcpy(record->filename, path);
  record->rgbInfo.width = static_cast<uint32_t>(h.biWidth);
  record->rgbInfo.height = static_cast<uint32_t>(h.biHeight);
  record->rgbInfo.bitsPixl = h.biBitCount;
  return record;
}

enum class PixelPlan { kRead, kNoPixels, kFail };

// Decides, before anything is allocated, whether the pixels of a picture whose rows begin at
// `bfOffBits` can be read from a file of `fileLength` bytes.
PixelPlan PlanPixels(const BmpHeaders &h, uint64_t fileLength) {
  if (h.biWidth <= 0 || h.biHeight <= 0) return PixelPlan::kNoPixels;
  const uint64_t width = static_cast<uint64_t>(h.biWidth);
  const uint64_t height = static_cast<uint64_t>(h.biHeight);
  if (!PictureBytes(width, height, 3)) return PixelPlan::kNoPixels;
  const uint64_t stride = bmp::RowStride(width, h.biBitCount);
  const uint64_t available = fileLength > h.bfOffBits ? fileLength - h.bfOffBits : 0;
  if (stride * height <= available) return PixelPlan::kRead;
  // Rows cut short: the missing padding of an indexed or padded row makes the file unreadable;
  // an unpadded 24-bit picture would come out partly blank, so it gets no pixels instead.
  const bool padded = stride != width * h.biBitCount / 8;
  return IsIndexed(h.biBitCount) || padded ? PixelPlan::kFail : PixelPlan::kNoPixels;
}

}  // namespace

tagFileInfo *ReadFromBmp(const char *path, int isRGBReadIn) {
  if (!PathFitsRecord(path)) return nullptr;
  SourceFile source(path);
  if (!source.IsOpen()) return nullptr;
  FILE *file = source.Stream();

  if (getc_unlocked(file) != 'B' || getc_unlocked(file) != 'M') return nullptr;
  BmpHeaders h{};
  if (!ReadHeaders(file, h) || h.biCompression != 0) return nullptr;
  // A shorter information header (the 12-byte one of old) lays its fields out differently.
  if (h.biSize < bmp::kInfoHeaderSize) return nullptr;
  // The palette follows the information header the file states, which image editors write
  // longer than the 40 bytes read (108 or 124 bytes).
  const uint64_t headersEnd = bmp::kFileHeaderSize + h.biSize;

  uint32_t colorCount = h.biClrUsed;
  if (colorCount == 0 && IsIndexed(h.biBitCount)) colorCount = 1u << h.biBitCount;

  if (isRGBReadIn == 0) return NewRecord(path, h);

  Palette palette{};
  if (IsIndexed(h.biBitCount)) {
    // The palette must end before the rows begin and inside the file; checked before reading.
    const uint64_t paletteEnd = headersEnd + uint64_t{colorCount} * bmp::kPaletteEntrySize;
    if (paletteEnd > h.bfOffBits || paletteEnd > source.Length()) return nullptr;
    if (fseeko(file, static_cast<off_t>(headersEnd), SEEK_SET) != 0) return nullptr;
    if (!ReadPalette(file, colorCount, palette)) return nullptr;
  } else if (h.biBitCount != 24 || h.bfOffBits < headersEnd) {
    return nullptr;
  }

  const PixelPlan plan = PlanPixels(h, source.Length());
  if (plan == PixelPlan::kFail) return nullptr;
  tagFileInfo *record = NewRecord(path, h);
  if (record == nullptr || plan == PixelPlan::kNoPixels) return record;

  const uint64_t width = static_cast<uint64_t>(h.biWidth);
  const uint64_t height = static_cast<uint64_t>(h.biHeight);
  // Without the memory to read or hold the rows, the picture is left without pixels. Every
  // pixel is written by the rows that follow, so the pixel buffer is not cleared first.
  const RowBlock block(bmp::RowStride(width, h.biBitCount), height);
  if (block.bytes == nullptr) return record;
  auto *pixels = static_cast<unsigned char *>(PluginAllocUncleared(width * 3 * height));
  if (pixels == nullptr) return record;

  const bool read =
      fseeko(file, h.bfOffBits, SEEK_SET) == 0 &&
      (IsIndexed(h.biBitCount)
           ? ReadIndexedRows(file, block, palette, h.biBitCount, width, height, pixels)
           : ReadTrueColorRows(file, block, width, height, pixels));
  if (!read) {
    PluginFree(pixels);
    PluginFree(record);
    return nullptr;
  }
  record->rgbInfo.ptBits = pixels;
  return record;
}
