// The file pane: the left pane of the main window. It owns the plug-in host, so the plug-ins
// stay bound for as long as the pane exists, and binds them when it is created.
#pragma once

#include <wx/panel.h>
#include <wx/treebase.h>

#include <string>
#include <vector>

#include "engine/ImageFileEngine.h"

class CComboBoxFolder;

class CFilesView : public wxPanel {
 public:
  // Creates the pane in parent and binds the plug-ins of the program's dll/ folder.
  explicit CFilesView(wxWindow *parent);

  // A copy of the plug-in host's pattern list: upper-case patterns such as "*.BMP" separated by
  // ";", the KDT pattern left out.
  std::string GetFileSet() const { return m_sFilesSet; }

  // The number of selected files.
  int GetFilesNum() const { return static_cast<int>(m_sfilesInChoose.size()); }
  // 1 when the selection is on the KDT side: a conversion exports KDT files.
  int IsExport() const { return m_bExport; }
  // 1 when the selection can be converted.
  int IsEnableConvert() { return 1; }
  void ViewProperty() {}
  void ReName() {}

  // The conversion workflows of the commands: import (bExport 0, objExt "KDT") or export into
  // objExt; and the Y/C field exchange of the selected KDT files.
  void ConvertTo(int, const std::string &) {}
  void YCConvertSet(int, const std::string &) {}
  // True while a conversion runs on its worker thread.
  bool IsConverting() { return false; }
  // Waits until the worker of a conversion has ended, the window's events handled meanwhile.
  void WaitForConversion() {}

  std::vector<std::string> m_sfilesInChoose;

  // Lists the folder of the folder tree's item hItem; non-zero when it could be listed, 0 when
  // the folder cannot be opened or read.
  int PopulateFileList(const wxTreeItemId &hItem, int updateImg);

 private:
  CComboBoxFolder *m_cmbDirectory = nullptr;
  CImageFileEngine m_imgEngine;
  std::string m_sFilesSet;
  int m_bExport = 1;
};
