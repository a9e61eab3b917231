// Turns pictures of 3 bytes per pixel (red, green, blue, top row first, no row padding) into the
// bottom-up, blue-green-red, 4-byte-aligned form a drawing call takes, and back.
#pragma once

// Exchanges the first and third byte of each of widthPix * height pixels in place. Returns 0
// when buf is null or the picture is beyond the largest picture (PictureBytes.h), else 1.
int BGRFromRGB(unsigned char *buf, unsigned int widthPix, unsigned int height);

// Reverses the order of `height` rows of widthBytes bytes in place. Returns 0 when inbuf is null
// or the rows are beyond the largest picture, else 1.
int VertFlipBuf(unsigned char *inbuf, unsigned int widthBytes, unsigned int height);

// A copy whose rows of widthPix * 3 bytes are padded to a multiple of 4 bytes (padding zero),
// allocated with malloc (the caller frees it); the padded row length goes to *uiOutWidthBytes.
// Null when dataBuf is null, the size does not fit, or the allocation fails.
unsigned char *MakeDwordAlignedBuf(const unsigned char *dataBuf, unsigned int widthPix,
                                   unsigned int height, unsigned int *uiOutWidthBytes);
