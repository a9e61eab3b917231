#include "platform/IniFile.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>

#include "platform/StringCase.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The name of a "[name]" line, or none for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::vector<std::string> ReadLines(const std::string &path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

std::vector<std::string> ReadIniSection(const std::string &path, const std::string &section) {
  std::vector<std::string> entries;
  bool inSection = false;
  for (const std::string &line : ReadLines(path)) {
    if (auto name = SectionName(line)) {
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    const std::string_view text = Trim(line);
    if (inSection && !text.empty() && text.front() != ';') entries.emplace_back(text);
  }
  return entries;
}

bool ReplaceIniSection(const std::string &path, const std::string &section,
                       const std::vector<std::string> &entries) {
  std::vector<std::string> out;
  bool inSection = false, written = false;
  auto writeSection = [&] {
    out.push_back("[" + section + "]");
    out.insert(out.end(), entries.begin(), entries.end());
    written = true;
  };
  for (std::string &line : ReadLines(path)) {
    if (auto name = SectionName(line)) {
      inSection = !written && EqualsNoCase(*name, section);
      if (inSection) {
        writeSection();
        continue;
      }
    } else if (inSection) {
      continue;  // the old content of the section
    }
    out.push_back(std::move(line));
  }
  if (!written) writeSection();

  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string &line : out) file << line << '\n';
    file.flush();
    if (!file) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
