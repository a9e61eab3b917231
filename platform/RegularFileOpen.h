// Opening an operator's file for reading. Any path the operator can list may name a FIFO or a
// device instead of a file, and a plain open of those waits for a writer or for the device, for
// ever. These opens never wait: what is not a regular file fails at once.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// A descriptor open for reading on the regular file `path` (links followed), or -1 when it
// cannot be opened or is anything but a regular file. The caller closes it.
int OpenRegularFile(const char *path);

// The same as a binary stream ("rb"), or null.
FILE *OpenRegularFileStream(const char *path);

// Reads the whole regular file `path` into `content`; false when it cannot be read.
bool ReadRegularFile(const char *path, std::string &content);

}  // namespace platform
