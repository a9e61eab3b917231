#include "app/core/ExportEntries.h"

#include "platform/StringCase.h"

std::vector<std::string> ExportEntryNames(const std::string &filesSet,
                                          std::vector<std::string> *leftOut) {
  std::vector<std::string> names;
  std::string rest = filesSet;
  for (char &c : rest) {
    if (c == ';') c = ',';
  }
  rest += ',';
  for (;;) {
    const std::size_t comma = rest.find(',');
    const std::string pattern = rest.substr(0, comma);
    if (pattern.empty()) break;
    if (static_cast<int>(names.size()) < kMaxExportEntries) {
      const std::string upper = platform::ToUpper(pattern);
      names.push_back(upper.size() > 2 ? upper.substr(2) : std::string());
    } else if (leftOut != nullptr) {
      leftOut->push_back(pattern);
    } else {
      break;
    }
    rest.erase(0, comma + 1);
  }
  return names;
}

const std::string *ExportFormats::FormatOf(unsigned id) const {
  if (id < m_firstId || id - m_firstId >= m_names.size()) return nullptr;
  return &m_names[id - m_firstId];
}
