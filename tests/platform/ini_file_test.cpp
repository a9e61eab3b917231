// Reading and replacing one section of a settings file without disturbing the rest.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/IniFile.h"

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string base = (fs::temp_directory_path() / "quenda-ini-XXXXXX").string();
    ASSERT_NE(mkdtemp(base.data()), nullptr);
    dir_ = base + "/";
    path_ = dir_ + "Quenda.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Content() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_, path_;
};

TEST_F(IniFileTest, MissingFileOrSectionReadsEmpty) {
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{});
  std::ofstream(path_) << "[Other]\nSourceKey=x\n";
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{});
}

TEST_F(IniFileTest, ReadsEntriesOfOneSectionOnly) {
  std::ofstream(path_) << "[Other]\nA=1\r\n[quenda]\r\nSourceKey=Home/pics/\r\n; note\r\n\r\n"
                          "Extra=two words\r\n[Last]\nB=2\n";
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"),
            (Entries{"SourceKey=Home/pics/", "Extra=two words"}));
}

TEST_F(IniFileTest, ReplaceCreatesFileAndKeepsOtherSections) {
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "Quenda", {"SourceKey="}));
  EXPECT_EQ(platform::ReadIniSection(path_, "Quenda"), Entries{"SourceKey="});

  std::ofstream(path_) << "[Before]\nA=1\n[Quenda]\nSourceKey=old\nHand=made\n[After]\nB=2\n";
  ASSERT_TRUE(platform::ReplaceIniSection(path_, "QUENDA", {"SourceKey=Home/new/"}));
  EXPECT_EQ(Content(), "[Before]\nA=1\n[QUENDA]\nSourceKey=Home/new/\n[After]\nB=2\n");
  EXPECT_EQ(platform::ReadIniSection(path_, "After"), Entries{"B=2"});
}

TEST_F(IniFileTest, ReplaceInMissingFolderFailsAndCreatesNothing) {
  const std::string path = dir_ + "missing/Quenda.ini";
  EXPECT_FALSE(platform::ReplaceIniSection(path, "Quenda", {"SourceKey="}));
  EXPECT_FALSE(fs::exists(dir_ + "missing"));
}

}  // namespace
