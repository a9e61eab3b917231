#include "platform/Leftovers.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <unordered_set>

#include "platform/FileSystem.h"
#include "platform/HiddenSibling.h"

namespace platform {
namespace {

void ClearLeftover(const std::string &folder, const char *entryName) {
  const std::optional<HiddenSibling> sibling = ParseHiddenSibling(entryName);
  if (!sibling || StateOf(sibling->writer) != WriterState::Gone) return;
  const std::string path = folder + "/" + entryName;
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  if (sibling->kind == SiblingKind::NewContent) {
    unlink(path.c_str());
    return;
  }
  if (sibling->nameMayBeCut) return;
  const std::string name = folder + "/" + sibling->name;
  // Never over anything: a name taken meanwhile keeps what it holds.
  if (!PathExists(name)) {
    RenameFile(path, name);
  } else {
    unlink(path.c_str());
  }
}

}  // namespace

void ClearLeftoversOnce(const std::string &folder) {
  static std::mutex mutex;
  static std::unordered_set<std::string> cleared;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!cleared.insert(folder).second) return;
  }
  DIR *listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent *entry = readdir(listing)) {
    // Most names are passed over at a glance: only hidden names can be the program's.
    if (entry->d_name[0] == '.') ClearLeftover(folder, entry->d_name);
  }
  closedir(listing);
}

}  // namespace platform
