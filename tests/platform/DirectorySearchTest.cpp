// Wildcard matching and folder search, which decide which plug-ins and files the program sees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/DirectorySearch.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(WildcardMatch, MatchesWithoutRegardToCase) {
  for (const auto &[pattern, name] : {std::pair{"*.dll", "X.DLL"},
                                      {"*.DLL", "x.Dll"},
                                      {"*.dll", ".dll"},
                                      {"*.dll", "a.b.dll"},
                                      {"*", ""},
                                      {"a?c*", "ABCdef"},
                                      {"*a*a*", "banana"}}) {
    EXPECT_TRUE(platform::WildcardMatch(pattern, name)) << pattern << " " << name;
  }
  for (const auto &[pattern, name] :
       {std::pair{"*.dll", "kdtplug.dll.bak"}, {"*.dll", "dll"}, {"a?c", "ac"}, {"", "a"}}) {
    EXPECT_FALSE(platform::WildcardMatch(pattern, name)) << pattern << " " << name;
  }
}

TEST(FindEntries, ListsMatchingEntriesInNameOrderAndMarksFolders) {
  test_support::TempFolder folder;
  for (const char *name : {"b.dll", "A.DLL", "c.txt", "C.dll"}) std::ofstream{folder.File(name)};
  std::filesystem::create_directory(folder.File("x.dll"));
  std::vector<std::pair<std::string, bool>> found;
  for (const auto &entry : platform::FindEntries(folder.Folder(), "*.dll"))
    found.emplace_back(entry.name, entry.isFolder);
  EXPECT_EQ(found, (std::vector<std::pair<std::string, bool>>{
                       {"A.DLL", false}, {"b.dll", false}, {"C.dll", false}, {"x.dll", true}}));
  EXPECT_TRUE(platform::FindEntries(folder.File("missing/"), "*").empty());
}

}  // namespace
