// Loading shared libraries and finding their exports by name. Failures give null; the reason
// goes to standard error, so a user who starts the program from a terminal learns why a plug-in
// is missing, while the program's window stays silent.
#pragma once

#include <string>

namespace platform {

// Loads the library at `path` with every symbol resolved now and none shared with later loads.
// Only a regular file (links followed) is loaded: anything else is not even opened, as opening
// a FIFO waits for a writer for ever.
void *OpenLibrary(const std::string &path);

// The address of the export `name` of a loaded library, or null when it has none.
void *FindExport(void *library, const char *name);

// Releases a library that OpenLibrary loaded; null is ignored.
void CloseLibrary(void *library);

}  // namespace platform
