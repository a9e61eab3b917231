#include "app/QuendaDoc.h"

#include <fstream>

#include "platform/FileSystem.h"
#include "platform/Path.h"

bool CQuendaDoc::OnNewDocument() {
  m_strTitle = "Untitled";
  m_strPathName.clear();
  return true;
}

bool CQuendaDoc::OnOpenDocument(const std::string &path) {
  if (platform::IsFolder(path) || !std::ifstream(path, std::ios::binary).is_open()) return false;
  m_strPathName = path;
  m_strTitle = path.substr(path.rfind(platform::kPathSeparator) + 1);
  return true;
}
