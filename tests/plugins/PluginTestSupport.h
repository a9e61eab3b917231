// What the plug-in tests share: a plug-in library loaded from the build's dll/ folder the way
// the program loads it, pictures and records.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "plugins/PluginInterface.h"
#include "tests/support/TempFolder.h"

namespace plugintest {

using Bytes = std::vector<uint8_t>;
using test_support::ReadWholeFile;
using test_support::TempFolder;
using test_support::WriteWholeFile;

// One plug-in library of the build, loaded with its three entry points bound.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string &fileName)
      : m_path(std::string(QUENDA_PLUGIN_DIR) + fileName),
        m_handle(dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (m_handle == nullptr) {
      ADD_FAILURE() << "cannot load " << m_path << ": " << dlerror();
      return;
    }
    queryInfo = reinterpret_cast<QUERYINFO>(dlsym(m_handle, "QueryInfo"));
    loadRgb = reinterpret_cast<FRGBLOAD>(dlsym(m_handle, "LoadRgb"));
    saveRgb = reinterpret_cast<FRGBSAVE>(dlsym(m_handle, "SaveRgb"));
    EXPECT_TRUE(queryInfo && loadRgb && saveRgb) << m_path;
  }
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary &) = delete;
  PluginLibrary &operator=(const PluginLibrary &) = delete;

  const std::string &Path() const { return m_path; }
  void Unload() {
    if (m_handle != nullptr) dlclose(m_handle);
    m_handle = nullptr;
  }

  QUERYINFO queryInfo = nullptr;
  FRGBLOAD loadRgb = nullptr;
  FRGBSAVE saveRgb = nullptr;

 private:
  std::string m_path;
  void *m_handle;
};

// A picture of `width` x `height` pixels held in `pixels`, without key plane.
inline tagRGBInfo Picture(uint32_t width, uint32_t height, unsigned char *pixels) {
  return tagRGBInfo{width, height, 24, pixels, nullptr};
}

// A record that a plug-in returned, freed the way the host frees it.
struct RecordFree {
  void operator()(tagFileInfo *info) const { PluginFreeFileInfo(info); }
};
using Record = std::unique_ptr<tagFileInfo, RecordFree>;

// The pixels of a loaded record.
inline Bytes Pixels(const Record &record) {
  const tagRGBInfo &info = record->rgbInfo;
  if (info.ptBits == nullptr) return {};
  return Bytes(info.ptBits, info.ptBits + size_t{info.width} * info.height * 3);
}

// A path of exactly `length` characters that ends in `/name`, inside `folder`; the folders it
// needs are created.
inline std::string PathOfLength(const TempFolder &folder, size_t length, const std::string &name) {
  std::string dir = folder.Path();
  while (length - dir.size() > name.size() + 102) {
    dir += '/';
    dir.append(99, 'd');
    std::filesystem::create_directory(dir);
  }
  dir += '/';
  dir.append(length - dir.size() - 1 - name.size(), 'f');
  std::filesystem::create_directory(dir);
  return dir + "/" + name;
}

}  // namespace plugintest
