#include "platform/DirectorySearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/StringCase.h"

namespace platform {

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  const std::string p = ToUpper(pattern);
  const std::string n = ToUpper(name);
  // Greedy match with one backtrack point: the latest "*" and the name position it covers up to.
  size_t pi = 0, ni = 0;
  size_t star = std::string::npos, starName = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      starName = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++starName;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

std::vector<DirectoryEntry> FindEntries(const std::string &folder, std::string_view pattern) {
  std::vector<DirectoryEntry> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    if (!WildcardMatch(pattern, name)) continue;
    std::error_code kindError;
    entries.push_back({std::move(name), it->is_directory(kindError)});
  }
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry &a, const DirectoryEntry &b) {
    const std::string ua = ToUpper(a.name), ub = ToUpper(b.name);
    return ua != ub ? ua < ub : a.name < b.name;
  });
  return entries;
}

}  // namespace platform
