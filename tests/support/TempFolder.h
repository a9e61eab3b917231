// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends, or when the program dies of a signal; and whole-file reads and writes
// for the tests' own files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ExitCleanup.h"

namespace test_support {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenda-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "mkdtemp failed";
      return;
    }
    m_path = pattern;
    RemoveOnAbnormalEnd(m_path);
  }
  ~TempFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
    ForgetFolder(m_path);
  }
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  // The folder, without a trailing separator.
  const std::string &Path() const { return m_path; }
  // The folder with a trailing separator, as target folders are given to the tasks.
  std::string Folder() const { return m_path + "/"; }
  // A path inside the folder.
  std::string File(const std::string &name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

inline std::vector<unsigned char> ReadWholeFile(const std::string &path) {
  std::vector<unsigned char> bytes;
  if (FILE *fp = std::fopen(path.c_str(), "rb")) {
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, fp)) > 0)
      bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(fp);
  }
  return bytes;
}

inline void WriteWholeFile(const std::string &path, const std::vector<unsigned char> &bytes) {
  FILE *fp = std::fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr) << path;
  if (!bytes.empty()) {
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), fp), bytes.size());
  }
  EXPECT_EQ(std::fclose(fp), 0);
}

}  // namespace test_support
