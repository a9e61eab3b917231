// Reading uncompressed bitmap files of 1, 4, 8 and 24 bits per pixel.
#pragma once

#include "plugins/PluginInterface.h"

// Reads the bitmap at `path` into a new record (allocated with PluginAlloc). With `isRGBReadIn`
// zero only the headers are read and the record carries the size without pixels. Returns null
// when the file cannot be opened or is no readable bitmap; returns the record without pixels
// when the picture has no usable size (negative, zero, beyond the largest picture, or
// larger than the file can hold) or its pixel buffer cannot be allocated.
tagFileInfo *ReadFromBmp(const char *path, int isRGBReadIn);
