// What the file pane keeps in the settings file: the section "Quenda" with the one entry
// SourceKey, the folder listed last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kSettingsSection[] = "Quenda";

// The value of SourceKey among a section's entries ("name=value" lines), or "" when there is
// none. `readSize` is the size the section was read with (each entry and the list with a
// terminator): a value that fills it may have been cut inside a folder's name, which could then
// name another folder, so it is taken only up to its last complete name, the deepest folder
// that is surely on the saved path.
std::string SourceKeyOf(const std::vector<std::string> &entries, size_t readSize = SIZE_MAX);

// The section's entry for value. A value with a line break cannot stand on one line of the
// file; it is written empty rather than as lines of its own.
std::string SourceKeyEntry(const std::string &value);
