#include "tests/support/SyncLog.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <string_view>

namespace {

struct Watch {
  std::string folder;
  std::function<int()> mark;
  std::string failing;
  std::string failingClose;
  int linkError = 0;
  bool allCalls = false;
  std::string stopEvent;
  int stopOccurrence = 0;
  std::string failingRename;
  std::vector<std::string> events;
};

std::mutex g_mutex;
Watch *g_watch = nullptr;

template <class Function>
Function Real(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::string PathOf(int fd) {
  char link[PATH_MAX];
  const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link);
  return n > 0 ? std::string(link, static_cast<size_t>(n)) : std::string();
}

// The name below the watched folder that `path` is logged by, or none outside it.
std::optional<std::string> NameOf(const std::string &path) {
  const std::string &folder = g_watch->folder;
  if (path == folder) return ".";
  if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
      path[folder.size()] == '/') {
    std::string name = path.substr(folder.size() + 1);
    const size_t slash = name.rfind('/');
    if (name[slash == std::string::npos ? 0 : slash + 1] == '.') name = "tmp";
    return name;
  }
  return std::nullopt;
}

// The path `to` names, with its folder as the descriptors' paths give it.
std::string FolderResolved(const char *to) {
  char resolved[PATH_MAX];
  const std::string path(to);
  const std::string slash = path.substr(0, path.rfind('/'));
  const std::string folder = realpath(slash.c_str(), resolved) != nullptr ? resolved : slash;
  return folder + path.substr(slash.size());
}

// Logs the call; true when it is to fail.
bool Log(const char *what, const std::string &path) {
  std::unique_lock<std::mutex> lock(g_mutex);
  if (g_watch == nullptr) return false;
  const std::optional<std::string> name = NameOf(path);
  if (!name) return false;
  const std::string_view kind(what);
  const std::string event = std::string(what) + " " + *name;
  const bool waits = kind == "sync" || kind == "start" || kind == "rename";
  if (waits || g_watch->allCalls) {
    const int mark = g_watch->mark ? g_watch->mark() : 0;
    g_watch->events.push_back(event + " " + std::to_string(mark));
  }
  if (event == g_watch->stopEvent && --g_watch->stopOccurrence == 0) {
    lock.unlock();
    raise(SIGSTOP);
    lock.lock();
  }
  if (kind == "rename") {
    if (*name != g_watch->failingRename) return false;
    g_watch->failingRename.clear();
    return true;
  }
  return (kind == "sync" && *name == g_watch->failing) ||
         (kind == "close" && *name == g_watch->failingClose) || kind == "link";
}

// A wait for the disk through real, logged, failed where the test asks it to fail.
int SyncLogged(int (*real)(int), int fd) {
  if (Log("sync", PathOf(fd))) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}

}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = Real<int (*)(int)>("fsync");
  return SyncLogged(real, fd);
}

extern "C" int fdatasync(int fd) {
  static const auto real = Real<int (*)(int)>("fdatasync");
  return SyncLogged(real, fd);
}

extern "C" int sync_file_range(int fd, off64_t offset, off64_t bytes, unsigned int flags) {
  Log("start", PathOf(fd));
  static const auto real = Real<int (*)(int, off64_t, off64_t, unsigned int)>("sync_file_range");
  return real(fd, offset, bytes, flags);
}

extern "C" int rename(const char *from, const char *to) noexcept {
  if (to != nullptr && Log("rename", FolderResolved(to))) {
    errno = EIO;
    return -1;
  }
  static const auto real = Real<int (*)(const char *, const char *)>("rename");
  return real(from, to);
}

extern "C" int link(const char *from, const char *to) noexcept {
  if (Log("link", FolderResolved(to))) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_watch != nullptr && g_watch->linkError != 0) {
      errno = g_watch->linkError;
      return -1;
    }
  }
  static const auto real = Real<int (*)(const char *, const char *)>("link");
  return real(from, to);
}

extern "C" int unlink(const char *path) noexcept {
  Log("unlink", FolderResolved(path));
  static const auto real = Real<int (*)(const char *)>("unlink");
  return real(path);
}

extern "C" ssize_t write(int fd, const void *bytes, size_t count) {
  // The program's own output is no file of the folder: only files are looked up.
  if (fd > STDERR_FILENO) Log("write", PathOf(fd));
  static const auto real = Real<ssize_t (*)(int, const void *, size_t)>("write");
  return real(fd, bytes, count);
}

extern "C" int fclose(FILE *stream) {
  const bool fails = stream != nullptr && Log("close", PathOf(fileno(stream)));
  static const auto real = Real<int (*)(FILE *)>("fclose");
  const int closed = real(stream);
  if (!fails) return closed;
  errno = EIO;
  return EOF;
}

namespace test_support {

SyncLog::SyncLog(std::string folder, std::function<int()> mark) {
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved) != nullptr) folder = resolved;
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch = new Watch;
  g_watch->folder = std::move(folder);
  g_watch->mark = std::move(mark);
}

SyncLog::~SyncLog() {
  std::lock_guard<std::mutex> lock(g_mutex);
  delete g_watch;
  g_watch = nullptr;
}

void SyncLog::FailSyncOf(std::string name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->failing = std::move(name);
}

void SyncLog::FailCloseOf(std::string name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->failingClose = std::move(name);
}

void SyncLog::LogAllCalls() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->allCalls = true;
}

void SyncLog::FailLinks(int error) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->linkError = error;
}

void SyncLog::StopBefore(std::string event, int occurrence) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->stopEvent = std::move(event);
  g_watch->stopOccurrence = occurrence;
}

void SyncLog::FailNextRenameTo(std::string name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->failingRename = std::move(name);
}

std::vector<std::string> SyncLog::Events() const {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_watch->events;
}

void SyncLog::Clear() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch->events.clear();
}

}  // namespace test_support
