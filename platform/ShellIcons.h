// The icons of the namespace's items: a fixed set of indices, chosen from an item's absolute
// list alone, so no display is needed to choose one. The program builds one 16 x 16 image list
// with an image at each index.
#pragma once

#include "platform/ItemIdList.h"

namespace platform {

enum ShellIcon : int {
  kIconDesktop,
  kIconHome,
  kIconDrive,      // the file system's root
  kIconRemovable,  // a removable medium
  kIconFolder,
  kIconFolderOpen,
  kIconFile,
  kIconPicture,     // a file whose extension names a picture format
  kIconFolderLink,  // the same, for symbolic links
  kIconFolderOpenLink,
  kIconFileLink,
  kIconPictureLink,
  kShellIconCount
};

// The icon of the item that the absolute list `pidl` names (the empty list: the desktop); `open`
// asks for a folder's open icon. A list that names nothing of the namespace gets kIconFile.
ShellIcon IconOfItem(const ITEMIDLIST *pidl, bool open);

}  // namespace platform
