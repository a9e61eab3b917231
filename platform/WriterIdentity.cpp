#include "platform/WriterIdentity.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

// A short digest of a name: identities only need to differ where the names do.
uint32_t Digest(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

std::string FirstLineOf(const char *path) {
  std::ifstream stream(path);
  std::string line;
  std::getline(stream, line);
  return line;
}

std::string LinkText(const char *path) {
  char text[256];
  const ssize_t length = readlink(path, text, sizeof text);
  return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

struct ProcessStatus {
  char state = '?';
  uint64_t started = 0;
};

// A process's state letter and start time from its status line; none when it runs no more,
// Unknown (nullopt with errno other than ENOENT) when it cannot be read.
std::optional<ProcessStatus> StatusOf(uint64_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/stat";
  FILE *stream = std::fopen(path.c_str(), "re");
  if (stream == nullptr) return std::nullopt;
  char line[1024];
  const size_t got = std::fread(line, 1, sizeof line - 1, stream);
  std::fclose(stream);
  errno = EINVAL;
  // The command name in parentheses may hold anything: the fields follow its last ")".
  const std::string_view text(line, got);
  const size_t close = text.rfind(')');
  if (close == std::string_view::npos) return std::nullopt;
  std::istringstream fields(std::string(text.substr(close + 1)));
  ProcessStatus status;
  std::string skipped;
  fields >> status.state;
  // The start time is the 22nd field; the state is the 3rd.
  for (int field = 4; field < 22; ++field) fields >> skipped;
  if (!(fields >> status.started)) return std::nullopt;
  return status;
}

}  // namespace

WriterIdentity CurrentWriter() {
  static const uint32_t system = [] {
    std::string name = FirstLineOf("/etc/machine-id");
    if (name.empty()) {
      char host[256] = {};
      gethostname(host, sizeof host - 1);
      name = host;
    }
    return Digest(name + "/" + LinkText("/proc/self/ns/pid"));
  }();
  static const uint32_t boot = Digest(FirstLineOf("/proc/sys/kernel/random/boot_id"));
  // A forked child is a writer of its own: its start is looked up again. The start is stored
  // before the pid it belongs to, so a thread that sees the pid sees its start. No thread-local
  // storage: the plug-ins carry this code, and the leak checker's scan of a loaded library's
  // thread-local block can fault.
  static std::atomic<uint64_t> knownPid{0}, knownStart{0};
  const auto pid = static_cast<uint64_t>(getpid());
  if (knownPid.load() != pid) {
    const std::optional<ProcessStatus> status = StatusOf(pid);
    knownStart.store(status ? status->started : 0);
    knownPid.store(pid);
  }
  return {system, boot, pid, knownStart.load()};
}

std::string WriterText(const WriterIdentity &writer) {
  char text[64];
  std::snprintf(text, sizeof text, "%08x-%08x-%llu-%llu", writer.system, writer.boot,
                static_cast<unsigned long long>(writer.pid),
                static_cast<unsigned long long>(writer.started));
  return text;
}

std::optional<WriterIdentity> ParseWriterText(std::string_view text) {
  WriterIdentity writer;
  // Each field exactly as written: hexadecimal of 8 digits, decimal without a leading zero.
  auto field = [&text](auto &value, int base, size_t exactLength, bool last) {
    const size_t end = last ? text.size() : text.find('-');
    if (end == std::string_view::npos || end == 0) return false;
    const std::string_view digits = text.substr(0, end);
    if (exactLength != 0 ? digits.size() != exactLength : (digits.size() > 1 && digits[0] == '0'))
      return false;
    for (const char c : digits) {
      if (!(c >= '0' && c <= '9') && !(base == 16 && c >= 'a' && c <= 'f')) return false;
    }
    const auto [next, error] = std::from_chars(digits.data(), digits.data() + end, value, base);
    if (error != std::errc() || next != digits.data() + end) return false;
    text.remove_prefix(last ? end : end + 1);
    return true;
  };
  if (!field(writer.system, 16, 8, false) || !field(writer.boot, 16, 8, false) ||
      !field(writer.pid, 10, 0, false) || !field(writer.started, 10, 0, true) || writer.pid == 0)
    return std::nullopt;
  return writer;
}

WriterState StateOf(const WriterIdentity &writer) {
  const WriterIdentity self = CurrentWriter();
  if (writer.system != self.system) return WriterState::Unknown;
  if (writer.boot != self.boot) return WriterState::Gone;
  const std::optional<ProcessStatus> status = StatusOf(writer.pid);
  if (!status) return errno == ENOENT ? WriterState::Gone : WriterState::Unknown;
  if (status->state == 'Z' || status->state == 'X') return WriterState::Gone;
  if (writer.started == 0) return WriterState::Unknown;
  return status->started == writer.started ? WriterState::Running : WriterState::Gone;
}

}  // namespace platform
