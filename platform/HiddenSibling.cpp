#include "platform/HiddenSibling.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

namespace platform {

namespace {

// Links followed at most, as the system's own path lookup does.
constexpr int kMaxLinks = 40;

// A different number on each call, in every thread and process.
unsigned NextSerial() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<unsigned>(now) * 2654435761u + static_cast<unsigned>(getpid()) * 40503u +
         counter.fetch_add(1);
}

}  // namespace

std::string ResolveLinks(std::string path) {
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return {};
    target.resize(static_cast<size_t>(length));
    if (target.front() != '/') {
      const size_t slash = path.rfind('/');
      target = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
    }
    path = std::move(target);
  }
  return {};
}

std::string HiddenSiblingName(const std::string &path) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  unsigned serial = NextSerial();
  std::string suffix = ".";
  for (int i = 0; i < 6; ++i, serial /= 36) suffix += kDigits[serial % 36];
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t room = NAME_MAX - 1 - suffix.size();
  return path.substr(0, nameStart) + "." + path.substr(nameStart, room) + suffix;
}

}  // namespace platform
