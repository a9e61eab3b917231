// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenda-codec-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    EXPECT_FALSE(path_.empty());
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  std::string File(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::vector<unsigned char> ReadWholeFile(const std::string &path) {
  std::vector<unsigned char> bytes;
  if (FILE *fp = std::fopen(path.c_str(), "rb")) {
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, fp)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(fp);
  }
  return bytes;
}

inline void WriteWholeFile(const std::string &path, const std::vector<unsigned char> &bytes) {
  FILE *fp = std::fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), fp), bytes.size());
  std::fclose(fp);
}
