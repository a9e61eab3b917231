// The shell namespace that the folder tree and the file list browse. Its root is the desktop, a
// virtual folder with no file-system path, whose children are, in this order, "Home" (the
// user's home folder), "File System" (the root folder "/") and each removable medium mounted
// for the user. Below those, items are the regular files and folders of the file system; names
// starting with a dot are hidden, and anything else (a FIFO, a socket, a device) is never an
// item, so browsing never opens one.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ItemIdList.h"

namespace platform {

// Attributes of an item.
constexpr unsigned long SFGAO_LINK = 0x00010000;          // a symbolic link
constexpr unsigned long SFGAO_REMOVABLE = 0x02000000;     // a removable medium
constexpr unsigned long SFGAO_FOLDER = 0x20000000;        // a folder, or a link to one
constexpr unsigned long SFGAO_FILESYSTEM = 0x40000000;    // has a file-system path
constexpr unsigned long SFGAO_HASSUBFOLDER = 0x80000000;  // holds at least one folder item

// Forms of an item's name.
constexpr unsigned SHGDN_NORMAL = 0;           // the name shown to the operator
constexpr unsigned SHGDN_FORPARSING = 0x8000;  // the full file-system path; "" for the desktop

// Where the desktop's children come from. Tests replace the source so that they do not depend
// on the machine's home folder and mounts.
struct ShellEnvironment {
  std::string home;                         // "" when unknown: then there is no "Home"
  std::vector<std::string> removableMedia;  // mount points, in the order they are shown
};

// The system's: the home folder from HOME (else the password database), the media from
// /proc/self/mounts under /media/<user>/ and /run/media/<user>/.
ShellEnvironment SystemShellEnvironment();

// Replaces the source the desktop reads each time it is obtained; an empty function restores
// the system's.
void SetShellEnvironmentSource(std::function<ShellEnvironment()> source);

// A name given by a folder: text of its own, or a place inside the list the folder was asked
// about, where the name lies ended by a zero byte or by the end of its item.
struct ShellName {
  enum Kind { kText, kInList } kind = kText;
  std::size_t offset = 0;  // kInList: bytes from the start of the list
  std::string text;        // kText
};

// A folder of the namespace, counted: each holder of a pointer owns one reference, taken with
// AddRef and given back with Release; the folder is deleted with its last reference. A folder
// stands for the desktop or for one file-system folder; relative lists given to it name items
// below it (one item per level).
class ShellFolder {
 public:
  void AddRef();
  void Release();

  bool IsDesktop() const { return m_isDesktop; }

  // The folder's items (folders and files alike), in the namespace's order (see CompareIDs),
  // each as a relative list owned by the caller. False when the folder cannot be read.
  bool EnumObjects(std::vector<ItemIdPtr> &items) const;

  // The folder named by the non-empty relative list `pidl`, with one reference for the caller;
  // null unless it names a folder that can really be opened for reading now.
  ShellFolder *BindToObject(const ITEMIDLIST *pidl) const;

  // Those of the attributes in `mask` that the item holds; 0 when the item does not exist (any
  // more) or is not an item of the namespace. The empty list asks about this folder's own
  // attributes on the desktop. Has-subfolder reads the folder only when asked for, until the
  // first folder item (a folder of files only is read to its end); a removable medium answers
  // yes without being read.
  unsigned long GetAttributesOf(const ITEMIDLIST *pidl, unsigned long mask) const;

  // Order of two items of this folder: negative when `a` comes first, positive when `b` does, 0
  // when equal or when either is not an item. On the desktop the fixed order of its children;
  // elsewhere folders first, then names without regard to letter case, then with.
  int CompareIDs(const ITEMIDLIST *a, const ITEMIDLIST *b) const;

  // The name of the item `pidl` (null or empty: the folder itself) in the form `flags`
  // (SHGDN_NORMAL or SHGDN_FORPARSING). False when the list names nothing of the namespace.
  bool GetDisplayNameOf(const ITEMIDLIST *pidl, unsigned flags, ShellName &name) const;

  // On the desktop: the absolute list of the existing file or folder `path` (an absolute path),
  // below the desktop child whose folder holds it most closely. Null elsewhere or on failure.
  ItemIdPtr ParseDisplayName(const std::string &path) const;

 private:
  friend ShellFolder *DesktopFolder();
  ShellFolder(bool isDesktop, std::string path, ShellEnvironment environment);
  ~ShellFolder() = default;

  // The file-system path of the item `pidl` names below this folder, or none.
  bool PathOf(const ITEMIDLIST *pidl, std::string &path) const;

  std::atomic<int> m_references{1};
  bool m_isDesktop;
  std::string m_path;              // "" for the desktop
  ShellEnvironment m_environment;  // the desktop's children; empty elsewhere
};

// The desktop folder, with one reference for the caller; its children are read from the
// environment source now.
ShellFolder *DesktopFolder();

// Holds one reference to a folder and gives it back when it goes, as ItemIdPtr frees a list.
struct ShellFolderReleaser {
  void operator()(ShellFolder *folder) const { folder->Release(); }
};
using ShellFolderPtr = std::unique_ptr<ShellFolder, ShellFolderReleaser>;

}  // namespace platform
