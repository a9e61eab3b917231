// How the program and its plug-ins name the KDT format: the format string a conversion into KDT
// stills is asked for with, and the pattern of KDT files that the KDT plug-in serves, the file
// pane's filter offers and the host keeps apart from the other plug-ins' patterns.
#pragma once

#include <string_view>

// The format string of KDT stills; the rules that compare it ignore letter case.
inline constexpr char kKdtFormat[] = "KDT";

// The pattern of KDT files: "*." and the format string.
inline constexpr char kKdtPattern[] = "*.KDT";
static_assert(std::string_view(kKdtPattern).substr(2) == kKdtFormat);

// The extension of KDT files, with its dot.
inline constexpr std::string_view kKdtExtension = std::string_view(kKdtPattern).substr(1);
