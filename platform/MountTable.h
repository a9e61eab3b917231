// The removable media that the system has mounted for the user, read from a mount table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The mount points of `mountTable` (text in the form of /proc/self/mounts: device, mount point,
// type, options, two numbers per line, with blanks and backslashes in names written as octal
// escapes) that stand directly in /media/<user>/ or /run/media/<user>/, in table order, each
// once.
std::vector<std::string> RemovableMediaMounts(std::string_view mountTable, std::string_view user);

}  // namespace platform
