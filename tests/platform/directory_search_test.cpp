// Wildcard matching and folder search, which decide which plug-ins and files the program sees.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/DirectorySearch.h"
#include "platform/Path.h"

namespace fs = std::filesystem;

namespace {

TEST(WildcardMatch, MatchesWithoutRegardToCase) {
  EXPECT_TRUE(platform::WildcardMatch("*.dll", "kdtplug.dll"));
  EXPECT_TRUE(platform::WildcardMatch("*.dll", "X.DLL"));
  EXPECT_TRUE(platform::WildcardMatch("*.DLL", "x.Dll"));
  EXPECT_TRUE(platform::WildcardMatch("*.dll", ".dll"));  // "*" may stand for nothing
  EXPECT_TRUE(platform::WildcardMatch("*.dll", "a.b.dll"));
  EXPECT_TRUE(platform::WildcardMatch("*", ""));
  EXPECT_TRUE(platform::WildcardMatch("a?c*", "ABCdef"));
  EXPECT_TRUE(platform::WildcardMatch("*a*a*", "banana"));
  EXPECT_FALSE(platform::WildcardMatch("*.dll", "kdtplug.dll.bak"));
  EXPECT_FALSE(platform::WildcardMatch("*.dll", "dll"));
  EXPECT_FALSE(platform::WildcardMatch("a?c", "ac"));
  EXPECT_FALSE(platform::WildcardMatch("", "a"));
}

TEST(FindEntries, ListsMatchingEntriesInNameOrderAndMarksFolders) {
  std::string base = (fs::temp_directory_path() / "quenda-search-XXXXXX").string();
  ASSERT_NE(mkdtemp(base.data()), nullptr);
  for (const char *name : {"b.dll", "A.DLL", "c.txt", "C.dll"}) std::ofstream(base + "/" + name);
  fs::create_directory(base + "/x.dll");

  const auto entries = platform::FindEntries(base + "/", "*.dll");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "A.DLL");
  EXPECT_EQ(entries[1].name, "b.dll");
  EXPECT_EQ(entries[2].name, "C.dll");
  EXPECT_EQ(entries[3].name, "x.dll");
  EXPECT_FALSE(entries[0].isFolder);
  EXPECT_TRUE(entries[3].isFolder);

  EXPECT_TRUE(platform::FindEntries(base + "/missing/", "*").empty());
  fs::remove_all(base);
}

TEST(ExecutablePath, NamesThisProgramAndItsFolder) {
  const std::string path = platform::ExecutablePath();
  EXPECT_EQ(fs::path(path).filename(), "platform_services_test");
  EXPECT_EQ(platform::ExecutableFolder(), path.substr(0, path.size() - 22));
  EXPECT_EQ(platform::ExecutableFolder().back(), platform::kPathSeparator);
}

}  // namespace
