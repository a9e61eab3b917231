// File services that the tasks and the file pane rely on to undo, rename and describe files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <tuple>

#include "platform/FileSystem.h"
#include "tests/support/TempFolder.h"

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void Write(const std::string &name, const std::string &content) {
    test_support::WriteWholeFile(dir_.File(name), {content.begin(), content.end()});
  }
  std::string Path(const char *name) const { return dir_.File(name); }
  test_support::TempFolder dir_;
};

TEST_F(FileSystemTest, ExistsAndDelete) {
  Write("a.KDT", "x");
  std::filesystem::create_directory(Path("sub"));
  EXPECT_TRUE(platform::PathExists(Path("sub")));
  EXPECT_TRUE(platform::IsFolder(Path("sub")));
  EXPECT_FALSE(platform::IsFolder(Path("a.KDT")));
  EXPECT_FALSE(platform::PathExists(Path("none")));

  EXPECT_TRUE(platform::DeleteFile(Path("a.KDT")));
  EXPECT_FALSE(platform::PathExists(Path("a.KDT")));
  EXPECT_FALSE(platform::DeleteFile(Path("a.KDT")));
  EXPECT_FALSE(platform::DeleteFile(Path("sub")));
  EXPECT_TRUE(platform::IsFolder(Path("sub")));
}

TEST_F(FileSystemTest, RenameNeverReplacesAndReportsFailure) {
  Write("a", "first");
  Write("b", "second");
  EXPECT_TRUE(platform::RenameFile(Path("a"), Path("b")));  // an error: b exists
  EXPECT_EQ(test_support::ReadWholeFile(Path("b")).size(), 6u);
  EXPECT_FALSE(platform::RenameFile(Path("a"), Path("c")));
  EXPECT_FALSE(platform::PathExists(Path("a")));
  EXPECT_TRUE(platform::PathExists(Path("c")));
  EXPECT_TRUE(platform::RenameFile(Path("missing"), Path("d")));
}

TEST_F(FileSystemTest, SizeAndLastWriteTimeInLocalTime) {
  Write("a", std::string(1023, 'x'));
  std::filesystem::create_directory(Path("sub"));
  EXPECT_EQ(platform::FileSize(Path("a")), 1023u);
  EXPECT_EQ(platform::FileSize(Path("missing")), std::nullopt);
  EXPECT_EQ(platform::FileSize(Path("sub")), std::nullopt);

  // 5 March 2004, 09:07:03 local time.
  std::tm local{};
  local.tm_year = 104, local.tm_mon = 2, local.tm_mday = 5, local.tm_isdst = -1;
  local.tm_hour = 9, local.tm_min = 7, local.tm_sec = 3;
  const timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, Path("a").c_str(), times, 0), 0);
  const auto when = platform::LastWriteTime(Path("a"));
  ASSERT_TRUE(when.has_value());
  EXPECT_EQ(std::tuple(when->year, when->month, when->day, when->hour, when->minute, when->second),
            std::tuple(2004, 3, 5, 9, 7, 3));
  EXPECT_EQ(platform::LastWriteTime(Path("missing")), std::nullopt);
}

}  // namespace
