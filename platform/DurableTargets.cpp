#include "platform/DurableTargets.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/HiddenSibling.h"

namespace platform {
namespace {

// Opened without waiting (a FIFO put in a file's place must not hold the run) and synced.
bool SyncPath(const std::string &path, int flags) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  const bool isFolder = (flags & O_DIRECTORY) != 0;
  // Some file systems keep no separate record of a folder's entries to sync.
  const bool unsupported = !synced && isFolder && errno == EINVAL;
  close(fd);
  return synced || unsupported;
}

}  // namespace

bool SyncFolder(const std::string &folder) {
  return SyncPath(folder, O_DIRECTORY);
}

void DurableTargets::Add(const std::string &path) {
  if (!m_recorded.insert(path).second) return;  // written over again
  const std::string resolved = ResolveLinks(path);
  m_targets.push_back({path, FolderOf(resolved.empty() ? path : resolved)});
}

std::optional<std::string> DurableTargets::SyncAll() {
  std::vector<Target> targets;
  targets.swap(m_targets);
  m_recorded.clear();
  for (const Target &target : targets) {
    if (!SyncPath(target.path, 0)) return target.path;
  }
  std::vector<std::string> synced;
  for (const Target &target : targets) {
    if (std::find(synced.begin(), synced.end(), target.folder) != synced.end()) continue;
    if (!SyncPath(target.folder, O_DIRECTORY)) return target.path;
    synced.push_back(target.folder);
  }
  return std::nullopt;
}

}  // namespace platform
