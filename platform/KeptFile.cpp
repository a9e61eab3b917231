#include "platform/KeptFile.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/FileSystem.h"

namespace platform {

namespace {

// ".<name>.<6 random letters or digits>" beside path, the name shortened so the whole stays a
// valid file name.
std::string HiddenNameFor(const std::string &path) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static constexpr size_t kSuffix = 6;
  thread_local std::mt19937_64 random{std::random_device{}()};
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string name = path.substr(nameStart);
  const size_t room = NAME_MAX - kSuffix - 2;
  if (name.size() > room) name.resize(room);
  std::string hidden = path.substr(0, nameStart) + "." + name + ".";
  std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
  for (size_t i = 0; i < kSuffix; ++i) hidden += kLetters[pick(random)];
  return hidden;
}

}  // namespace

std::optional<KeptFile> KeepFile(const std::string &name) {
  if (IsFolder(name)) return std::nullopt;
  // The writers write through a symbolic link to the file it names: that file's content is
  // what must be kept, beside it.
  std::string path = name;
  struct stat info;
  if (lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char *resolved = realpath(name.c_str(), nullptr);
    if (resolved != nullptr) {
      path = resolved;
      std::free(resolved);
    }
  }
  // A few tries cover a name taken by chance; each name is new, so nothing is ever replaced.
  for (int attempt = 0; attempt < 16; ++attempt) {
    KeptFile kept{path, HiddenNameFor(path)};
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
