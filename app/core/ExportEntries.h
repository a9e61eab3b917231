// The entries of the "&Export To" menus, from the plug-in host's pattern list.
#pragma once

#include <string>
#include <vector>

// Ids 32774 to 32783 hold the export entries; the next id of the command range is taken by
// "&Reverse Field Dominance", so at most this many entries are built.
constexpr int kMaxExportEntries = 10;

// The menu texts of the export entries in order: each pattern of filesSet (patterns such as
// "*.BMP" separated by ";") upper-cased and without its first two characters ("*."), up to the
// first empty pattern and at most kMaxExportEntries of them. Patterns past the last entry that
// fits are given in leftOut when it is not null, so the caller can tell the operator.
std::vector<std::string> ExportEntryNames(const std::string &filesSet,
                                          std::vector<std::string> *leftOut = nullptr);

// The export format of each entry, kept when the entries are built: the text an entry was
// given may be altered by the toolkit when it shows it, so a command looks its format up here.
class ExportFormats {
 public:
  ExportFormats() = default;
  // Entry i of names has the command firstId + i.
  ExportFormats(unsigned firstId, std::vector<std::string> names)
      : m_firstId(firstId), m_names(std::move(names)) {}

  bool empty() const { return m_names.empty(); }
  // The format of command id, or null when no entry has that command.
  const std::string *FormatOf(unsigned id) const;

 private:
  unsigned m_firstId = 0;
  std::vector<std::string> m_names;
};
