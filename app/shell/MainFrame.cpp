#include "app/shell/MainFrame.h"

#include <wx/accel.h>
#include <wx/display.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <cstdio>
#include <string>

#include "app/common/FileNameText.h"
#include "app/common/MenuResources.h"
#include "app/core/ExportEntries.h"
#include "app/core/FrameSizing.h"
#include "app/core/PaneOperation.h"
#include "app/filepane/FilesView.h"
#include "app/preview/QuendaView.h"
#include "app/res/Artwork.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/shell/MyToolBar.h"
#include "app/shell/QuendaDoc.h"
#include "app/shell/XCSplitterWnd.h"
#include "codec/KdtFormatName.h"
#include "platform/gui/DisabledItemPrompts.h"
#include "platform/gui/MenuCommandIds.h"
#include "platform/gui/NativeLook.h"
#include "platform/gui/WindowGeometry.h"

namespace {

// The file pane's width; the bar never moves, so it keeps it for the life of the window.
constexpr int kLeftPaneWidth = 228;

// The status bar's panes, in order: the message pane (stretches), the scale pane and the lock
// keys. Each fixed pane is as wide as its string.
constexpr unsigned kIndicators[] = {res::ID_SEPARATOR, res::ID_INDICATOR_SCALE,
                                    res::ID_INDICATOR_CAPS, res::ID_INDICATOR_NUM,
                                    res::ID_INDICATOR_SCRL};
constexpr int kPaneCount = sizeof kIndicators / sizeof kIndicators[0];
constexpr int kScalePane = 1;
constexpr int kFirstLockPane = 2;
// Room around a pane's text for the pane's border.
constexpr int kPaneMargin = 12;

// How often the end of a border drag is looked for.
constexpr int kSizingPollMs = 50;

wxString Text(const std::string &text) {
  return wxString::FromUTF8(text);
}

// The program's name: the first part of the document template string.
std::string ProgramTitle() {
  const std::string &templ = res::LoadString(res::IDS_DOC_TEMPLATE);
  return templ.substr(0, templ.find('\n'));
}

// The main window's icon in both of its sizes.
wxIconBundle MainIcons() {
  wxIconBundle icons;
  for (int size : {16, 32}) {
    if (const char *const *xpm = res::IconXpm(res::IDR_MAINFRAME, size)) icons.AddIcon(wxIcon(xpm));
  }
  return icons;
}

FrameRect ToFrameRect(const wxRect &r) {
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}

}  // namespace

CMainFrame::CMainFrame(CQuendaDoc &document) : m_document(document), m_sizingTimer(this) {}

bool CMainFrame::LoadFrame(const wxString &title) {
  if (!Create(nullptr, wxID_ANY, title, wxDefaultPosition,
              wxSize(kFrameMinWidth, kFrameMinHeight))) {
    return false;
  }
  // The window manager learns the minimum from the window's size hints and stops a border
  // drag there; the size handler keeps the rule where no window manager honours them.
  KeepMinimumSizeHint();
  SetIcons(MainIcons());
  SetMenuBar(BuildMenuBar(res::MainMenu()));
  SetAcceleratorTable(BuildMainAccelerators());
  if (!OnCreate()) {
    Destroy();
    return false;
  }
  platform::gui::ShowPromptsOfDisabledItems(*this);
  Bind(wxEVT_SIZE, &CMainFrame::OnSize, this);
  Bind(wxEVT_SIZING, &CMainFrame::OnSizing, this);
  Bind(wxEVT_TIMER, &CMainFrame::OnSizingTimer, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
  Bind(wxEVT_CHILD_FOCUS, &CMainFrame::OnChildFocus, this);
  Bind(wxEVT_MENU, &CMainFrame::OnNextPane, this, res::ID_NEXT_PANE, res::ID_PREV_PANE);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_MENU, &CMainFrame::OnConvertClick, this, res::ID_CONVERT_RANGE_FIRST,
       res::ID_CONVERT_RANGE_LAST);
  Bind(wxEVT_MENU, &CMainFrame::OnConvertSetting, this, res::ID_CONVERT_SETTING);
  Bind(wxEVT_MENU, &CMainFrame::OnFileRename, this, res::ID_FILE_RENAME);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateConvert, this, res::ID_CONVERT_RANGE_FIRST,
       res::ID_CONVERT_RANGE_LAST);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateConvertSetting, this, res::ID_CONVERT_SETTING);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateFileRename, this, res::ID_FILE_RENAME);
  if (wxMenuItem *exportTo = ExportToItem()) {
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateExportTo, this, exportTo->GetId());
  }
  return true;
}

