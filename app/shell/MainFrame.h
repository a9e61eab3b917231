// The program's main window: menu bar, flat toolbar, a status bar of five panes and a splitter
// whose bar does not move, holding the file pane on the left and the preview pane on the right.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include "app/core/CommandEnabling.h"
#include "app/core/ExportEntries.h"
#include "app/filepane/PaneInterfaces.h"

class CFilesView;
class CMyToolBar;
class CQuendaDoc;
class CQuendaView;
class XCSplitterWnd;
class wxMenuItem;
class wxStatusBar;

class CMainFrame : public wxFrame, public PreviewHost {
 public:
  explicit CMainFrame(CQuendaDoc &document);

  // Creates the window with the given title and everything in it. False when a part could not
  // be created; the window is then destroyed.
  bool LoadFrame(const wxString &title);

  CFilesView *GetLeftPane() const;
  CQuendaView *GetRightPane() const override;

  // The pane that receives commands before the frame: the file pane at first, then the pane
  // clicked or given the focus last.
  wxWindow *GetActiveView() const { return m_pActiveView; }
  void SetActiveView(wxWindow *pane);

  // Titles the window after the document: its title, " - " and the program's name.
  void OnUpdateFrameTitle();

  // After a new or opened document: the panes show their state anew.
  void InitialUpdateFrame();

  bool Show(bool show = true) override;

 protected:
  bool TryBefore(wxEvent &event) override;
  wxToolBar *OnCreateToolBar(long style, wxWindowID id, const wxString &name) override;

 private:
  bool OnCreate();
  bool OnCreateClient();
  bool CreateToolBarAndStatusBar();
  void FillExportMenu();
  // Gives the window its minimum size of 800 by 600 again when the toolkit has moved it.
  void KeepMinimumSizeHint();
  void OnSize(wxSizeEvent &event);
  void OnSizing(wxSizeEvent &event);
  void OnSizingTimer(wxTimerEvent &event);
  void OnCaptureChanged();
  void OnIdle(wxIdleEvent &event);
  void OnUpdateIndicatorScale();
  void UpdateLockIndicators();
  void OnChildFocus(wxChildFocusEvent &event);
  // A mouse button pressed on window or on any control inside it makes pane the active view.
  void ActivateOnClick(wxWindow *window, wxWindow *pane);
  void OnNextPane(wxCommandEvent &event);
  // The window does not close while a conversion runs on a worker thread.
  void OnClose(wxCloseEvent &event);

  // The conversion commands: the range 32771 to 32785 (import, property, the export entries,
  // Reverse Field Dominance), the settings button (an import) and the rename button. Each runs
  // only when its enabling rule allows it at that moment, wherever the command came from.
  void OnConvertClick(wxCommandEvent &event);
  void OnConvertSetting(wxCommandEvent &event);
  void OnFileRename(wxCommandEvent &event);
  void OnUpdateConvert(wxUpdateUIEvent &event);
  void OnUpdateYcConvert(wxUpdateUIEvent &event);
  void OnUpdateConvertSetting(wxUpdateUIEvent &event);
  void OnUpdateFileRename(wxUpdateUIEvent &event);
  void OnUpdateExportTo(wxUpdateUIEvent &event);
  // What the enabling rule is decided on, asked of the file pane now.
  ConvertSelection ReadSelection() const;
  bool Allows(ConvertCommand command) const;
  // The "&Export To" item of the "&Convert" menu, or null.
  wxMenuItem *ExportToItem() const;

  XCSplitterWnd *m_wndSplitter = nullptr;
  wxStatusBar *m_wndStatusBar = nullptr;
  CMyToolBar *m_wndToolBar = nullptr;
  CQuendaDoc &m_document;
  wxWindow *m_pActiveView = nullptr;
  bool m_bRouting = false;
  // The format of each "&Export To" entry by its command.
  ExportFormats m_exportFormats;
  // Runs while the operator drags a border of the window; see OnSize.
  wxTimer m_sizingTimer;
};
