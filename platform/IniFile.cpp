#include "platform/IniFile.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/RegularFileOpen.h"
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

// The next line of `stream` without its line end, cut after `limit` bytes: the rest of a longer
// line is read past, never kept. A 0 byte ends the entry the line holds, as it ends each entry
// of a section that is read; the rest of that line is read past too. False at the end of the
// file.
bool NextLine(FILE *stream, std::string &line, size_t limit) {
  line.clear();
  bool any = false, ended = false;
  for (int c; (c = getc_unlocked(stream)) != EOF;) {
    any = true;
    if (c == '\n') break;
    if (c == '\0') ended = true;
    if (!ended && line.size() < limit) line.push_back(static_cast<char>(c));
  }
  return any;
}

// The line end the file uses: that of its first line, "\n" when it has none.
std::string_view LineEndOf(std::string_view content) {
  const size_t end = content.find('\n');
  return end != std::string_view::npos && end > 0 && content[end - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::vector<std::string> ReadIniSection(const std::string &path, const std::string &section,
                                        size_t bufferSize) {
  std::vector<std::string> entries;
  if (bufferSize < 2) return entries;
  FILE *stream = OpenRegularFileStream(path.c_str());
  if (stream == nullptr) return entries;
  // Room for the entries, each with its terminator, besides the list's own terminator.
  size_t room = bufferSize - 1;
  bool inSection = false;
  for (std::string line; room > 1 && NextLine(stream, line, bufferSize);) {
    if (auto name = SectionName(line)) {
      if (inSection) break;  // only the first section of that name is read
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    const std::string_view text = Trim(line);
    if (!inSection || text.empty() || text.front() == ';') continue;
    const size_t kept = std::min(text.size(), room - 1);
    entries.emplace_back(text.substr(0, kept));
    room -= kept + 1;
  }
  std::fclose(stream);
  return entries;
}

bool ReplaceIniSection(const std::string &path, const std::string &section,
                       const std::vector<std::string> &entries) {
  std::string old;
  // A file that is there but cannot be read would lose its other sections.
  if (!ReadRegularFile(path.c_str(), old) && PathExists(path)) return false;
  const std::string_view lineEnd = LineEndOf(old);

  std::string out;
  bool inSection = false, written = false;
  auto writeSection = [&] {
    out.append("[").append(section).append("]").append(lineEnd);
    for (const std::string &entry : entries) out.append(entry).append(lineEnd);
    written = true;
  };
  // Every line other than the section's is copied with its own bytes and line end.
  for (size_t start = 0; start < old.size();) {
    const size_t newline = old.find('\n', start);
    const size_t end = newline == std::string::npos ? old.size() : newline + 1;
    const std::string_view line(old.data() + start, end - start);
    start = end;
    if (auto name = SectionName(line.substr(0, line.find('\n')))) {
      inSection = !written && EqualsNoCase(*name, section);
      if (inSection) {
        writeSection();
        continue;
      }
    } else if (inSection) {
      continue;  // the old content of the section
    }
    out.append(line);
  }
  if (!written) {
    if (!out.empty() && out.back() != '\n') out.append(lineEnd);
    writeSection();
  }
  return WriteFileAtomically(path, out);
}

}  // namespace platform