bool CMainFrame::OnCreate() {
  // Both panes exist, and the file pane has bound the plug-ins, before the bars are built.
  if (!OnCreateClient()) return false;
  if (!CreateToolBarAndStatusBar()) return false;
  FillExportMenu();
  return true;
}

bool CMainFrame::OnCreateClient() {
  m_wndSplitter = new XCSplitterWnd(this);
  auto *left = new CFilesView(m_wndSplitter);
  auto *right = new CQuendaView(m_wndSplitter);
  if (!m_wndSplitter->SplitVertically(left, right, kLeftPaneWidth)) {
    m_wndSplitter->Destroy();
    m_wndSplitter = nullptr;
    return false;
  }
  // A click in a pane makes it the active view, as focus moving into it does; a click on a
  // control that has the focus already moves no focus.
  ActivateOnClick(left, left);
  ActivateOnClick(right, right);
  m_pActiveView = left;
  // The scale pane follows each drawing of the preview at once: an idle pass need not come
  // after a paint (the pointer standing still), and would show the scale of the picture before.
  right->SetOnPainted([this] { OnUpdateIndicatorScale(); });
  return true;
}

wxToolBar *CMainFrame::OnCreateToolBar(long style, wxWindowID id, const wxString &) {
  m_wndToolBar = new CMyToolBar(this, id, style);
  return m_wndToolBar;
}

bool CMainFrame::CreateToolBarAndStatusBar() {
  CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
  if (m_wndToolBar == nullptr || !m_wndToolBar->LoadToolBar()) {
    std::fputs("Failed to create toolbar\n", stderr);
    return false;
  }
  m_wndStatusBar = CreateStatusBar(kPaneCount);
  if (m_wndStatusBar == nullptr) {
    std::fputs("Failed to create status bar\n", stderr);
    return false;
  }
  int widths[kPaneCount];
  widths[0] = -1;
  for (int i = 1; i < kPaneCount; ++i) {
    widths[i] =
        m_wndStatusBar->GetTextExtent(Text(res::LoadString(kIndicators[i]))).x + kPaneMargin;
  }
  m_wndStatusBar->SetStatusWidths(kPaneCount, widths);
  m_wndStatusBar->SetStatusText(Text(res::LoadString(res::IDS_IDLE_MESSAGE)), 0);
  m_wndStatusBar->SetStatusText(Text(res::LoadString(res::ID_INDICATOR_SCALE)), kScalePane);
  UpdateLockIndicators();
  return true;
}

wxMenuItem *CMainFrame::ExportToItem() const {
  wxMenuBar *bar = GetMenuBar();
  wxMenu *convert = bar != nullptr && bar->GetMenuCount() > 1 ? bar->GetMenu(1) : nullptr;
  if (convert == nullptr || convert->GetMenuItemCount() < 2) return nullptr;
  wxMenuItem *item = convert->FindItemByPosition(1);
  return item->GetSubMenu() != nullptr ? item : nullptr;
}

void CMainFrame::FillExportMenu() {
  CFilesView *files = GetLeftPane();
  wxMenuItem *item = ExportToItem();
  if (files == nullptr || item == nullptr) return;
  wxMenu *exportTo = item->GetSubMenu();
  std::vector<std::string> leftOut;
  m_exportFormats = FillExportEntries(*exportTo, files->GetFileSet(), &leftOut);
  for (const std::string &pattern : leftOut) {
    std::fprintf(stderr, "Quenda: no command is left for the export format %s; it is not offered\n",
                 pattern.c_str());
  }
  // With no format to offer the item stays greyed for the life of the window.
  if (m_exportFormats.empty()) item->Enable(false);
}

CFilesView *CMainFrame::GetLeftPane() const {
  return m_wndSplitter ? dynamic_cast<CFilesView *>(m_wndSplitter->GetWindow1()) : nullptr;
}

CQuendaView *CMainFrame::GetRightPane() const {
  return m_wndSplitter ? dynamic_cast<CQuendaView *>(m_wndSplitter->GetWindow2()) : nullptr;
}

void CMainFrame::SetActiveView(wxWindow *pane) {
  if (pane == GetLeftPane() || pane == GetRightPane()) m_pActiveView = pane;
}

bool CMainFrame::Show(bool show) {
  if (show) platform::gui::GiveInitialLayoutSize(*this);
  return wxFrame::Show(show);
}

void CMainFrame::OnUpdateFrameTitle() {
  SetTitle(FileNameText(m_document.GetTitle() + " - " + ProgramTitle()));
}

