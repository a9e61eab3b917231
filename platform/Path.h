// Paths of this system: the folder separator and where the running program lives.
#pragma once

#include <string>

namespace platform {

// The one folder separator; every rule that splits or builds paths uses it.
constexpr char kPathSeparator = '/';

// The full path of the running executable, or "" when the system cannot tell.
std::string ExecutablePath();

// The executable's folder with its trailing separator (the path cut after its last separator).
std::string ExecutableFolder();

}  // namespace platform
