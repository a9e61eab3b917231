#include "platform/Path.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string ExecutableFolder() {
  std::string path = ExecutablePath();
  return path.substr(0, path.rfind(kPathSeparator) + 1);
}

}  // namespace platform
