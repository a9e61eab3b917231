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

constexpr std::string_view kMark = ".quenda-";
constexpr std::string_view kNewKind = "tmp-";
constexpr std::string_view kKeptKind = "old-";
constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr size_t kSerialLength = 6;

// A different number on each call, in every thread and process.
unsigned NextSerial() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<unsigned>(now) * 2654435761u + static_cast<unsigned>(getpid()) * 40503u +
         counter.fetch_add(1);
}

// The room for a file's own name beside a suffix of `suffixLength`, after the leading dot.
size_t NameRoom(size_t suffixLength) {
  return NAME_MAX - 1 - suffixLength;
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

std::string FolderOf(const std::string &file) {
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string HiddenSiblingName(const std::string &path, SiblingKind kind) {
  unsigned serial = NextSerial();
  std::string suffix(kMark);
  suffix += kind == SiblingKind::NewContent ? kNewKind : kKeptKind;
  suffix += WriterText(CurrentWriter()) + "-";
  for (size_t i = 0; i < kSerialLength; ++i, serial /= 36) suffix += kDigits[serial % 36];
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, nameStart) + "." + path.substr(nameStart, NameRoom(suffix.size())) + suffix;
}

std::optional<HiddenSibling> ParseHiddenSibling(std::string_view entryName) {
  if (entryName.size() < 2 || entryName.front() != '.') return std::nullopt;
  const size_t mark = entryName.rfind(kMark);
  if (mark == std::string_view::npos || mark < 2) return std::nullopt;
  HiddenSibling sibling;
  std::string_view rest = entryName.substr(mark + kMark.size());
  if (rest.substr(0, kNewKind.size()) == kNewKind) {
    sibling.kind = SiblingKind::NewContent;
  } else if (rest.substr(0, kKeptKind.size()) == kKeptKind) {
    sibling.kind = SiblingKind::KeptContent;
  } else {
    return std::nullopt;
  }
  rest.remove_prefix(kNewKind.size());
  // The serial: a separator and exactly six letters or digits at the end.
  if (rest.size() < kSerialLength + 1) return std::nullopt;
  const std::string_view serial = rest.substr(rest.size() - kSerialLength);
  if (rest[rest.size() - kSerialLength - 1] != '-' ||
      serial.find_first_not_of(std::string_view(kDigits)) != std::string_view::npos)
    return std::nullopt;
  const std::optional<WriterIdentity> writer =
      ParseWriterText(rest.substr(0, rest.size() - kSerialLength - 1));
  if (!writer) return std::nullopt;
  sibling.writer = *writer;
  sibling.name = std::string(entryName.substr(1, mark - 1));
  sibling.nameMayBeCut = sibling.name.size() >= NameRoom(entryName.size() - mark);
  return sibling;
}

}  // namespace platform
