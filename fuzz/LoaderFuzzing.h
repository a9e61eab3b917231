// The shared body of the loader fuzz targets. A loader takes a path, so each input is written
// to one file of the process and loaded from there, with and without pixels. The file lives in
// memory: on a disk, rewriting it for every input waits for the disk whenever the machine is busy
// and cuts the inputs tried a second by ten.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugins/PluginInterface.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define FUZZ_ASAN 1
#endif
#endif

// The loader of the plug-in whose objects the fuzz target links.
extern "C" tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result);

namespace fuzzing {

class InputFile {
 public:
  InputFile() {
    m_fd = memfd_create("quenda-fuzz-input", 0);
    if (m_fd < 0) std::abort();
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
  }
  ~InputFile() { close(m_fd); }

  // Makes the file `size` zero bytes long (without writing them: the file is sparse).
  void Resize(size_t size) {
    if (ftruncate(m_fd, 0) != 0 || ftruncate(m_fd, static_cast<off_t>(size)) != 0) std::abort();
  }
  // Writes `size` bytes of `data` at `offset`.
  void WriteAt(size_t offset, const uint8_t *data, size_t size) {
    size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(m_fd, data + done, size - done, static_cast<off_t>(offset + done));
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
  }
  // Replaces the file's content with `size` bytes of `data`.
  void Write(const uint8_t *data, size_t size) {
    Resize(size);
    WriteAt(0, data, size);
  }
  const char *Path() const { return m_path.c_str(); }

 private:
  std::string m_path;
  int m_fd = -1;
};

// Loads the file and checks what the host relies on: the path is kept, the pixel buffer holds
// width x height x 3 bytes (the whole region must be one live allocation), and the record is
// freed the way the host frees it.
inline void LoadAndCheck(const char *path, int isRGBReadIn) {
  int code = -1;
  tagFileInfo *record = LoadRgb(path, isRGBReadIn, &code);
  if (record == nullptr) return;
  const tagRGBInfo &info = record->rgbInfo;
  if (code == 0 && std::strcmp(record->filename, path) != 0) std::abort();
  if (info.ptBits != nullptr) {
    if (isRGBReadIn == 0) std::abort();
    const size_t bytes = size_t{info.width} * info.height * 3;
#ifdef FUZZ_ASAN
    if (bytes > 0 && __asan_region_is_poisoned(info.ptBits, bytes) != nullptr) std::abort();
#else
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += info.ptBits[i];
    volatile unsigned sink = sum;
    (void)sink;
#endif
  }
  PluginFreeFileInfo(record);
}

// The file of the process that inputs are written to.
inline InputFile &TheInputFile() {
  static InputFile file;
  return file;
}

inline int FuzzLoader(const uint8_t *data, size_t size) {
  InputFile &file = TheInputFile();
  file.Write(data, size);
  LoadAndCheck(file.Path(), 1);
  LoadAndCheck(file.Path(), 0);
  return 0;
}

}  // namespace fuzzing
