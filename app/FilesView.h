// The file pane: the left pane of the main window. It owns the plug-in host, so the plug-ins
// stay bound for as long as the pane exists, and binds them when it is created.
#pragma once

#include <wx/panel.h>
#include <wx/treebase.h>

#include <string>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "engine/TaskBaseClass.h"
#include "platform/gui/WorkerThread.h"

class CComboBoxFolder;
class CDlgProgressBase;

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
  void ConvertTo(int bExport, const std::string &objExt);
  void YCConvertSet(int bExport, const std::string &objExt);
  // True while a conversion runs on its worker thread.
  bool IsConverting();
  // Waits until the worker of a conversion has ended, the window's events handled meanwhile.
  void WaitForConversion();

  std::vector<std::string> m_sfilesInChoose;

  // Lists the folder of the folder tree's item hItem; non-zero when it could be listed, 0 when
  // the folder cannot be opened or read.
  int PopulateFileList(const wxTreeItemId &hItem, int updateImg);

 private:
  // The worker bodies of the two workflows and their thread entries (the pane is the
  // parameter); the entries return 0.
  int ProcessTaskOfConvert();
  static uint32_t ThreadProcForConvert(void *lpParameter);
  int ProTaskOfYUVConv();
  static uint32_t ThreadProcForYUVConv(void *lpParameter);
  // Starts entry on the worker thread; the progress dialog learns when the worker has ended.
  void RunWorker(uint32_t (*entry)(void *), CDlgProgressBase &progress);
  // The timed wait for the worker, then the wait on with the window's events handled.
  void EndWorker();

 public:
  CComboBoxFolder *m_cmbDirectory = nullptr;

 private:
  CImageFileEngine m_imgEngine;
  std::string m_sFilesSet;
  int m_bExport = 1;
  unsigned m_uiImageSize = 0;
  unsigned m_uiShiftMode = 0;
  unsigned m_uiComposite = 0;
  unsigned m_convertMode = 2;  // Y/C: both planes until a run chooses
  std::string m_sTarget;
  std::string m_sExt;
  // The worker of the conversion under way; the pane's destruction waits for it.
  platform::gui::WorkerThread m_worker;

 public:
  ~CFilesView() override;
  CTaskBaseClass *m_pTaskOfPreview = nullptr;
  CTaskBaseClass *m_pTaskOfConvert = nullptr;
  int m_iRetCode = 0;
};
