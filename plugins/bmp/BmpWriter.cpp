#include "plugins/bmp/BmpWriter.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>

#include "codec/PictureBytes.h"
#include "platform/AtomicFile.h"
#include "plugins/bmp/BmpFormat.h"

namespace {

constexpr size_t kStreamBufferSize = 1 << 20;

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

// Red, green, blue pixels of `in` as blue, green, red in `out`.
void SwapRedAndBlue(const unsigned char *in, unsigned char *out, uint64_t pixels) {
  for (uint64_t i = 0; i < pixels; ++i, in += 3, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
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

  // Bitmaps store blue, green, red: each row is swapped in a row buffer on its way out, the
  // picture stays the caller's. The stream gets a large buffer of its own, so the rows leave in
  // a few large writes.
  std::unique_ptr<unsigned char[]> row(
      new (std::nothrow) unsigned char[rowBytes == 0 ? 1 : rowBytes]);
  std::unique_ptr<char[]> streamBuffer(new (std::nothrow) char[kStreamBufferSize]);
  if (row == nullptr || streamBuffer == nullptr) return ERR_NO_MEMORY;

  const auto fileSize = static_cast<uint32_t>(*rowsBytes + bmp::kHeadersSize);
  if (path == nullptr) return ERR_FILE_OPEN;
  // The old file of that name stays until the new one is whole; declared after the stream's
  // buffer, so the stream is closed first.
  platform::AtomicFile target(path);
  FILE *file = target.Stream();
  if (file == nullptr) return ERR_FILE_OPEN;
  std::setvbuf(file, streamBuffer.get(), _IOFBF, kStreamBufferSize);
  WriteHeaders(file, picture->width, picture->height, fileSize);

  for (uint64_t r = height; r-- > 0;) {
    SwapRedAndBlue(picture->ptBits + r * rowBytes, row.get(), width);
    if (std::fwrite(row.get(), 1, rowBytes, file) != rowBytes) return ERR_FILE_WRITE;
    for (uint64_t i = rowBytes; i < stride; ++i) std::fputc(0, file);
  }
  // Buffered bytes reach the disk only when the file is committed; a failure there, or of any
  // header or padding byte, is a failed write too.
  return target.Commit() ? 0 : ERR_FILE_WRITE;
}
