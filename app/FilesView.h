// The file pane: the left pane of the main window. It owns the plug-in host, so the plug-ins
// stay bound for as long as the pane exists, and binds them when it is created.
#pragma once

#include <wx/panel.h>
#include <wx/treebase.h>

#include <string>

#include "engine/ImageFileEngine.h"

class CComboBoxFolder;

class CFilesView : public wxPanel {
 public:
  // Creates the pane in parent and binds the plug-ins of the program's dll/ folder.
  explicit CFilesView(wxWindow *parent);

  // A copy of the plug-in host's pattern list: upper-case patterns such as "*.BMP" separated by
  // ";", the KDT pattern left out.
  std::string GetFileSet() const { return m_sFilesSet; }

  // Lists the folder of the folder tree's item hItem; non-zero when it could be listed, 0 when
  // the folder cannot be opened or read.
  int PopulateFileList(const wxTreeItemId &hItem, int updateImg);

 private:
  CComboBoxFolder *m_cmbDirectory = nullptr;
  CImageFileEngine m_imgEngine;
  std::string m_sFilesSet;
};
