// Bilinear reduction of images of 32-bit pixels (four independent 8-bit samples per pixel) with
// 16.16 fixed-point positions and 7-bit weights: a horizontal pass over the upper source row
// written into the destination row, then a pass that blends the lower source row into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// 129 weights, entry i holding i in each of its four 16-bit lanes, so that one 64-bit load
// gives a weight for all four samples of a pixel. Filled before the program starts;
// _Thum_InitAlphaTable writes the same values again.
extern uint64_t s_AlphaTable[129];

void _Thum_InitAlphaTable();

// Writes the whole destination image (deswidth by desheight pixels, rows top-down without
// padding) from the source image (srcwidth by srcheight). All four sizes must be at least 1.
// Reads nothing outside the source image; where an enlargement calls for a pixel past the
// last column or row, the last column or row stands in for it.
void _Thum_BlitStretch(uint32_t *lpDesLines, int deswidth, int desheight,
                       const uint32_t *lpSrcLines, int srcwidth, int srcheight);

// _Thum_BlitStretch from a source given row by row: rowOf(r) returns source row r (srcwidth
// pixels), which must stay valid until the call after next (a destination row is made from the
// upper and the lower row together). The rows are asked for in the order the
// blit reads them, and only the rows it reads: the upper row of each destination row, and the
// lower one when its weight is not zero.
void BlitStretchRows(uint32_t *lpDesLines, int deswidth, int desheight, int srcwidth, int srcheight,
                     const std::function<const uint32_t *(size_t)> &rowOf);

// _Thum_BlitStretch of pictures of 3-byte pixels (rows without padding), read and written in
// that form: each byte of a pixel is the sample that the same byte gives in the 32-bit form.
void BlitStretchRgb(unsigned char *dest, int deswidth, int desheight, const unsigned char *src,
                    int srcwidth, int srcheight);

// Writes Width destination pixels from one source row, stepping dU (16.16) per pixel. The right
// neighbour of a source pixel is read only when its weight is not zero.
void _Thum_DrawScanLine(uint32_t *DestAddr, const uint32_t *SrcAddr, int Width, uint32_t dU);

// Blends one source row, interpolated as by _Thum_DrawScanLine, into Width already written
// destination pixels with weight Alpha (0..127) for the source row. Alpha 0 leaves the
// destination as it is and reads nothing.
void _Thum_DrawScanLineAlpha(uint32_t *DestAddr, const uint32_t *SrcAddr, int Width, uint32_t dU,
                             uint32_t Alpha);
