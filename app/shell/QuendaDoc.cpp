#include "app/shell/QuendaDoc.h"

#include <fstream>

#include "codec/DeviceFileName.h"
#include "platform/FileSystem.h"

bool CQuendaDoc::OnNewDocument() {
  m_strTitle = "Untitled";
  m_strPathName.clear();
  return true;
}

bool CQuendaDoc::OnOpenDocument(const std::string &path) {
  if (platform::IsFolder(path) || !std::ifstream(path, std::ios::binary).is_open()) return false;
  m_strPathName = path;
  m_strTitle = getFileName(path.c_str());
  return true;
}
