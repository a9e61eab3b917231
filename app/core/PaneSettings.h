// What the file pane keeps in the settings file: the section "Quenda" with the one entry
// SourceKey, the folder listed last.
#pragma once

#include <string>
#include <vector>

inline constexpr char kSettingsSection[] = "Quenda";

// The value of SourceKey among a section's entries ("name=value" lines), or "" when there is
// none.
std::string SourceKeyOf(const std::vector<std::string> &entries);

// The section's entry for value. A value with a line break cannot stand on one line of the
// file; it is written empty rather than as lines of its own.
std::string SourceKeyEntry(const std::string &value);
