// File services that the tasks and the file pane rely on to undo, rename and describe files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"

namespace fs = std::filesystem;

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "quenda-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    dir_ = base + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string &name, const std::string &content) {
    std::ofstream(dir_ + name, std::ios::binary) << content;
  }
  std::string dir_;
};

TEST_F(FileSystemTest, ExistsAndDelete) {
  Write("a.KDT", "x");
  fs::create_directory(dir_ + "sub");
  EXPECT_TRUE(platform::PathExists(dir_ + "a.KDT"));
  EXPECT_TRUE(platform::PathExists(dir_ + "sub"));
  EXPECT_TRUE(platform::IsFolder(dir_ + "sub"));
  EXPECT_FALSE(platform::IsFolder(dir_ + "a.KDT"));
  EXPECT_FALSE(platform::PathExists(dir_ + "none"));

  EXPECT_TRUE(platform::DeleteFile(dir_ + "a.KDT"));
  EXPECT_FALSE(platform::PathExists(dir_ + "a.KDT"));
  EXPECT_FALSE(platform::DeleteFile(dir_ + "a.KDT"));
  EXPECT_FALSE(platform::DeleteFile(dir_ + "sub"));
  EXPECT_TRUE(platform::IsFolder(dir_ + "sub"));
}

TEST_F(FileSystemTest, RenameNeverReplacesAndReportsFailure) {
  Write("a", "first");
  Write("b", "second");
  EXPECT_TRUE(platform::RenameFile(dir_ + "a", dir_ + "b"));  // an error: b exists
  std::ifstream kept(dir_ + "b");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "second");
  EXPECT_TRUE(platform::PathExists(dir_ + "a"));

  EXPECT_FALSE(platform::RenameFile(dir_ + "a", dir_ + "c"));
  EXPECT_FALSE(platform::PathExists(dir_ + "a"));
  EXPECT_TRUE(platform::PathExists(dir_ + "c"));
  EXPECT_TRUE(platform::RenameFile(dir_ + "missing", dir_ + "d"));
}

TEST_F(FileSystemTest, SizeAndLastWriteTimeInLocalTime) {
  Write("a", std::string(1023, 'x'));
  EXPECT_EQ(platform::FileSize(dir_ + "a"), 1023u);
  EXPECT_EQ(platform::FileSize(dir_ + "missing"), std::nullopt);
  fs::create_directory(dir_ + "sub");
  EXPECT_EQ(platform::FileSize(dir_ + "sub"), std::nullopt);

  // 5 March 2004, 09:07:03 local time.
  std::tm local{};
  local.tm_year = 104;
  local.tm_mon = 2;
  local.tm_mday = 5;
  local.tm_hour = 9;
  local.tm_min = 7;
  local.tm_sec = 3;
  local.tm_isdst = -1;
  const timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir_ + "a").c_str(), times, 0), 0);
  const auto when = platform::LastWriteTime(dir_ + "a");
  ASSERT_TRUE(when.has_value());
  EXPECT_EQ(when->year, 2004);
  EXPECT_EQ(when->month, 3);
  EXPECT_EQ(when->day, 5);
  EXPECT_EQ(when->hour, 9);
  EXPECT_EQ(when->minute, 7);
  EXPECT_EQ(when->second, 3);
  EXPECT_EQ(platform::LastWriteTime(dir_ + "missing"), std::nullopt);
}

}  // namespace
