#include "platform/RegularFileOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int OpenRegularFile(const char *path) {
  if (path == nullptr) return -1;
  // Without O_NONBLOCK the open itself of a FIFO waits for a writer.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info;
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

FILE *OpenRegularFileStream(const char *path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  FILE *stream = fdopen(fd, "rb");
  if (stream == nullptr) close(fd);
  return stream;
}

bool ReadRegularFile(const char *path, std::string &content) {
  content.clear();
  FILE *stream = OpenRegularFileStream(path);
  if (stream == nullptr) return false;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) content.append(chunk, got);
  const bool whole = std::ferror(stream) == 0;
  std::fclose(stream);
  return whole;
}

}  // namespace platform
