#include "app/core/FileTypeRules.h"

#include "codec/KdtFormatName.h"
#include "platform/FileExtension.h"
#include "platform/StringCase.h"

bool OccursAfterStart(std::string_view text, std::string_view extension) {
  const size_t at = text.find(platform::ToUpper(extension));
  return at != std::string_view::npos && at > 0;
}

int PassesFilter(const std::string &filter, const std::string &path) {
  const auto extension = platform::ExtensionOf(path);
  return extension && OccursAfterStart(filter, *extension) ? 1 : 0;
}

int IsSelectionConvertible(const std::vector<std::string> &files, const std::string &filesSet,
                           int &bExport) {
  if (files.empty()) return 0;
  bExport = 0;
  const auto first = platform::ExtensionOf(files.front());
  if (!first) return 0;
  if (platform::EqualsNoCase(*first, kKdtFormat)) {
    bExport = 1;
  } else if (!OccursAfterStart(filesSet, *first)) {
    return 0;
  }
  const std::string_view side = bExport ? std::string_view(kKdtPattern) : filesSet;
  for (size_t i = 1; i < files.size(); ++i) {
    const auto extension = platform::ExtensionOf(files[i]);
    if (!extension || !OccursAfterStart(side, *extension)) return 0;
  }
  return 1;
}
