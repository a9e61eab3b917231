// Conversion between RGB pictures and KDT bodies: 10-bit 4:2:2 video samples, a luma plane and a
// chroma plane, fields in their slots (see PictureFormat.h), studio range, BT.601 for formats 1
// and 2 and BT.709 for formats 3 and 4.
#pragma once

#include "codec/CodecResult.h"
#include "codec/PictureFormat.h"

// Encodes a whole picture of format `form` into a new body (malloc; the caller frees it).
// p_RGB holds width * height * 3 bytes (red, green, blue, top row first), or with `flag`
// non-zero a key plane of width * height bytes taken as grey. Returns 0, or ERR_CODEC for a form
// outside 1 to 4 (outputs untouched) or a failed allocation (p_YUV null).
int tranRGB2YUV(const unsigned char *p_RGB, unsigned char **p_YUV, int *lenYUV, int form, int flag);

// The failures of tranYUV2RGB.
enum : int {
  DECODE_NO_MEMORY = -1,   // the picture cannot be allocated (p_RGB null)
  DECODE_BAD_LENGTH = -2,  // lenYUV is no format's body length (outputs untouched)
};

// Decodes a body of lenYUV bytes (which selects the format) into a new RGB picture (malloc; the
// caller frees it). Returns 0, DECODE_NO_MEMORY or DECODE_BAD_LENGTH.
int tranYUV2RGB(const unsigned char *p_YUV, int lenYUV, unsigned char **p_RGB, int *lenRGB);

// Encodes the 4 pixels from p_RGB[posRGB] into the luma group at p_YUV[posY] and the chroma
// group at p_YUV[posUV].
void rgb2yuvUnit(const unsigned char *p_RGB, int posRGB, unsigned char *p_YUV, int posY, int posUV,
                 int form, int flag);
