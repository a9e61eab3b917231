// File services: existence, deletion, renaming, size and last-write time of directory entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace platform {

// Calendar fields of a moment in local time (month 1 to 12, day 1 to 31).
struct LocalDateTime {
  int year;
  int month;
  int day;
  int hour;
  int minute;
  int second;
};

// One state of a directory entry: whether it exists and, when it does, which file it is, its size
// and its last modification and status change. Stamps of one path taken before and after an
// operation are equal when the operation neither created, replaced, truncated nor wrote it.
struct FileStamp {
  bool exists = false;
  uint64_t device = 0, inode = 0, size = 0;
  int64_t modified = 0, changed = 0;  // nanoseconds since the epoch
  bool operator==(const FileStamp &) const = default;
};

// The stamp of `path` now (links are not followed).
FileStamp StampOf(const std::string &path);

// True when `path` names an existing directory entry (file, folder or anything else).
bool PathExists(const std::string &path);

// True when `path` names an existing folder (or a link to one).
bool IsFolder(const std::string &path);

// True when `path` names an existing entry that is not a folder, links followed: a link that
// leads nowhere names none, nor does a path that cannot be looked up.
bool IsFile(const std::string &path);

// Deletes the file `path`; false when it could not be deleted (folders are not deleted).
bool DeleteFile(const std::string &path);

// Renames `from` to `to`. An existing `to` is never replaced: that is a failure, like any
// other, reported by the returned error (empty on success).
std::error_code RenameFile(const std::string &from, const std::string &to);

// The size in bytes of the file `path`, or none when it is not a readable file.
std::optional<uint64_t> FileSize(const std::string &path);

// The last-write time of `path` in local time, or none when it cannot be read.
std::optional<LocalDateTime> LastWriteTime(const std::string &path);

}  // namespace platform
