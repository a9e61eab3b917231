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

  kdt_header header{};
  unsigned char *body = nullptr;
  int bodyLength = 0;
  const int read = readKDT(source.Stream(), &header, &body, &bodyLength);
  source.Close();

  if (read == KDT_READ && isRGBReadIn != 0)
    record->rgbInfo.ptBits = DecodePixels(body, bodyLength, code);
  std::free(body);

  // The body length is known once the body was read whole, also when its checksum then failed.
  if (const KdtPictureFormat *format = KdtFormatByBodyLength(bodyLength)) {
    record->rgbInfo.width = static_cast<uint32_t>(format->width);
    record->rgbInfo.height = static_cast<uint32_t>(format->height);
  }
  std::strcpy(record->filename, path);
  record->rgbInfo.bitsPixl = 24;
  return record;
}
