// The old content of a file that a conversion run replaces, kept under a hidden name in the same
// folder until the run has ended: put back under its name when the run is cancelled or fails,
// let go when it succeeds.
#pragma once

#include <optional>
#include <string>

namespace platform {

struct KeptFile {
  std::string path;    // the name the content belongs under (a link's target)
  std::string hidden;  // where it is kept meanwhile
};

// Keeps the content of the existing file `path` (anything but a folder) aside under a hidden
// unique name in its folder (HiddenSibling.h): a hard link, so a writer that replaces `path` by
// renaming a new file over it leaves the old content untouched. Where the folder's file system
// has no hard links (memory cards, USB sticks), a copy of the regular file `path`, on the disk,
// file and folder, before this returns. Either way `path` holds its file all along, so a run
// killed at any moment leaves the old content or the new one under the name. None when neither
// can be done; `path` is then as it was. A symbolic link is followed: the file it names is
// kept, as the writers replace that file and leave the link. What killed runs left in the folder
// is cleared first (Leftovers.h).
std::optional<KeptFile> KeepFile(const std::string &path);

// Renames the kept content over its name, replacing what the run wrote there. False when it
// could not be done; the kept content then stays where it is, for a retry.
bool PutBack(const KeptFile &kept);

// Forgets the kept content; what the run wrote under the name stays. False when it could not be
// removed.
bool LetGo(const KeptFile &kept);

}  // namespace platform