void CMainFrame::InitialUpdateFrame() {
  // The file pane's first update needs the preview pane, and its first listing sizes the
  // list's column to the pane, so the panes take their places first. It runs once.
  Layout();
  if (CFilesView *files = GetLeftPane()) files->OnInitialUpdate();
  if (CQuendaView *view = GetRightPane()) view->Refresh();
}

bool CMainFrame::TryBefore(wxEvent &event) {
  // Commands and their enabling reach the active pane before the frame (and, after the frame,
  // the application), as the panes' handlers expect.
  const wxEventType type = event.GetEventType();
  if ((type == wxEVT_MENU || type == wxEVT_UPDATE_UI) && m_pActiveView != nullptr && !m_bRouting) {
    m_bRouting = true;
    const bool handled = m_pActiveView->GetEventHandler()->ProcessEventLocally(event);
    m_bRouting = false;
    if (handled) return true;
  }
  return wxFrame::TryBefore(event);
}

void CMainFrame::KeepMinimumSizeHint() {
  // The toolkit moves its minimum by the change of the window manager's frame whenever that
  // frame changes while the window is exactly as large as the minimum (after maximising and
  // restoring, when the window manager starts again): the minimum is put back each time.
  const wxSize minimum(kFrameMinWidth, kFrameMinHeight);
  if (GetMinSize() != minimum) SetMinSize(minimum);
}

void CMainFrame::OnSize(wxSizeEvent &event) {
  event.Skip();  // the frame lays out its bars and the splitter
  KeepMinimumSizeHint();
  // The toolkit reports a size only after the change; the rule is applied to the new
  // rectangle. Maximising and restoring are not sized by the operator and keep their size.
  if (IsMaximized() || IsFullScreen() || IsIconized()) return;
  const wxSize screen = wxGetDisplaySize();
  const FrameRect now = ToFrameRect(GetRect());
  const FrameRect kept = KeepMinimumFrameSize(now, screen.x, screen.y);
  if (kept.left != now.left || kept.top != now.top || kept.right != now.right ||
      kept.bottom != now.bottom) {
    const wxRect rect(kept.left, kept.top, kept.right - kept.left, kept.bottom - kept.top);
    SetSize(rect);
    // The toolkit would not ask again for a rectangle it asked for before the change came
    // from outside (a window of 800 by 600 made smaller in place).
    platform::gui::RequestOuterRect(*this, rect);
  }
  // While the operator drags a border (the mouse button held), the preview paints only its
  // ground; when the button comes up the preview is drawn anew.
  CQuendaView *view = GetRightPane();
  if (view != nullptr && wxGetMouseState().LeftIsDown() && !m_sizingTimer.IsRunning()) {
    view->SetFrameSizing(true);
    m_sizingTimer.Start(kSizingPollMs);
  }
}

void CMainFrame::OnSizing(wxSizeEvent &event) {
  // Where the toolkit reports the rectangle proposed during a drag, the rule changes it.
  const wxSize screen = wxGetDisplaySize();
  const FrameRect kept = KeepMinimumFrameSize(ToFrameRect(event.GetRect()), screen.x, screen.y);
  event.SetRect(wxRect(kept.left, kept.top, kept.right - kept.left, kept.bottom - kept.top));
  event.Skip();
}

void CMainFrame::OnSizingTimer(wxTimerEvent &) {
  if (wxGetMouseState().LeftIsDown()) return;
  m_sizingTimer.Stop();
  OnCaptureChanged();
}

void CMainFrame::OnCaptureChanged() {
  if (CQuendaView *view = GetRightPane()) {
    view->SetFrameSizing(false);
    view->Refresh(true);
  }
}

void CMainFrame::OnIdle(wxIdleEvent &event) {
  KeepMinimumSizeHint();
  OnUpdateIndicatorScale();
  UpdateLockIndicators();
  event.Skip();
}

void CMainFrame::OnUpdateIndicatorScale() {
  CQuendaView *view = GetRightPane();
  if (view == nullptr || m_wndStatusBar == nullptr) return;
  const wxString scale = Text(view->GetScale());
  if (m_wndStatusBar->GetStatusText(kScalePane) != scale) {
    m_wndStatusBar->SetStatusText(scale, kScalePane);
  }
}

void CMainFrame::UpdateLockIndicators() {
  if (m_wndStatusBar == nullptr) return;
  constexpr wxKeyCode kLockKeys[] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};
  for (int i = 0; i < 3; ++i) {
    const int pane = kFirstLockPane + i;
    const wxString text =
        wxGetKeyState(kLockKeys[i]) ? Text(res::LoadString(kIndicators[pane])) : wxString();
    if (m_wndStatusBar->GetStatusText(pane) != text) m_wndStatusBar->SetStatusText(text, pane);
  }
}

