#include "codec/PictureFormat.h"

namespace {

constexpr KdtPictureFormat kFormats[] = {
    {1, 720, 487, true, false, 960, 60, 0, 247, 471360, 942720, 942736, 1051920},
    {2, 720, 576, true, false, 960, 60, 0, 291, 555840, 1111680, 1111696, 1244160},
    {3, 1920, 1080, true, true, 2400, 0, 0, 540, 2594400, 5188800, 5188816, 6220800},
    {4, 1280, 720, false, true, 1600, 0, 0, 0, 1153600, 2307200, 2307216, 2764800},
};

}  // namespace

const KdtPictureFormat *KdtFormatByNumber(int form) {
  if (form < 1 || form > 4) return nullptr;
  return &kFormats[form - 1];
}

const KdtPictureFormat *KdtFormatBySizeSum(int64_t widthPlusHeight) {
  for (const KdtPictureFormat &format : kFormats) {
    if (format.width + format.height == widthPlusHeight) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByBodyLength(int64_t lenYUV) {
  for (const KdtPictureFormat &format : kFormats) {
    if (format.bodyBytes == lenYUV) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByKdtSize(uint32_t kdtSize) {
  for (const KdtPictureFormat &format : kFormats) {
    if (format.kdtSize == kdtSize) return &format;
  }
  return nullptr;
}

const KdtPictureFormat *KdtFormatByPlaneBytes(uint32_t planeBytes) {
  for (const KdtPictureFormat &format : kFormats) {
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
