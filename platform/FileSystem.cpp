#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace platform {

FileStamp StampOf(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return {};
  auto nanoseconds = [](const timespec &t) { return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; };
  return {true,
          static_cast<uint64_t>(info.st_dev),
          static_cast<uint64_t>(info.st_ino),
          static_cast<uint64_t>(info.st_size),
          nanoseconds(info.st_mtim),
          nanoseconds(info.st_ctim)};
}

bool PathExists(const std::string &path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string &path) {
  return !IsFolder(path) && unlink(path.c_str()) == 0;
}

std::error_code RenameFile(const std::string &from, const std::string &to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return {errno, std::generic_category()};
  // File systems without the no-replace rename: check first, then rename.
  if (PathExists(to)) return std::make_error_code(std::errc::file_exists);
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return {errno, std::generic_category()};
}

std::optional<uint64_t> FileSize(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || access(path.c_str(), R_OK) != 0)
    return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

std::optional<LocalDateTime> LastWriteTime(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  std::tm local{};
  if (localtime_r(&info.st_mtime, &local) == nullptr) return std::nullopt;
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace platform