void CMainFrame::OnChildFocus(wxChildFocusEvent &event) {
  for (wxWindow *w = FindFocus(); w != nullptr && w != this; w = w->GetParent()) {
    if (w == GetLeftPane() || w == GetRightPane()) {
      SetActiveView(w);
      break;
    }
  }
  event.Skip();
}

void CMainFrame::ActivateOnClick(wxWindow *window, wxWindow *pane) {
  const auto activate = [this, pane](wxMouseEvent &event) {
    SetActiveView(pane);
    event.Skip();
  };
  window->Bind(wxEVT_LEFT_DOWN, activate);
  window->Bind(wxEVT_RIGHT_DOWN, activate);
  window->Bind(wxEVT_MIDDLE_DOWN, activate);
  for (wxWindow *child : window->GetChildren()) {
    if (!child->IsTopLevel()) ActivateOnClick(child, pane);
  }
}

void CMainFrame::OnNextPane(wxCommandEvent &) {
  // With two panes the next and the previous pane are both the other one.
  wxWindow *other = m_pActiveView == GetLeftPane() ? static_cast<wxWindow *>(GetRightPane())
                                                   : static_cast<wxWindow *>(GetLeftPane());
  if (other == nullptr) return;
  SetActiveView(other);
  other->SetFocus();
}

void CMainFrame::OnClose(wxCloseEvent &event) {
  CFilesView *files = GetLeftPane();
  if (files != nullptr && files->IsConverting()) {
    if (event.CanVeto()) {
      event.Veto();
      return;
    }
    // The window goes regardless: the task must not be deleted under its worker.
    files->WaitForConversion();
  }
  event.Skip();
}

ConvertSelection CMainFrame::ReadSelection() const {
  CFilesView *files = GetLeftPane();
  if (files == nullptr) return {};
  // Under the filter "*.*" the pane decides the side of the selection while it is asked
  // whether the selection can be converted, so it is asked first and the side read after.
  const bool convertible = files->IsEnableConvert() != 0;
  ConvertSelection selection;
  selection.bExport = files->IsExport();
  selection.nFiles = convertible ? files->GetFilesNum() : 0;
  selection.hasExportFormats = !m_exportFormats.empty();
  return selection;
}

bool CMainFrame::Allows(ConvertCommand command) const {
  return IsCommandEnabled(command, ReadSelection());
}

void CMainFrame::OnConvertClick(wxCommandEvent &event) {
  CFilesView *files = GetLeftPane();
  if (files == nullptr) return;
  const auto operation = PaneOperationOf(static_cast<unsigned>(event.GetId()), m_exportFormats);
  if (operation && Allows(operation->command)) files->RunOperation(*operation);
}

void CMainFrame::OnConvertSetting(wxCommandEvent &) {
  CFilesView *files = GetLeftPane();
  if (files != nullptr && Allows(ConvertCommand::Settings)) files->ConvertTo(0, kKdtFormat);
}

void CMainFrame::OnFileRename(wxCommandEvent &) {
  CFilesView *files = GetLeftPane();
  if (files != nullptr && Allows(ConvertCommand::Rename)) files->ReName();
}

void CMainFrame::OnUpdateConvert(wxUpdateUIEvent &event) {
  const auto operation = PaneOperationOf(static_cast<unsigned>(event.GetId()), m_exportFormats);
  if (operation && operation->command == ConvertCommand::ReverseFieldDominance) {
    OnUpdateYcConvert(event);
    return;
  }
  if (operation && operation->command != ConvertCommand::ExportTo) {
    event.Enable(Allows(operation->command));
    return;
  }
  // An export entry stays enabled; the "&Export To" item that holds it follows the rule.
  if (wxMenuItem *item = ExportToItem()) item->Enable(Allows(ConvertCommand::ExportTo));
}

void CMainFrame::OnUpdateYcConvert(wxUpdateUIEvent &event) {
  event.Enable(Allows(ConvertCommand::ReverseFieldDominance));
}

void CMainFrame::OnUpdateConvertSetting(wxUpdateUIEvent &event) {
  event.Enable(Allows(ConvertCommand::Settings));
}

void CMainFrame::OnUpdateFileRename(wxUpdateUIEvent &event) {
  event.Enable(Allows(ConvertCommand::Rename));
}

void CMainFrame::OnUpdateExportTo(wxUpdateUIEvent &event) {
  event.Enable(Allows(ConvertCommand::ExportTo));
}
