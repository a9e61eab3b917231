// Sections of settings (INI) files: "[Section]" lines, each followed by "key=value" entries.
// Section names are compared without regard to letter case.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The entries of `section` in file order, each as its "key=value" line. Blank lines and
// comment lines (starting with ";") are left out. A missing file or section gives an empty list.
std::vector<std::string> ReadIniSection(const std::string &path, const std::string &section);

// Replaces the whole content of `section` by `entries`, keeping every other section and line of
// the file; the section is appended when missing, the file created when missing. The file is
// written beside and then renamed over the old one, so a failed write leaves it as it was.
// Returns false when the file could not be written.
bool ReplaceIniSection(const std::string &path, const std::string &section,
                       const std::vector<std::string> &entries);

}  // namespace platform
