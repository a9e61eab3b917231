#include "platform/ShellIcons.h"

#include <array>
#include <optional>
#include <string_view>

#include "platform/FileExtension.h"
#include "platform/StringCase.h"

namespace platform {
namespace {

bool IsPictureName(std::string_view name) {
  const std::optional<std::string_view> extension = ExtensionOf(name);
  if (!extension) return false;
  static constexpr std::array<std::string_view, 8> kPictures = {"KDT",  "BMP", "PNG", "JPG",
                                                                "JPEG", "GIF", "TIF", "TIFF"};
  for (std::string_view picture : kPictures)
    if (EqualsNoCase(*extension, picture)) return true;
  return false;
}

}  // namespace

ShellIcon IconOfItem(const ITEMIDLIST *pidl, bool open) {
  if (pidl == nullptr) return kIconFile;
  if (ItemCount(pidl) == 0) return kIconDesktop;
  const ITEMIDLIST *last = pidl;
  while (ItemCount(NextItem(last)) != 0) last = NextItem(last);
  const auto fields = ReadItem(last);
  if (!fields) return kIconFile;
  switch (fields->kind) {
    case ItemKind::kHome:
      return kIconHome;
    case ItemKind::kFileSystem:
      return kIconDrive;
    case ItemKind::kMedium:
      return kIconRemovable;
    case ItemKind::kEntry:
      break;
  }
  const bool link = fields->flags & kItemIsLink;
  if (fields->flags & kItemIsFolder) {
    if (open) return link ? kIconFolderOpenLink : kIconFolderOpen;
    return link ? kIconFolderLink : kIconFolder;
  }
  if (IsPictureName(fields->name)) return link ? kIconPictureLink : kIconPicture;
  return link ? kIconFileLink : kIconFile;
}

}  // namespace platform
