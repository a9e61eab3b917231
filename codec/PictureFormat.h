// The four picture formats of the device and the layout of their KDT bodies: each plane is a run
// of fixed-size line slots; a slot holds an optional head and then one line of 5-byte groups.
#pragma once

#include <cstdint>

struct KdtPictureFormat {
  int form;             // 1 to 4
  int width;            // pixels
  int height;           // frame lines
  bool interlaced;      // two fields stored one after the other in each plane
  bool bt709;           // colour matrix: BT.709 when true, BT.601 otherwise
  int lineSlot;         // bytes of one line slot
  int slotHead;         // bytes before the active bytes of a slot
  int field1FirstSlot;  // slot of field line 0 of field 1 (or of frame line 0)
  int field2FirstSlot;  // slot of field line 0 of field 2 (interlaced only)
  int planeBytes;       // kdtYSize = kdtCSize
  int bodyBytes;        // lenYUV: luma plane then chroma plane
  uint32_t kdtSize;     // body bytes + 16
  int rgbBytes;         // lenRGB: width * height * 3
};

// The four formats, format n at index n - 1.
inline constexpr KdtPictureFormat kKdtFormats[] = {
    {1, 720, 487, true, false, 960, 60, 0, 247, 471360, 942720, 942736, 1051920},
    {2, 720, 576, true, false, 960, 60, 0, 291, 555840, 1111680, 1111696, 1244160},
    {3, 1920, 1080, true, true, 2400, 0, 0, 540, 2594400, 5188800, 5188816, 6220800},
    {4, 1280, 720, false, true, 1600, 0, 0, 0, 1153600, 2307200, 2307216, 2764800},
};

// The format of number `form`, or null when `form` is not 1 to 4.
const KdtPictureFormat *KdtFormatByNumber(int form);
// The format whose width + height is `widthPlusHeight` (1207, 1296, 3000, 2000), or null.
const KdtPictureFormat *KdtFormatBySizeSum(int64_t widthPlusHeight);
// The format whose body is `lenYUV` bytes long, or null.
const KdtPictureFormat *KdtFormatByBodyLength(int64_t lenYUV);
// The format whose header kdtSize is `kdtSize`, or null.
const KdtPictureFormat *KdtFormatByKdtSize(uint32_t kdtSize);
// The format whose luma and chroma planes are `planeBytes` long, or null.
const KdtPictureFormat *KdtFormatByPlaneBytes(uint32_t planeBytes);

// Byte offset in the body of the first active luma byte of frame line `row` (0 = top).
int64_t KdtLumaLineOffset(const KdtPictureFormat &format, int row);
