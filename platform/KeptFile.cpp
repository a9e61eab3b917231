#include "platform/KeptFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/DurableTargets.h"
#include "platform/FileSystem.h"
#include "platform/HiddenSibling.h"
#include "platform/Leftovers.h"
#include "platform/RegularFileOpen.h"

namespace platform {
namespace {

bool WriteAll(int fd, const char *bytes, size_t count) {
  while (count > 0) {
    const ssize_t written = write(fd, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

bool CopyBytes(int from, int to) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(from, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAll(to, chunk, static_cast<size_t>(got))) return false;
  }
}

// Copies the regular file `path` to the new name `hidden`, with its mode, owner and times where
// the file system and this user's rights allow, and makes the copy durable. 0, or the failure's
// errno (EEXIST for a name taken); a failed copy leaves nothing behind.
int CopyAside(const std::string &path, const std::string &hidden) {
  const int from = OpenRegularFile(path.c_str());
  if (from < 0) return EINVAL;
  struct stat old;
  int to = -1;
  if (fstat(from, &old) == 0)
    to = open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  const int opened = to >= 0 ? 0 : errno;
  bool copied = false;
  if (to >= 0) {
    copied = CopyBytes(from, to);
    // What the file system can keep of the rest (a memory card has no owners and few modes).
    [[maybe_unused]] const int ownerKept = fchown(to, old.st_uid, old.st_gid);
    [[maybe_unused]] const int modeKept = fchmod(to, old.st_mode & 07777);
    const timespec times[2] = {old.st_atim, old.st_mtim};
    [[maybe_unused]] const int timesKept = futimens(to, times);
    copied = copied && fsync(to) == 0;
    copied = close(to) == 0 && copied && SyncFolder(FolderOf(hidden));
    if (!copied) unlink(hidden.c_str());
  }
  close(from);
  return to < 0 ? opened : copied ? 0 : EIO;
}

}  // namespace

std::optional<KeptFile> KeepFile(const std::string &name) {
  if (IsFolder(name)) return std::nullopt;
  // The writers write through a symbolic link to the file it names: that file's content is
  // what must be kept, beside it.
  const std::string path = ResolveLinks(name);
  if (path.empty()) return std::nullopt;
  ClearLeftoversOnce(FolderOf(path));
  // A few tries cover a name taken by chance; each name is new, so nothing is ever replaced.
  for (int attempt = 0; attempt < 16; ++attempt) {
    KeptFile kept{path, HiddenSiblingName(path, SiblingKind::KeptContent)};
    if (link(path.c_str(), kept.hidden.c_str()) == 0) return kept;
    if (errno == EEXIST) continue;
    // No hard link here (a file system without them, or a file at its limit of links): a copy
    // keeps the content while the file stays under its name until the writer replaces it.
    const int copied = CopyAside(path, kept.hidden);
    if (copied == 0) return kept;
    if (copied != EEXIST) return std::nullopt;
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
