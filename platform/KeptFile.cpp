#include "platform/KeptFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/HiddenSibling.h"

namespace platform {

std::optional<KeptFile> KeepFile(const std::string &name) {
  if (IsFolder(name)) return std::nullopt;
  // The writers write through a symbolic link to the file it names: that file's content is
  // what must be kept, beside it.
  const std::string path = ResolveLinks(name);
  if (path.empty()) return std::nullopt;
  // A few tries cover a name taken by chance; each name is new, so nothing is ever replaced.
  for (int attempt = 0; attempt < 16; ++attempt) {
    KeptFile kept{path, HiddenSiblingName(path)};
    if (link(path.c_str(), kept.hidden.c_str()) == 0) return kept;
    if (errno == EEXIST) continue;
    // No hard link here (a file system without them, or a file at its limit of links): the file
    // itself moves aside, which is as atomic and never half done.
    const std::error_code moved = RenameFile(path, kept.hidden);
    if (!moved) return kept;
    if (moved != std::errc::file_exists) return std::nullopt;
  }
  return std::nullopt;
}

bool PutBack(const KeptFile &kept) {
  if (std::rename(kept.hidden.c_str(), kept.path.c_str()) != 0) return false;
  // When the name still holds the kept file itself (the run never replaced it), the rename
  // changes nothing and leaves both names: the hidden one goes.
  if (unlink(kept.hidden.c_str()) != 0 && errno != ENOENT) return false;
  return true;
}

bool LetGo(const KeptFile &kept) {
  return unlink(kept.hidden.c_str()) == 0 || errno == ENOENT;
}

}  // namespace platform
