// Which files the file pane lists under its filter, and which selections it can convert. A
// file's type is told by its extension alone, looked for inside a pattern text such as "*.KDT"
// or the plug-ins' pattern list "*.BMP;*.TGA".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when the upper-cased extension occurs inside text after its first character (so "KD"
// passes "*.KDT"; the filter's own rule). Extensions are taken by platform::ExtensionOf.
bool OccursAfterStart(std::string_view text, std::string_view extension);

// 1 when the file at path passes filter: its extension occurs inside the filter after its start.
int PassesFilter(const std::string &filter, const std::string &path);

// Under the filter "*.*": whether the selected files can be converted together. The first file
// decides the side: bExport becomes 1 for a KDT file, 0 for another (then its extension must
// occur in filesSet, the plug-ins' patterns); every further file must be of the same side. With
// no file selected the answer is 0 and bExport is left as it is.
int IsSelectionConvertible(const std::vector<std::string> &files, const std::string &filesSet,
                           int &bExport);
