#include "plugins/bmp/BmpWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "codec/ChannelSwap.h"
#include "codec/PictureBytes.h"
#include "platform/AtomicFile.h"
#include "plugins/bmp/BmpFormat.h"

namespace {

// The rows leave in blocks of whole rows of about this many bytes, each in one write.
constexpr uint64_t kBlockBytes = 1 << 20;

// Writes one little-endian field of the width of T.
template <typename T>
void WriteField(FILE *file, T value) {
  unsigned char bytes[sizeof(T)];
  uint64_t v = static_cast<uint64_t>(value);
  for (unsigned char &b : bytes) {
    b = static_cast<unsigned char>(v & 0xFF);
    v >>= 8;
  }
  std::fwrite(bytes, 1, sizeof bytes, file);
}

void WriteHeaders(FILE *file, uint32_t width, uint32_t height, uint32_t fileSize) {
  std::fputc('B', file);
  std::fputc('M', file);
  WriteField<uint32_t>(file, fileSize);                                  // bfSize
  WriteField<uint16_t>(file, 0);                                         // bfReserved1
  WriteField<uint16_t>(file, 0);                                         // bfReserved2
  WriteField<uint32_t>(file, static_cast<uint32_t>(bmp::kHeadersSize));  // bfOffBits
  WriteField<uint32_t>(file, 40);                                        // biSize
  WriteField<int32_t>(file, static_cast<int32_t>(width));                // biWidth
  WriteField<int32_t>(file, static_cast<int32_t>(height));               // biHeight, bottom-up
  WriteField<uint16_t>(file, 1);                                         // biPlanes
  WriteField<uint16_t>(file, 24);                                        // biBitCount
  for (int i = 0; i < 6; ++i) {
    // biCompression, biSizeImage, biXPelsPerMeter, biYPelsPerMeter, biClrUsed, biClrImportant
    WriteField<uint32_t>(file, 0);
  }
}

}  // namespace

int WriteToBmp(const char *path, const tagRGBInfo *picture) {
  if (picture == nullptr || picture->ptBits == nullptr) return ERR_BAD_DATA;
  const uint64_t width = picture->width;
  const uint64_t height = picture->height;
  const uint64_t rowBytes = width * 3;
  const uint64_t stride = bmp::RowStride(width, 24);
  // A picture beyond the largest picture is refused, and a file beyond what its 32-bit size
  // field can state.
  const std::optional<size_t> pictureBytes = PictureBytes(width, height, 3);
  const std::optional<size_t> rowsBytes = PictureBytes(stride, height, 1);
  if (!pictureBytes || !rowsBytes || *rowsBytes > UINT32_MAX - bmp::kHeadersSize) {
    return ERR_NO_MEMORY;
  }

  // Bitmaps store blue, green, red, bottom row first: the rows are swapped into a block buffer
  // with their padding on their way out, the picture stays the caller's. A block is one write,
  // too large for the stream to copy it into its own buffer.
  const uint64_t rowsPerBlock = std::max<uint64_t>(
      1, std::min<uint64_t>(height, kBlockBytes / std::max<uint64_t>(stride, 1)));
  std::unique_ptr<unsigned char[]> block(
      new (std::nothrow) unsigned char[std::max<uint64_t>(rowsPerBlock * stride, 1)]);
  if (block == nullptr) return ERR_NO_MEMORY;

  const auto fileSize = static_cast<uint32_t>(*rowsBytes + bmp::kHeadersSize);
  if (path == nullptr) return ERR_FILE_OPEN;
  // The old file of that name stays until the new one is whole.
  platform::AtomicFile target(path);
  FILE *file = target.Stream();
  if (file == nullptr) return ERR_FILE_OPEN;
  WriteHeaders(file, picture->width, picture->height, fileSize);

  for (uint64_t done = 0; done < height;) {
    const uint64_t rows = std::min(rowsPerBlock, height - done);
    unsigned char *out = block.get();
    for (uint64_t i = 0; i < rows; ++i, out += stride) {
      SwapRedAndBlue(picture->ptBits + (height - 1 - done - i) * rowBytes, out, width);
      std::memset(out + rowBytes, 0, stride - rowBytes);
    }
    if (std::fwrite(block.get(), 1, rows * stride, file) != rows * stride) return ERR_FILE_WRITE;
    done += rows;
  }
  // Buffered bytes reach the disk only when the file is committed; a failure there, or of any
  // header or padding byte, is a failed write too.
  return target.Commit() ? 0 : ERR_FILE_WRITE;
}
