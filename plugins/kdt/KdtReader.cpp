#include "plugins/kdt/KdtReader.h"

#include <cstdlib>
#include <cstring>

#include "codec/ColorConvert.h"
#include "codec/KdtFile.h"
#include "codec/PictureFormat.h"
#include "plugins/SourceFile.h"

namespace {

// Decodes a verified body into a pixel buffer that the host can free with PluginFree, or null.
unsigned char *DecodePixels(const unsigned char *body, int bodyLength, int &code) {
  unsigned char *rgb = nullptr;
  int rgbLength = 0;
  if (tranYUV2RGB(body, bodyLength, &rgb, &rgbLength) != 0) return nullptr;
  auto *pixels = static_cast<unsigned char *>(PluginAlloc(static_cast<size_t>(rgbLength)));
  if (pixels != nullptr) {
    std::memcpy(pixels, rgb, static_cast<size_t>(rgbLength));
  } else {
    code = ERR_NO_MEMORY;
  }
  std::free(rgb);
  return pixels;
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

  if (read == 1 && isRGBReadIn != 0) record->rgbInfo.ptBits = DecodePixels(body, bodyLength, code);
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
