// Opening a picture file that a loader was handed. Every path comes from outside the plug-in:
// it must fit a record's file name field, and it must name a regular file (a folder that
// happens to carry a picture's name opens on this system but is no picture; a FIFO or a device
// would hold the open up for ever, so it is refused without waiting).
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "platform/RegularFileOpen.h"
#include "plugins/PluginInterface.h"

// True when `path` is given and a record's file name field holds it whole.
inline bool PathFitsRecord(const char *path) {
  return path != nullptr && PathFitsRecord(std::string_view(path));
}

// An open picture file and its length in bytes; closes the file when it goes away. The loaders
// read fields and single bytes from it, so its stream has a buffer of 64 KiB of its own, which
// turns them into few reads of the file.
class SourceFile {
 public:
  static constexpr size_t kBufferSize = 64 * 1024;

  // Opens `path` for binary reading; IsOpen() is false when it cannot be opened or is not a
  // regular file.
  explicit SourceFile(const char *path) {
    m_file = platform::OpenRegularFileStream(path);
    if (m_file == nullptr) return;
    // Before the first read, as the stream requires.
    std::setvbuf(m_file, m_buffer, _IOFBF, sizeof m_buffer);
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0) {
      Close();
      return;
    }
    m_length = static_cast<uint64_t>(info.st_size);
  }
  ~SourceFile() { Close(); }
  SourceFile(const SourceFile &) = delete;
  SourceFile &operator=(const SourceFile &) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  FILE *Stream() const { return m_file; }
  uint64_t Length() const { return m_length; }

  void Close() {
    if (m_file != nullptr) std::fclose(m_file);
    m_file = nullptr;
  }

 private:
  FILE *m_file = nullptr;
  uint64_t m_length = 0;
  char m_buffer[kBufferSize];  // outlives the stream: the destructor closes it first
};
