#include "codec/PictureFormat.h"

const KdtPictureFormat *KdtFormatByNumber(int form) {
  if (form < 1 || form > 4) return nullptr;
  return &kKdtFormats[form - 1];
}

const KdtPictureFormat *KdtFormatBySizeSum(int64_t widthPlusHeight) {
  for (const KdtPictureFormat &format : kKdtFormats) {
    if (format.width + format.height == widthPlusHeight) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByBodyLength(int64_t lenYUV) {
  for (const KdtPictureFormat &format : kKdtFormats) {
    if (format.bodyBytes == lenYUV) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByKdtSize(uint32_t kdtSize) {
  for (const KdtPictureFormat &format : kKdtFormats) {
    if (format.kdtSize == kdtSize) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByPlaneBytes(uint32_t planeBytes) {
  for (const KdtPictureFormat &format : kKdtFormats) {
    if (static_cast<uint32_t>(format.planeBytes) == planeBytes) return &format;
  }
  return nullptr;
}

int64_t KdtLumaLineOffset(const KdtPictureFormat &format, int row) {
  int64_t slot = row;
  if (format.interlaced) {
    slot = (row % 2 == 0 ? format.field1FirstSlot : format.field2FirstSlot) + row / 2;
  }
  return slot * format.lineSlot + format.slotHead;
}
