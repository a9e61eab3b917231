// Reading and replacing one section of a settings file without disturbing the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/IniFile.h"
#include "tests/support/TempFolder.h"

namespace {

using Entries = std::vector<std::string>;

class IniFileTest : public ::testing::Test {
 protected:
  void Write(const std::string &text) {
    test_support::WriteWholeFile(path_, {text.begin(), text.end()});
  }
  std::string Content() const {
    const auto bytes = test_support::ReadWholeFile(path_);
    return std::string(bytes.begin(), bytes.end());
  }
  test_support::TempFolder dir_;
  std::string path_ = dir_.File("Quenda.ini");
};

TEST_F(IniFileTest, ReadsEntriesOfOneSectionOnly) {
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{}) << "no file";
  Write(
      "[Other]\nA=1\r\n[quenda]\r\nSourceKey=Home/pics/\r\n; note\r\n\r\n"
      "Extra=two words\r\n[Last]\nB=2\n");
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"),
            (Entries{"SourceKey=Home/pics/", "Extra=two words"}));
  EXPECT_EQ(platform::ReadIniSection(path_, "Missing"), Entries{});
  // A 0 byte ends the entry it stands in; the next line is an entry of its own.
  Write(std::string("[Quenda]\nSourceKey=Home/a/\0hidden\nNext=1\n", 41));
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), (Entries{"SourceKey=Home/a/", "Next=1"}));
}

// A section read into a buffer of a given size, as the saved folder is: entries cut where the
// buffer ends, however long the line in the file.
TEST_F(IniFileTest, ReadStopsAtTheBufferSize) {
  const std::string folder(20 << 20, '/');
  Write("[Quenda]\r\nSourceKey=" + folder + "\r\nNext=1\r\n");
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda", 260),
            Entries{"SourceKey=" + folder.substr(0, 248)});
  Write("[Quenda]\nA=12345\nB=67890\nC=1\n");
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda", 12), (Entries{"A=12345", "B="}));
}

TEST_F(IniFileTest, ReplaceCreatesFileAndKeepsOtherLinesByteForByte) {
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "Quenda", {"SourceKey="}));
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{"SourceKey="});

  const struct {
    std::string before, after;
  } cases[] = {
      {"[Before]\nA=1\n[Quenda]\nSourceKey=old\nHand=made\n[After]\nB=2\n",
       "[Before]\nA=1\n[QUENDA]\nSourceKey=Home/new/\n[After]\nB=2\n"},
      {"[Before]\r\nA = 1 \r\n\r\n[Quenda]\r\nSourceKey=old\r\n[After]\nB=2",
       "[Before]\r\nA = 1 \r\n\r\n[QUENDA]\r\nSourceKey=Home/new/\r\n[After]\nB=2"},
      {"; only a note\r\n[Other]\r\nX=1",
       "; only a note\r\n[Other]\r\nX=1\r\n[QUENDA]\r\n"
       "SourceKey=Home/new/\r\n"},
  };
  for (const auto &c : cases) {
    Write(c.before);
    ASSERT_TRUE(platform::ReplaceIniSection(path_, "QUENDA", {"SourceKey=Home/new/"}));
    EXPECT_EQ(Content(), c.after);
  }
}

// A read-only settings file stays as it is, even for root; a link is written through to the
// file it names; the mode of a replaced file is kept; no temporary file is left anywhere.
TEST_F(IniFileTest, ReplaceHonoursReadOnlyFilesLinksAndModes) {
  namespace fs = std::filesystem;
  Write("[Quenda]\nSourceKey=old\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(platform::ReplaceIniSection(path_, "Quenda", {"SourceKey=new"}));
  EXPECT_EQ(Content(), "[Quenda]\nSourceKey=old\n");

  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_directory(dir_.File("real"));
  fs::rename(path_, dir_.File("real/settings.ini"));
  fs::create_symlink("real/settings.ini", path_);
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "Quenda", {"SourceKey=new"}));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(Content(), "[Quenda]\nSourceKey=new\n");
  EXPECT_EQ(fs::status(path_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto entries = std::distance(fs::recursive_directory_iterator(dir_.Path()), {});
  EXPECT_EQ(entries, 3) << "the link, the folder and the file the link names";
}

TEST_F(IniFileTest, ReplaceInMissingFolderFailsAndCreatesNothing) {
  EXPECT_FALSE(platform::ReplaceIniSection(dir_.File("missing/Quenda.ini"), "Quenda", {"A="}));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("missing")));
}

}  // namespace
