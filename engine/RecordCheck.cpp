#include "engine/RecordCheck.h"

#include <optional>

#include "codec/PictureBytes.h"
#include "platform/HeapBlock.h"

namespace {

bool BufferHolds(const unsigned char *buffer, const tagRGBInfo &picture, uint64_t bytesPerPixel) {
  if (buffer == nullptr) return true;
  const std::optional<size_t> claimed = PictureBytes(picture.width, picture.height, bytesPerPixel);
  if (!claimed) return false;
  const std::optional<size_t> block = platform::HeapBlockBytes(buffer);
  return !block || *block >= *claimed;
}

}  // namespace

bool RecordHoldsItsPicture(const tagFileInfo &record) {
  const tagRGBInfo &picture = record.rgbInfo;
  return BufferHolds(picture.ptBits, picture, 3) && BufferHolds(picture.ptAlpha, picture, 1);
}
