// File services that the tasks and the file pane rely on to undo, rename and describe files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/KeptFile.h"
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

// The names in a folder, as a listing shows them.
std::vector<std::string> NamesIn(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// An operator's file replaced while its old content is kept for the end of a run: the kept copy
// and the new content stay hidden until the rename (a listing meanwhile shows no new name), the
// replaced file keeps the mode the umask would have cut, and the old content comes back. Names
// as long as the system allows work too: an export keeps the source's own name.
TEST_F(FileSystemTest, ReplacedFileHidesItsTemporariesKeepsItsModeAndComesBack) {
  const mode_t umaskBefore = umask(022);
  for (const std::string &name : {std::string("plain.KDT"), std::string(251, 'n') + ".bmp"}) {
    SCOPED_TRACE(name.size());
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directory(Path("out"));
    const std::string path = dir_.File("out/" + name);
    test_support::WriteWholeFile(path, {'o', 'l', 'd'});
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);

    const std::optional<platform::KeptFile> kept = platform::KeepFile(path);
    ASSERT_TRUE(kept.has_value());
    {
      platform::AtomicFile file(path);
      ASSERT_NE(file.Stream(), nullptr);
      ASSERT_EQ(std::fputs("new", file.Stream()), 1);
      const std::vector<std::string> listed = NamesIn(Path("out"));
      EXPECT_EQ(listed.size(), 3u);
      for (const std::string &listedName : listed) {
        EXPECT_TRUE(listedName == name || listedName.front() == '.') << listedName;
      }
      ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(test_support::ReadWholeFile(path), (std::vector<unsigned char>{'n', 'e', 'w'}));
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(NamesIn(Path("out")).size(), 2u);

    EXPECT_TRUE(platform::PutBack(*kept));
    EXPECT_EQ(test_support::ReadWholeFile(path), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(NamesIn(Path("out")), std::vector<std::string>{name});
  }
  umask(umaskBefore);
}

}  // namespace
