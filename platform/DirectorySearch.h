// Searching a folder for the entries whose names match a wildcard pattern.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DirectoryEntry {
  std::string name;  // the entry's name, without its folder
  bool isFolder;     // true for a folder (or a link to one)
};

// True when `name` matches `pattern` without regard to letter case: "*" stands for any run of
// characters (none included), "?" for exactly one character.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The entries of `folder` whose names match `pattern`, sorted by name without regard to case
// (ties in byte order), so that the order does not depend on the file system. "." and ".." are
// never listed. A missing or unreadable folder gives an empty list.
std::vector<DirectoryEntry> FindEntries(const std::string &folder, std::string_view pattern);

}  // namespace platform
