#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DurableTargets.h"
#include "platform/HiddenSibling.h"
#include "platform/Leftovers.h"

namespace platform {
namespace {

// Whether an existing file may be replaced: the system would let root write over a read-only
// file, but a file that grants writing to nobody is read-only for this program too.
bool MayReplace(const std::string &path, const struct stat &info) {
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Puts the new content of fd on its way to the disk without waiting for it. A file system that
// has no such request writes it back in its own time, which is no failure of the write.
bool StartWriteback(int fd) {
  if (sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE) == 0) return true;
  return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
}

}  // namespace

AtomicFile::AtomicFile(const std::string &path) {
  m_target = ResolveLinks(path);
  if (m_target.empty() || m_target.back() == '/') return;
  // What killed runs left in the folder goes first; old content put back under this very name
  // is then replaced like any other.
  ClearLeftoversOnce(FolderOf(m_target));

  // A new file gets the mode a plain create would give it; a replaced one keeps its own.
  mode_t mode = 0666;
  struct stat old;
  const bool replacing = stat(m_target.c_str(), &old) == 0;
  if (replacing) {
    if (!S_ISREG(old.st_mode) || !MayReplace(m_target, old)) return;
    mode = old.st_mode & 07777;
    m_replacesContent = old.st_size > 0;
  }

  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    m_temporary = HiddenSiblingName(m_target, SiblingKind::NewContent);
    fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    m_temporary.clear();
    return;
  }
  if (replacing) {
    // The owner too, where this user may give it away (else the file stays this user's); and the
    // old mode whole, which the umask has cut at the create.
    [[maybe_unused]] const int ownerKept = fchown(fd, old.st_uid, old.st_gid);
    [[maybe_unused]] const int modeKept = fchmod(fd, mode);
  }
  m_stream = fdopen(fd, "wb");
  if (m_stream == nullptr) {
    close(fd);
    Discard();
  }
}

AtomicFile::~AtomicFile() {
  Discard();
}

void AtomicFile::Discard() {
  if (m_stream != nullptr) std::fclose(m_stream);
  m_stream = nullptr;
  if (!m_temporary.empty()) unlink(m_temporary.c_str());
  m_temporary.clear();
}

bool AtomicFile::Close() {
  if (m_stream == nullptr) return m_closedWhole;
  const int fd = fileno(m_stream);
  m_closedWhole = std::fflush(m_stream) == 0 && std::ferror(m_stream) == 0 &&
                  (m_replacesContent ? fsync(fd) == 0 : StartWriteback(fd));
  // Closing reports the last failure of a write still under way.
  m_closedWhole = std::fclose(m_stream) == 0 && m_closedWhole;
  m_stream = nullptr;
  return m_closedWhole;
}

bool AtomicFile::Commit() {
  if (Close() && std::rename(m_temporary.c_str(), m_target.c_str()) == 0) {
    m_temporary.clear();
    m_closedWhole = false;  // nothing more to commit
    return true;
  }
  Discard();
  return false;
}

bool WriteFileAtomically(const std::string &path, const std::string &bytes) {
  AtomicFile file(path);
  if (file.Stream() == nullptr) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.Stream()) != bytes.size())
    return false;
  if (!file.Commit()) return false;
  // A file written on its own is the whole of its run: it reaches the disk before this returns.
  DurableTargets written;
  written.Add(path);
  return !written.SyncAll();
}

}  // namespace platform
