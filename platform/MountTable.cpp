#include "platform/MountTable.h"

#include <algorithm>

namespace platform {
namespace {

// The mount table writes a blank, a tab, a line break and a backslash in a name as \040, \011,
// \012 and \134.
std::string Unescape(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        const int value = (digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0');
        if (value > 0 && value < 256) {
          text += static_cast<char>(value);
          i += 3;
          continue;
        }
      }
    }
    text += field[i];
  }
  return text;
}

// The second blank-separated field of a line, or "" when it has none.
std::string_view MountPointField(std::string_view line) {
  const std::size_t start = line.find_first_of(" \t");
  if (start == std::string_view::npos) return {};
  const std::size_t begin = line.find_first_not_of(" \t", start);
  if (begin == std::string_view::npos) return {};
  const std::size_t end = line.find_first_of(" \t", begin);
  return line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

// True when `path` is a folder directly inside `parent` (which ends with a separator).
bool DirectlyInside(const std::string &path, const std::string &parent) {
  if (path.size() <= parent.size() || path.compare(0, parent.size(), parent) != 0) return false;
  const std::string_view name = std::string_view(path).substr(parent.size());
  return name.find('/') == std::string_view::npos && name != "." && name != "..";
}

}  // namespace

std::vector<std::string> RemovableMediaMounts(std::string_view mountTable, std::string_view user) {
  std::vector<std::string> mounts;
  if (user.empty() || user.find('/') != std::string_view::npos) return mounts;
  const std::string media = "/media/" + std::string(user) + "/";
  const std::string runMedia = "/run/media/" + std::string(user) + "/";
  while (!mountTable.empty()) {
    const std::size_t end = mountTable.find('\n');
    const std::string_view line = mountTable.substr(0, end);
    mountTable = end == std::string_view::npos ? std::string_view() : mountTable.substr(end + 1);
    const std::string path = Unescape(MountPointField(line));
    if ((DirectlyInside(path, media) || DirectlyInside(path, runMedia)) &&
        std::find(mounts.begin(), mounts.end(), path) == mounts.end()) {
      mounts.push_back(path);
    }
  }
  return mounts;
}

}  // namespace platform
