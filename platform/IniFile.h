// Sections of settings (INI) files: "[Section]" lines, each followed by "key=value" entries.
// Section names are compared without regard to letter case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The entries of the first section named `section` in file order, each as its "key=value" line.
// Blank lines and comment lines (starting with ";") are left out. A missing file or section gives
// an empty list. The entries, each with a terminator, and a terminator of the list fit in
// `bufferSize` characters: the entry that does not fit is cut and the rest left out, and no more
// of the file is read than that needs. Without a size the whole section is read.
std::vector<std::string> ReadIniSection(const std::string &path, const std::string &section,
                                        size_t bufferSize = SIZE_MAX);

// Replaces the whole content of `section` by `entries`, keeping every other line of the file
// byte for byte, line ends included; the new lines end as the file's first line does. The
// section is appended when missing, the file created when missing. A link is written through to
// the file it names. The file is replaced whole or not at all (see AtomicFile): a failed write,
// a read-only file or one that cannot be read leaves it as it was. Returns false then.
bool ReplaceIniSection(const std::string &path, const std::string &section,
                       const std::vector<std::string> &entries);

}  // namespace platform
