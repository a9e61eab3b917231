// The shared body of the loader fuzz targets. A loader takes a path, so each input is written
// to one temporary file of the process and loaded from there, with and without pixels.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugins/PluginInterface.h"

// The loader of the plug-in whose sources the fuzz target compiles in.
extern "C" tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result);

namespace fuzzing {

class InputFile {
 public:
  explicit InputFile(const char *suffix) {
    m_path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
             "/quenda-fuzz-XXXXXX" + suffix;
    m_fd = mkstemps(m_path.data(), static_cast<int>(std::strlen(suffix)));
    if (m_fd < 0) std::abort();
  }
  ~InputFile() {
    close(m_fd);
    unlink(m_path.c_str());
  }

  // Replaces the file's content with `size` bytes of `data`.
  void Write(const uint8_t *data, size_t size) {
    if (ftruncate(m_fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
  }
  const char *Path() const { return m_path.c_str(); }

 private:
  std::string m_path;
  int m_fd = -1;
};

// Loads the file and checks what the host relies on: the path is kept, the pixel buffer holds
// width x height x 3 bytes (every byte is read, so a short buffer is caught), and the record is
// freed the way the host frees it.
inline void LoadAndCheck(const char *path, int isRGBReadIn) {
  int code = -1;
  tagFileInfo *record = LoadRgb(path, isRGBReadIn, &code);
  if (record == nullptr) return;
  const tagRGBInfo &info = record->rgbInfo;
  if (code == 0 && std::strcmp(record->filename, path) != 0) std::abort();
  if (info.ptBits != nullptr) {
    if (isRGBReadIn == 0) std::abort();
    unsigned sum = 0;
    const size_t bytes = size_t{info.width} * info.height * 3;
    for (size_t i = 0; i < bytes; ++i) sum += info.ptBits[i];
    volatile unsigned sink = sum;
    (void)sink;
  }
  PluginFreeFileInfo(record);
}

inline int FuzzLoader(const uint8_t *data, size_t size, const char *suffix) {
  static InputFile file(suffix);
  file.Write(data, size);
  LoadAndCheck(file.Path(), 1);
  LoadAndCheck(file.Path(), 0);
  return 0;
}

}  // namespace fuzzing
