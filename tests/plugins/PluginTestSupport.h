// What the plug-in tests share: a plug-in library loaded from the build's dll/ folder the way
// the program loads it, a temporary folder, and whole-file reads and writes.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "plugins/PluginInterface.h"

namespace plugintest {

using Bytes = std::vector<uint8_t>;

// One plug-in library of the build, loaded with its three entry points bound.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string &fileName)
      : m_path(std::string(QUENDA_PLUGIN_DIR) + fileName) {
    m_handle = dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
      ADD_FAILURE() << "cannot load " << m_path << ": " << dlerror();
      return;
    }
    queryInfo = reinterpret_cast<QUERYINFO>(dlsym(m_handle, "QueryInfo"));
    loadRgb = reinterpret_cast<FRGBLOAD>(dlsym(m_handle, "LoadRgb"));
    saveRgb = reinterpret_cast<FRGBSAVE>(dlsym(m_handle, "SaveRgb"));
    EXPECT_NE(queryInfo, nullptr);
    EXPECT_NE(loadRgb, nullptr);
    EXPECT_NE(saveRgb, nullptr);
  }
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary &) = delete;
  PluginLibrary &operator=(const PluginLibrary &) = delete;

  bool IsBound() const { return queryInfo && loadRgb && saveRgb; }
  const std::string &Path() const { return m_path; }

  void Unload() {
    if (m_handle != nullptr) dlclose(m_handle);
    m_handle = nullptr;
    queryInfo = nullptr;
    loadRgb = nullptr;
    saveRgb = nullptr;
  }

  QUERYINFO queryInfo = nullptr;
  FRGBLOAD loadRgb = nullptr;
  FRGBSAVE saveRgb = nullptr;

 private:
  std::string m_path;
  void *m_handle = nullptr;
};

// A picture of `width` x `height` pixels held in `pixels`, without key plane.
inline tagRGBInfo Picture(uint32_t width, uint32_t height, unsigned char *pixels) {
  tagRGBInfo picture{};
  picture.width = width;
  picture.height = height;
  picture.ptBits = pixels;
  return picture;
}

// A record that a plug-in returned, freed the way the host frees it.
struct RecordFree {
  void operator()(tagFileInfo *info) const { PluginFreeFileInfo(info); }
};
using Record = std::unique_ptr<tagFileInfo, RecordFree>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenda-plugins-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  std::string operator/(const std::string &name) const { return m_path + "/" + name; }
  const std::string &Path() const { return m_path; }

 private:
  std::string m_path;
};

inline void WriteFile(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string &path) {
  return std::filesystem::exists(path);
}

// A path of exactly `length` characters that ends in `/name`, inside `folder`; the folders it
// needs are created.
inline std::string PathOfLength(const TempFolder &folder, size_t length, const std::string &name) {
  std::string dir = folder.Path();
  size_t rest = length - dir.size() - 1 - name.size();  // characters the folders must add
  while (rest > 0) {
    size_t take = std::min<size_t>(rest, 200);
    if (rest - take == 1) take -= 1;  // leave room for a folder of at least one letter
    dir += "/" + std::string(take - 1, 'd');
    std::filesystem::create_directory(dir);
    rest -= take;
  }
  return dir + "/" + name;
}

}  // namespace plugintest
