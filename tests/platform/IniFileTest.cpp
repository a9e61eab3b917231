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
}

TEST_F(IniFileTest, ReplaceCreatesFileAndKeepsOtherSections) {
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "Quenda", {"SourceKey="}));
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{"SourceKey="});

  Write("[Before]\nA=1\n[Quenda]\nSourceKey=old\nHand=made\n[After]\nB=2\n");
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "QUENDA", {"SourceKey=Home/new/"}));
  EXPECT_EQ(Content(), "[Before]\nA=1\n[QUENDA]\nSourceKey=Home/new/\n[After]\nB=2\n");
}

TEST_F(IniFileTest, ReplaceInMissingFolderFailsAndCreatesNothing) {
  EXPECT_FALSE(platform::ReplaceIniSection(dir_.File("missing/Quenda.ini"), "Quenda", {"A="}));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("missing")));
}

}  // namespace
