// Loading a KDT still into a plug-in record.
#pragma once

#include "plugins/PluginInterface.h"

// Reads the KDT file at `path` and returns a new record (allocated with PluginAlloc) with its
// picture size and, when `isRGBReadIn` is non-zero and the file is valid, its pixels. With
// pixels the whole file is read and verified; without, only its header is read and checked and
// its length compared with the length the header states, and the body is neither read nor
// checksummed. `code` receives 0; ERR_FILE_OPEN when the file cannot be opened (the record is
// then all zero) or the path does not fit a record (no record); ERR_NO_MEMORY when the record
// (none returned) or its pixel buffer (record without pixels) cannot be allocated. A file that
// is no valid KDT file gives code 0 and a record without pixels; its size is known when its body
// was complete (with pixels) or its length right (without), otherwise it is 0 x 0.
tagFileInfo *ReadFromKdt(const char *path, int isRGBReadIn, int &code);
