// Letter-case helpers for the rules that compare names and patterns without regard to case.
// Only the ASCII letters change case; other bytes (UTF-8 sequences included) stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToUpper(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Negative, 0 or positive as `a` sorts before, with or after `b` without regard to case.
int CompareNoCase(std::string_view a, std::string_view b);

}  // namespace platform
