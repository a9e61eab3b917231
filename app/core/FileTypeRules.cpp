#include "app/core/FileTypeRules.h"

#include "platform/StringCase.h"

bool ExtensionOf(const std::string &path, std::string &extension) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  extension = path.substr(dot + 1);
  return true;
}

bool OccursAfterStart(const std::string &text, const std::string &extension) {
  const size_t at = text.find(platform::ToUpper(extension));
  return at != std::string::npos && at > 0;
}

int PassesFilter(const std::string &filter, const std::string &path) {
  std::string extension;
  return ExtensionOf(path, extension) && OccursAfterStart(filter, extension) ? 1 : 0;
}

int IsSelectionConvertible(const std::vector<std::string> &files, const std::string &filesSet,
                           int &bExport) {
  if (files.empty()) return 0;
  bExport = 0;
  std::string extension;
  if (!ExtensionOf(files.front(), extension)) return 0;
  if (platform::EqualsNoCase(extension, "KDT")) {
    bExport = 1;
  } else if (!OccursAfterStart(filesSet, extension)) {
    return 0;
  }
  const std::string side = bExport ? "*.KDT" : filesSet;
  for (size_t i = 1; i < files.size(); ++i) {
    if (!ExtensionOf(files[i], extension) || !OccursAfterStart(side, extension)) return 0;
  }
  return 1;
}
