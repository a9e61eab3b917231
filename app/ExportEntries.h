// The entries of the "&Export To" menus, from the plug-in host's pattern list.
#pragma once

#include <string>
#include <vector>

// Ids 32774 to 32783 hold the export entries; the next id of the command range is taken by
// "&Reverse Field Dominance", so at most this many entries are built.
constexpr int kMaxExportEntries = 10;

// The menu texts of the export entries in order: each pattern of filesSet (patterns such as
// "*.BMP" separated by ";") upper-cased and without its first two characters ("*."), up to the
// first empty pattern and at most kMaxExportEntries of them.
std::vector<std::string> ExportEntryNames(const std::string &filesSet);
