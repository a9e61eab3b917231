#include "app/core/PaneSettings.h"

#include "platform/Path.h"

namespace {

constexpr char kSourceKey[] = "SourceKey=";

}  // namespace

std::string SourceKeyOf(const std::vector<std::string> &entries, size_t readSize) {
  size_t used = 1;  // the list's terminator
  for (const std::string &entry : entries) used += entry.size() + 1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string &entry = entries[i];
    if (entry.compare(0, sizeof kSourceKey - 1, kSourceKey) != 0) continue;
    std::string value = entry.substr(sizeof kSourceKey - 1);
    // Only the last entry read can have been cut, and only when the read filled its size.
    if (i + 1 == entries.size() && used >= readSize)
      value.erase(value.find_last_of(platform::kPathSeparator) + 1);
    return value;
  }
  return {};
}

std::string SourceKeyEntry(const std::string &value) {
  const bool oneLine = value.find_first_of("\r\n") == std::string::npos;
  return kSourceKey + (oneLine ? value : "");
}
