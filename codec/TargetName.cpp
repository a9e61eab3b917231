// Target naming and path splitting for the program's tasks and dialogs.
#include "codec/TargetName.h"

#include "platform/Path.h"
#include "platform/StringCase.h"

namespace {

// The position of the last separator when it stands past the first character, else npos: a
// path whose only separator leads it is taken as a whole.
size_t InnerSeparator(const std::string &path) {
  const size_t position = path.rfind(platform::kPathSeparator);
  return position != std::string::npos && position > 0 ? position : std::string::npos;
}

}  // namespace

std::string GetFileName(const std::string &sFullPath) {
  const size_t separator = InnerSeparator(sFullPath);
  return separator == std::string::npos ? sFullPath : sFullPath.substr(separator + 1);
}

std::string GetFolder(const std::string &sFullPath) {
  const size_t separator = InnerSeparator(sFullPath);
  return separator == std::string::npos ? sFullPath : sFullPath.substr(0, separator);
}

std::string MakeTargetName(const std::string &srcName, const std::string &objExt) {
  const std::string name = GetFileName(srcName);

  if (!platform::EqualsNoCase(objExt, "KDT")) {
    const size_t lastDot = name.rfind('.');
    const std::string base =
        lastDot != std::string::npos && lastDot > 0 ? name.substr(0, lastDot) : name;
    return base + "." + objExt;
  }

  const bool hasKindLetter = !name.empty() && (name[0] == 'M' || name[0] == 'S');
  const std::string head = hasKindLetter ? "" : "M";
  const size_t firstDot = name.find('.');
  const std::string stem = firstDot == std::string::npos ? name : name.substr(0, firstDot);
  constexpr size_t kStemKept = 7;
  return head + stem.substr(0, kStemKept) + ".QVEL_000.KDT";
}
