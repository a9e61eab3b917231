#include "app/QuendaDoc.h"

#include <unistd.h>

#include "codec/DeviceFileName.h"
#include "platform/FileSystem.h"
#include "platform/RegularFileOpen.h"

bool CQuendaDoc::OnNewDocument() {
  m_strTitle = "Untitled";
  m_strPathName.clear();
  return true;
}

bool CQuendaDoc::OnOpenDocument(const std::string &path) {
  // Only a regular file opens as a document; anything else fails at once, never waits.
  const int fd = platform::OpenRegularFile(path.c_str());
  if (fd < 0) return false;
  close(fd);
  m_strPathName = path;
  m_strTitle = getFileName(path.c_str());
  return true;
}
