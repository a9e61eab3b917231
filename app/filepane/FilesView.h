// The file pane: the left pane of the main window, on form template 130. It holds the folder
// combo with its drop-down folder tree, the file list and the filter combo; owns the plug-in
// host, so the plug-ins stay bound for as long as the pane exists; keeps the list of selected
// files, previews the one selected file in the preview pane, remembers the folder listed last
// in the settings file, and carries the property, rename and conversion commands.
#pragma once

#include <wx/panel.h>
#include <wx/scrolwin.h>
#include <wx/treebase.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/filepane/PaneInterfaces.h"
#include "codec/KdtFormatName.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskBaseClass.h"

class CComboBoxColor;
class Conversion;
struct ConversionRequest;
class CComboBoxFolder;
class CListCtrlFile;
class CQuendaView;

namespace platform {
class ShellFolder;
struct TVITEMDATA;
}  // namespace platform

class CFilesView : public wxScrolled<wxPanel>, public FileListOwner, public FolderTreeOwner {
 public:
  // Creates the pane's controls from its form in parent and binds the plug-ins of the
  // program's dll/ folder.
  explicit CFilesView(wxWindow *parent);
  // Empties the list (freeing its records) and the filter and writes the settings file first,
  // then deletes the tasks; the plug-ins are unloaded last.
  ~CFilesView() override;

  // Once, after the main window has made both panes: reads the settings file, opens the
  // folder tree on the folder saved there (which lists it), gives the list its tree and fills
  // the filter. Later calls do nothing.
  void OnInitialUpdate();

  // The list reports a click or a change of an item: files holds that item's path when it is
  // a file, and is empty otherwise. Rebuilds m_sfilesInChoose from the list and previews its
  // one file, or clears the preview. taskType changes nothing.
  void OnUpdateFilesList(const std::vector<std::string> &files,
                         CTaskBaseClass::TaskType taskType) override;
  // The number of selected files.
  int GetFilesNum() const override { return static_cast<int>(m_sfilesInChoose.size()); }
  // 1 when the selection is on the KDT side: a conversion exports KDT files.
  int IsExport() const override { return m_bExport; }
  // A copy of the plug-in host's pattern list: upper-case patterns such as "*.BMP" separated by
  // ";", the KDT pattern left out.
  std::string GetFileSet() const override { return m_sFilesSet; }

  // The "Property" command: shows the file in preview in the property dialog.
  void ViewProperty() override;
  // The "Rename" command: renames the one selected file into the device's naming scheme.
  void ReName() override;

  // Lists the folder of tree item hItem; with updateImg also clears the preview and the
  // selection list. 1 when the folder was listed, 0 when it could not be opened (then the
  // list, the preview and the selection list stay as they were).
  int PopulateFileList(const wxTreeItemId &hItem, int updateImg) override;
  // 1 when the full path strFile passes the chosen filter: its extension (after the last dot,
  // which must not be the first character) occurs inside the filter text after its start.
  int IsValidFileType(const std::string &strFile) const;
  // 1 when the selection can be converted. Under "*.*" the first selected file decides the
  // side (m_bExport) and every further one must be of the same side.
  int IsEnableConvert() override;

  // The conversion workflows of the commands: import (bExport 0, objExt "KDT") or export into
  // objExt; and the Y/C field exchange of the selected KDT files.
  void ConvertTo(int bExport, const std::string &objExt) override;
  void YCConvertSet(int bExport, const std::string &objExt) override;
  // True while a conversion runs on its worker thread.
  bool IsConverting();
  // Waits until the worker of a conversion has ended, the window's events handled meanwhile.
  void WaitForConversion();

  CListCtrlFile *m_lstFiles = nullptr;
  CComboBoxColor *m_cmbFilter = nullptr;
  CComboBoxFolder *m_cmbDirectory = nullptr;
  // Full paths of the selected files in list order, as of the last selection report; the
  // conversion workflows take a copy of it.
  std::vector<std::string> m_sfilesInChoose;

 private:
  // The worker bodies of the two workflows: each works on the task of a run with the run's own
  // copy of its request, and returns the result code its load gave.
  static int ProcessTaskOfConvert(CTaskBaseClass &task, const ConversionRequest &request);
  static int ProTaskOfYUVConv(CTaskBaseClass &task, const ConversionRequest &request);
  // The request of a conversion of the selection into format, with the last size and shift
  // choices.
  ConversionRequest Request(const std::string &format) const;

  // The form's controls, the pane's own classes in place of the standard ones.
  wxWindow *CreateControl(int id, const wxPoint &position, const wxSize &size);
  void OnSize(wxSizeEvent &event);
  void OnDraw(wxPaintEvent &event);
  void Draw3DText(wxDC &dc, const wxString &str, const wxRect &rect);
  void OnSelFilter(wxCommandEvent &event);
  void OnDestroy();

  int PopulateListView(platform::TVITEMDATA *lptvid, platform::ShellFolder *lpsf);
  int InitListViewImageLists();
  int InitListViewItems(platform::TVITEMDATA *lptvid, platform::ShellFolder *lpsf);

  // The preview pane of the main window, or null when there is none (any more).
  CQuendaView *GetRightPane() const;
  // Clears the preview pane, then deletes the preview task.
  void ClearPreview();

  std::string m_sFilesSet;
  std::string m_sFilter = kKdtPattern;
  int m_bExport = 1;
  int m_bAnyExt = 0;
  // IsEnableConvert's answer under "*.*" for the list's selection generation m_convertCheckedFor,
  // and the side it decided (-1: none).
  unsigned long m_convertCheckedFor = 0;
  int m_bConvertible = 0;
  int m_convertSide = -1;
  unsigned m_uiScaleMode = 1;
  unsigned m_uiImageSize = 0;
  unsigned m_uiShiftMode = 0;
  unsigned m_convertMode = 2;  // Y/C: both planes until a run chooses
  std::string m_sSourceDirectory;
  std::string m_sTargetDirectory;
  CImageFileEngine m_imgEngine;
  bool m_bInitialUpdateDone = false;
  bool m_bDestroyed = false;
  // The conversion under way, for the time of its command; the pane's destruction waits for
  // its worker.
  Conversion *m_conversion = nullptr;

 public:
  std::unique_ptr<CTaskBaseClass> m_pTaskOfPreview;
  // The task of the last Y/C conversion, kept until the next conversion; its worker has ended.
  std::unique_ptr<CTaskBaseClass> m_pTaskOfConvert;
};
