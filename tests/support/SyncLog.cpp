#include "tests/support/SyncLog.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace {

struct Watch {
  std::string folder;
  std::function<int()> mark;
  std::string failing;
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

// Logs the call; true when it is to fail.
bool Log(const char *what, const std::string &path) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_watch == nullptr) return false;
  const std::string &folder = g_watch->folder;
  std::string name;
  if (path == folder) {
    name = ".";
  } else if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
             path[folder.size()] == '/') {
    name = path.substr(folder.size() + 1);
    const size_t slash = name.rfind('/');
    if (name[slash == std::string::npos ? 0 : slash + 1] == '.') name = "tmp";
  } else {
    return false;
  }
  const int mark = g_watch->mark ? g_watch->mark() : 0;
  g_watch->events.push_back(std::string(what) + " " + name + " " + std::to_string(mark));
  if (std::string(what) == "rename") {
    if (name != g_watch->failingRename) return false;
    g_watch->failingRename.clear();
    return true;
  }
  return std::string(what) == "sync" && name == g_watch->failing;
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
  if (to != nullptr) {
    char resolved[PATH_MAX];
    // The folder's own path, as the descriptors' paths give it.
    const std::string slash = std::string(to).substr(0, std::string(to).rfind('/'));
    const std::string folder = realpath(slash.c_str(), resolved) != nullptr ? resolved : slash;
    if (Log("rename", folder + std::string(to).substr(slash.size()))) {
      errno = EIO;
      return -1;
    }
  }
  static const auto real = Real<int (*)(const char *, const char *)>("rename");
  return real(from, to);
}

namespace test_support {

SyncLog::SyncLog(std::string folder, std::function<int()> mark) {
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved) != nullptr) folder = resolved;
  std::lock_guard<std::mutex> lock(g_mutex);
  g_watch = new Watch{std::move(folder), std::move(mark), {}, {}, {}};
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
