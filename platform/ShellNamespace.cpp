#include "platform/ShellNamespace.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "platform/MountTable.h"
#include "platform/StringCase.h"

namespace platform {
namespace {

constexpr const char *kDesktopName = "Desktop";
constexpr const char *kHomeName = "Home";
constexpr const char *kFileSystemName = "File System";

std::mutex g_sourceMutex;
std::function<ShellEnvironment()> g_source;

std::string Join(const std::string &folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string_view LastComponent(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A file-system entry's name as an item may hold it: one component, not hidden by the caller's
// rules here, never "." or "..".
bool IsEntryName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The item flags of the entry at `path`, or none when it is neither a regular file nor a folder
// (a link counts as what it points to; a broken link is nothing).
std::optional<uint8_t> EntryFlags(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return std::nullopt;
  uint8_t flags = 0;
  if (S_ISLNK(info.st_mode)) {
    flags |= kItemIsLink;
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) return flags | kItemIsFolder;
  if (S_ISREG(info.st_mode)) return flags;
  return std::nullopt;
}

// The same from a directory entry's type, asking the file system only when the type does not
// tell (links and file systems that give no types).
std::optional<uint8_t> EntryFlags(const std::string &path, unsigned char type) {
  if (type == DT_DIR) return kItemIsFolder;
  if (type == DT_REG) return uint8_t{0};
  if (type == DT_LNK || type == DT_UNKNOWN) return EntryFlags(path);
  return std::nullopt;
}

// Reads the whole folder when it holds no folder item, however many files it holds: an answer
// guessed from a count would give a folder of files an expand button that leads nowhere. The
// entries' types come with the reading, so a file costs no query of its own.
bool HasSubfolder(const std::string &path) {
  DIR *dir = opendir(path.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  while (const dirent *entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
    const auto flags = EntryFlags(Join(path, entry->d_name), entry->d_type);
    if (flags && (*flags & kItemIsFolder)) {
      found = true;
      break;
    }
  }
  closedir(dir);
  return found;
}

bool CanOpenFolder(const std::string &path) {
  DIR *dir = opendir(path.c_str());
  if (dir == nullptr) return false;
  closedir(dir);
  return true;
}

// The name an item shows, and where it lies inside the item.
std::string_view DisplayNameOf(const ItemFields &fields) {
  return fields.kind == ItemKind::kMedium ? LastComponent(fields.name) : fields.name;
}

int CompareNames(std::string_view a, std::string_view b) {
  const int noCase = CompareNoCase(a, b);
  return noCase != 0 ? noCase : a.compare(b);
}

// Appends the first item of `item` to `bytes`.
void AppendItem(std::string &bytes, const ITEMIDLIST *item) {
  bytes.append(reinterpret_cast<const char *>(ItemBytes(item)), ItemCount(item));
}

ItemIdPtr ListFromBytes(const std::string &bytes) {
  auto *block = static_cast<unsigned char *>(ShellAlloc(bytes.size() + 2));
  if (block == nullptr) return nullptr;
  std::memcpy(block, bytes.data(), bytes.size());
  block[bytes.size()] = block[bytes.size() + 1] = 0;
  return ItemIdPtr(reinterpret_cast<ITEMIDLIST *>(block));
}

std::string ReadWholeText(const char *path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ShellEnvironment SystemShellEnvironment() {
  ShellEnvironment environment;
  const passwd *user = getpwuid(geteuid());
  if (const char *home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    environment.home = home;
  } else if (user != nullptr && user->pw_dir != nullptr) {
    environment.home = user->pw_dir;
  }
  std::string name;
  if (user != nullptr && user->pw_name != nullptr) {
    name = user->pw_name;
  } else if (const char *envUser = std::getenv("USER")) {
    name = envUser;
  }
  environment.removableMedia = RemovableMediaMounts(ReadWholeText("/proc/self/mounts"), name);
  return environment;
}

void SetShellEnvironmentSource(std::function<ShellEnvironment()> source) {
  std::lock_guard lock(g_sourceMutex);
  g_source = std::move(source);
}

ShellFolder *DesktopFolder() {
  std::function<ShellEnvironment()> source;
  {
    std::lock_guard lock(g_sourceMutex);
    source = g_source;
  }
  return new ShellFolder(true, "", source ? source() : SystemShellEnvironment());
}

ShellFolder::ShellFolder(bool isDesktop, std::string path, ShellEnvironment environment)
    : m_isDesktop(isDesktop), m_path(std::move(path)), m_environment(std::move(environment)) {}

void ShellFolder::AddRef() {
  m_references.fetch_add(1);
}

void ShellFolder::Release() {
  if (m_references.fetch_sub(1) == 1) delete this;
}

bool ShellFolder::PathOf(const ITEMIDLIST *pidl, std::string &path) const {
  if (pidl == nullptr || ItemCount(pidl) == 0) return false;
  path = m_path;
  bool first = true;
  for (const ITEMIDLIST *item = pidl; ItemCount(item) != 0; item = NextItem(item)) {
    const auto fields = ReadItem(item);
    if (!fields) return false;
    if (first && m_isDesktop) {
      if (fields->kind == ItemKind::kHome && !m_environment.home.empty()) {
        path = m_environment.home;
      } else if (fields->kind == ItemKind::kFileSystem) {
        path.assign(1, '/');  // not = "/": GCC 12 wrongly warns about that at -O3
      } else if (fields->kind == ItemKind::kMedium &&
                 std::find(m_environment.removableMedia.begin(), m_environment.removableMedia.end(),
                           fields->name) != m_environment.removableMedia.end()) {
        path = std::string(fields->name);
      } else {
        return false;
      }
    } else if (fields->kind == ItemKind::kEntry && IsEntryName(fields->name)) {
      path = Join(path, fields->name);
    } else {
      return false;
    }
    first = false;
  }
  return true;
}

bool ShellFolder::EnumObjects(std::vector<ItemIdPtr> &items) const {
  items.clear();
  if (m_isDesktop) {
    if (!m_environment.home.empty())
      items.push_back(MakeItem(ItemKind::kHome, kItemIsFolder, kHomeName));
    items.push_back(MakeItem(ItemKind::kFileSystem, kItemIsFolder, kFileSystemName));
    for (const std::string &medium : m_environment.removableMedia)
      items.push_back(MakeItem(ItemKind::kMedium, kItemIsFolder, medium));
  } else {
    DIR *dir = opendir(m_path.c_str());
    if (dir == nullptr) return false;
    while (const dirent *entry = readdir(dir)) {
      if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
      const auto flags = EntryFlags(Join(m_path, entry->d_name), entry->d_type);
      if (flags) items.push_back(MakeItem(ItemKind::kEntry, *flags, entry->d_name));
    }
    closedir(dir);
  }
  std::erase(items, nullptr);  // names no item can hold
  std::sort(items.begin(), items.end(), [this](const ItemIdPtr &a, const ItemIdPtr &b) {
    return CompareIDs(a.get(), b.get()) < 0;
  });
  return true;
}

ShellFolder *ShellFolder::BindToObject(const ITEMIDLIST *pidl) const {
  std::string path;
  if (!PathOf(pidl, path)) return nullptr;
  const auto flags = EntryFlags(path);
  if (!flags || !(*flags & kItemIsFolder) || !CanOpenFolder(path)) return nullptr;
  return new ShellFolder(false, path, {});
}

unsigned long ShellFolder::GetAttributesOf(const ITEMIDLIST *pidl, unsigned long mask) const {
  if (m_isDesktop && (pidl == nullptr || ItemCount(pidl) == 0))
    return (SFGAO_FOLDER | SFGAO_HASSUBFOLDER) & mask;
  std::string path = m_path;
  bool removable = false;
  if (pidl != nullptr && ItemCount(pidl) != 0) {
    if (!PathOf(pidl, path)) return 0;
    // Only a desktop child can be a medium, and then it is the whole list.
    const auto fields = ReadItem(pidl);
    removable = m_isDesktop && fields->kind == ItemKind::kMedium && ItemCount(NextItem(pidl)) == 0;
  }
  const auto flags = EntryFlags(path);
  if (!flags) return 0;
  unsigned long attributes = SFGAO_FILESYSTEM;
  if (*flags & kItemIsLink) attributes |= SFGAO_LINK;
  if (removable) attributes |= SFGAO_REMOVABLE;
  if (*flags & kItemIsFolder) {
    attributes |= SFGAO_FOLDER;
    if ((mask & SFGAO_HASSUBFOLDER) && (removable || HasSubfolder(path)))
      attributes |= SFGAO_HASSUBFOLDER;
  }
  return attributes & mask;
}

int ShellFolder::CompareIDs(const ITEMIDLIST *a, const ITEMIDLIST *b) const {
  const auto first = ReadItem(a), second = ReadItem(b);
  if (!first || !second) return 0;
  if (m_isDesktop && first->kind != second->kind)
    return static_cast<int>(first->kind) < static_cast<int>(second->kind) ? -1 : 1;
  const bool firstIsFolder = first->flags & kItemIsFolder;
  if (firstIsFolder != static_cast<bool>(second->flags & kItemIsFolder))
    return firstIsFolder ? -1 : 1;
  const int order = CompareNames(DisplayNameOf(*first), DisplayNameOf(*second));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool ShellFolder::GetDisplayNameOf(const ITEMIDLIST *pidl, unsigned flags, ShellName &name) const {
  const bool parsing = (flags & SHGDN_FORPARSING) != 0;
  name = ShellName{};
  if (pidl == nullptr || ItemCount(pidl) == 0) {
    if (m_isDesktop)
      name.text = parsing ? "" : kDesktopName;
    else
      name.text = parsing || m_path == "/" ? m_path : std::string(LastComponent(m_path));
    return true;
  }
  std::string path;
  if (!PathOf(pidl, path)) return false;
  if (parsing) {
    name.text = std::move(path);
    return true;
  }
  // The shown name lies in the last item.
  const ITEMIDLIST *last = pidl;
  for (const ITEMIDLIST *next = pidl; ItemCount(next) != 0; next = NextItem(next)) {
    last = next;
  }
  const auto fields = ReadItem(last);
  const std::string_view shown = DisplayNameOf(*fields);
  name.kind = ShellName::kInList;
  name.offset = static_cast<std::size_t>(reinterpret_cast<const char *>(shown.data()) -
                                         reinterpret_cast<const char *>(ItemBytes(pidl)));
  return true;
}

ItemIdPtr ShellFolder::ParseDisplayName(const std::string &path) const {
  if (!m_isDesktop || path.empty() || path[0] != '/') return nullptr;
  std::string normal = std::filesystem::path(path).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();

  // The desktop child whose folder holds the path most closely.
  auto holds = [&normal](const std::string &folder) {
    if (folder == "/") return true;
    return normal.compare(0, folder.size(), folder) == 0 &&
           (normal.size() == folder.size() || normal[folder.size()] == '/');
  };
  ItemIdPtr root = MakeItem(ItemKind::kFileSystem, kItemIsFolder, kFileSystemName);
  std::string rootPath = "/";
  std::vector<std::pair<ItemKind, std::string>> candidates;
  if (!m_environment.home.empty()) candidates.emplace_back(ItemKind::kHome, m_environment.home);
  for (const std::string &medium : m_environment.removableMedia)
    candidates.emplace_back(ItemKind::kMedium, medium);
  for (const auto &[kind, folder] : candidates) {
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    if (holds(trimmed) && trimmed.size() > rootPath.size()) {
      root = MakeItem(kind, kItemIsFolder, kind == ItemKind::kHome ? kHomeName : folder);
      rootPath = trimmed;
    }
  }
  if (root == nullptr) return nullptr;

  std::string bytes;
  AppendItem(bytes, root.get());
  std::string walked = rootPath;
  std::istringstream rest(normal.substr(std::min(rootPath.size(), normal.size())));
  for (std::string component; std::getline(rest, component, '/');) {
    if (component.empty()) continue;
    walked = Join(walked, component);
    const auto flags = EntryFlags(walked);
    ItemIdPtr item = flags ? MakeItem(ItemKind::kEntry, *flags, component) : nullptr;
    if (item == nullptr) return nullptr;
    AppendItem(bytes, item.get());
  }
  return ListFromBytes(bytes);
}

}  // namespace platform
