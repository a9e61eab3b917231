#include "app/core/PaneSettings.h"

namespace {

constexpr char kSourceKey[] = "SourceKey=";

}  // namespace

std::string SourceKeyOf(const std::vector<std::string> &entries) {
  for (const std::string &entry : entries) {
    if (entry.compare(0, sizeof kSourceKey - 1, kSourceKey) == 0)
      return entry.substr(sizeof kSourceKey - 1);
  }
  return {};
}

std::string SourceKeyEntry(const std::string &value) {
  const bool oneLine = value.find_first_of("\r\n") == std::string::npos;
  return kSourceKey + (oneLine ? value : "");
}
