// Writing a picture as a 24-bit bitmap file.
#pragma once

#include "plugins/PluginInterface.h"

// Writes `picture` to `path` as an uncompressed 24-bit bitmap, creating or replacing the file.
// Returns 0, ERR_BAD_DATA (no picture or no pixels; no file is touched), ERR_NO_MEMORY,
// ERR_FILE_OPEN or ERR_FILE_WRITE (the file stays as far as it was written).
int WriteToBmp(const char *path, const tagRGBInfo *picture);
