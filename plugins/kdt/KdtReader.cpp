#include "plugins/kdt/KdtReader.h"

#include <cstdlib>
#include <cstring>

#include "codec/ColourConvert.h"
#include "codec/KdtFile.h"
#include "codec/PictureFormat.h"
#include "plugins/SourceFile.h"

namespace {

// Decodes a verified body into the record's pixel buffer, or null. The decoder's buffer comes
// from malloc, the very allocator the boundary's PluginAlloc/PluginFree pair uses, so it is
// handed to the host as it is instead of being copied into a second 6 MB buffer.
unsigned char *DecodePixels(const unsigned char *body, int bodyLength, int &code) {
  unsigned char *rgb = nullptr;
  int rgbLength = 0;
  const int decoded = tranYUV2RGB(body, bodyLength, &rgb, &rgbLength);
  if (decoded == DECODE_NO_MEMORY) code = ERR_NO_MEMORY;
  return decoded == 0 ? rgb : nullptr;
}

// The body length of a still whose header passes its checks and whose file ends exactly where
// the header says, else 0: what a record without pixels needs, learnt from the header and the
// file's length without reading the body.
int RecordBodyLength(const SourceFile &source) {
  kdt_header header{};
  if (readKDTHeader(source.Stream(), &header) != KDT_HEADER_BYTES || checkKDT(&header) != 0) {
    return 0;
  }
  const KdtPictureFormat *format = KdtFormatByKdtSize(header.kdtSize);
  const uint64_t fileLength = uint64_t{header.kdtSize} + KDT_HEADER_BYTES - 16;
  return format != nullptr && source.Length() == fileLength ? format->bodyBytes : 0;
}

}  // namespace

tagFileInfo *ReadFromKdt(const char *path, int isRGBReadIn, int &code) {
  code = 0;
  if (!PathFitsRecord(path)) {
    code = ERR_FILE_OPEN;
    return nullptr;
  }
  auto *record = static_cast<tagFileInfo *>(PluginAlloc(sizeof(tagFileInfo)));
  if (record == nullptr) {
    code = ERR_NO_MEMORY;
    return nullptr;
  }
  SourceFile source(path);
  if (!source.IsOpen()) {
    code = ERR_FILE_OPEN;
    return record;
  }

  int bodyLength = 0;
  if (isRGBReadIn == 0) {
    bodyLength = RecordBodyLength(source);
  } else {
    kdt_header header{};
    unsigned char *body = nullptr;
    if (readKDT(source.Stream(), &header, &body, &bodyLength) == KDT_READ)
      record->rgbInfo.ptBits = DecodePixels(body, bodyLength, code);
    std::free(body);
  }
  source.Close();

  // The body length is known once the body was read whole, also when its checksum then failed;
  // for a record alone, once the header and the file's length agree.
  if (const KdtPictureFormat *format = KdtFormatByBodyLength(bodyLength)) {
    record->rgbInfo.width = static_cast<uint32_t>(format->width);
    record->rgbInfo.height = static_cast<uint32_t>(format->height);
  }
  std::strcpy(record->filename, path);
  record->rgbInfo.bitsPixl = 24;
  return record;
}
