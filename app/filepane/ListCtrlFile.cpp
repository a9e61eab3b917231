#include "app/filepane/ListCtrlFile.h"

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/treectrl.h>

#include <algorithm>
#include <filesystem>

#include "app/common/FileNameText.h"
#include "app/common/MenuResources.h"
#include "app/core/ExportEntries.h"
#include "app/core/PaneOperation.h"
#include "app/filepane/PaneInterfaces.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "platform/FileSystem.h"
#include "platform/ShellItemList.h"
#include "platform/gui/DisabledItemPrompts.h"
#include "platform/gui/MenuCommandIds.h"

using platform::LVITEMDATA;

namespace {

// Positions in the context menu's popup as loaded, and once trimmed.
constexpr size_t kPosImport = 0;
constexpr size_t kPosExportTo = 1;
constexpr size_t kPosRenameOnImportSide = 4;

void EnableAt(wxMenu &menu, size_t position, bool enable) {
  if (position < menu.GetMenuItemCount()) menu.FindItemByPosition(position)->Enable(enable);
}

}  // namespace

CListCtrlFile::CListCtrlFile(wxWindow *parent, wxWindowID id, const wxPoint &pos,
                             const wxSize &size)
    : wxListCtrl(parent, id, pos, size, wxLC_REPORT | wxLC_NO_HEADER | wxBORDER_SIMPLE) {
  Bind(wxEVT_LIST_ITEM_SELECTED, &CListCtrlFile::OnItemchanged, this);
  Bind(wxEVT_LIST_ITEM_DESELECTED, &CListCtrlFile::OnItemchanged, this);
  Bind(wxEVT_LIST_DELETE_ITEM, &CListCtrlFile::OnDeleteItem, this);
  Bind(wxEVT_CONTEXT_MENU, &CListCtrlFile::OnContextMenu, this);
  // The items window hands the keys it gets to the list first.
  Bind(wxEVT_CHAR, &CListCtrlFile::OnChar, this);
  Bind(wxEVT_MENU, &CListCtrlFile::OnConvertClick, this, res::ID_CONVERT_RANGE_FIRST,
       res::ID_CONVERT_RANGE_LAST);
  Bind(wxEVT_MENU, &CListCtrlFile::OnRenameFile, this, res::ID_LIST_RENAME);
  // The context menu's entries keep the states the list gave them; the frame's rules for the
  // same commands on the menu bar never reach them.
  Bind(wxEVT_UPDATE_UI, &CListCtrlFile::OnUpdateMenuEntry, this);
  // The items are drawn in an inner window of the list, which gets the mouse.
  ItemsWindow()->Bind(wxEVT_LEFT_DOWN, &CListCtrlFile::OnMouseDown, this);
  ItemsWindow()->Bind(wxEVT_LEFT_UP, &CListCtrlFile::OnMouseUp, this);
  ItemsWindow()->Bind(wxEVT_LEFT_DCLICK, &CListCtrlFile::OnMouseDblClk, this);
  ItemsWindow()->Bind(wxEVT_RIGHT_DOWN, &CListCtrlFile::OnRightDown, this);
  if (ItemsWindow() != this) {
    Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent &event) {
      m_bPressHadMenu = false;
      event.Skip();
    });
  }
}

wxWindow *CListCtrlFile::ItemsWindow() {
  // The list has no header, so its one child window is the one that holds the items.
  return GetChildren().empty() ? this : GetChildren().front();
}

CListCtrlFile::~CListCtrlFile() {
  DeleteAllItems();
}

void CListCtrlFile::Initilize(CTreeCtrlFolder *pTreeCtrl, FileListOwner *pwndParent) {
  m_pTreeCtrl = pTreeCtrl;
  m_pwndParent = pwndParent;
}

long CListCtrlFile::InsertRecord(long index, LVITEMDATA *record,
                                 const platform::ITEMIDLIST *folder) {
  std::string name;
  if (!platform::GetName(record->lpsfParent, record->lpi, platform::SHGDN_NORMAL, name)) return -1;
  int image = -1;
  if (platform::ITEMIDLIST *absolute = platform::ConcatPidls(folder, record->lpi)) {
    image = platform::GetItemIcon(
        absolute, platform::SHGFI_PIDL | platform::SHGFI_SYSICONINDEX | platform::SHGFI_SMALLICON);
    platform::ShellFree(absolute);
  }
  wxListItem item;
  item.SetId(index);
  item.SetColumn(0);
  item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_IMAGE | wxLIST_MASK_DATA | wxLIST_MASK_STATE);
  item.SetState(0);
  item.SetStateMask(wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  item.SetText(FileNameLine(name));
  item.SetImage(image);
  item.SetData(record);
  SelectionChanged();
  return InsertItem(item);
}

void CListCtrlFile::BeginInsertions() {
  SetWindowStyleFlag((GetWindowStyleFlag() & ~wxLC_MASK_TYPE) | wxLC_LIST);
}

void CListCtrlFile::EndInsertions() {
  SetWindowStyleFlag((GetWindowStyleFlag() & ~wxLC_MASK_TYPE) | wxLC_REPORT);
}

bool CListCtrlFile::DeleteAllItems() {
  m_iSelectItem = -1;
  m_anchor = -1;
  // A press in the listing that goes is no click in the next one.
  ++m_listingGeneration;
  // The records go once their items have: the toolkit reports no single deletions here, and
  // clearing each item's record first would have it measure every item again.
  std::vector<LVITEMDATA *> records;
  records.reserve(GetItemCount());
  for (long i = 0; i < GetItemCount(); ++i) records.push_back(GetRecord(i));
  const bool deleted = wxListCtrl::DeleteAllItems();
  for (LVITEMDATA *record : records) platform::FreeItemData(record);
  // A change put off before the items went names an item that is gone.
  m_reportPending = false;
  SelectionChanged();
  return deleted;
}

void CListCtrlFile::SelectionChanged() {
  ++m_selectionGeneration;
}

bool CListCtrlFile::IsInOrder(wxListCtrlCompare compare) const {
  for (long i = 1; i < GetItemCount(); ++i) {
    if (compare(GetItemData(i - 1), GetItemData(i), 0) > 0) return false;
  }
  return true;
}

LVITEMDATA *CListCtrlFile::GetRecord(long item) const {
  if (item < 0 || item >= GetItemCount()) return nullptr;
  return reinterpret_cast<LVITEMDATA *>(GetItemData(item));
}

void CListCtrlFile::OnDeleteItem(wxListEvent &event) {
  m_iSelectItem = -1;
  m_anchor = -1;
  SelectionChanged();
  platform::FreeItemData(GetRecord(event.GetIndex()));
  SetItemPtrData(event.GetIndex(), 0);
}

bool CListCtrlFile::FilePathOf(long item, std::string &path) const {
  const LVITEMDATA *record = GetRecord(item);
  // What the path led to when it was listed, links followed: anything there but a folder is a
  // file.
  return record != nullptr && (record->ulAttribs & platform::SFGAO_FILESYSTEM) != 0 &&
         (record->ulAttribs & platform::SFGAO_FOLDER) == 0 &&
         platform::GetName(record->lpsfParent, record->lpi, platform::SHGDN_FORPARSING, path);
}

const std::vector<std::string> &CListCtrlFile::ChosenFiles() const {
  if (m_chosenFor == m_selectionGeneration) return m_chosenFiles;
  m_chosenFiles.clear();
  size_t selected = 0;
  for (long item = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
       item = GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    ++selected;
    if (std::string path; FilePathOf(item, path)) m_chosenFiles.push_back(std::move(path));
  }
  // Since it was listed, a file may have gone or given its name to a folder. An item chosen
  // alone, the one that is previewed, is looked up on the disk; a range keeps what the listing
  // found, so choosing thousands of items asks the disk nothing.
  if (selected == 1 && !m_chosenFiles.empty() && !platform::IsFile(m_chosenFiles.front()))
    m_chosenFiles.clear();
  m_chosenFor = m_selectionGeneration;
  return m_chosenFiles;
}

int CListCtrlFile::GetFilesInChoose(std::vector<std::string> &files) const {
  const std::vector<std::string> &chosen = ChosenFiles();
  files.insert(files.end(), chosen.begin(), chosen.end());
  return static_cast<int>(chosen.size());
}

void CListCtrlFile::ReportItem(long item) {
  // This report covers a change still put off.
  m_reportPending = false;
  m_iSelectItem = item;
  std::vector<std::string> files;
  if (std::string path; item >= 0 && FilePathOf(item, path)) files.push_back(path);
  if (m_pwndParent != nullptr) m_pwndParent->OnUpdateFilesList(files, CTaskBaseClass::Basic);
}

void CListCtrlFile::OnItemchanged(wxListEvent &event) {
  // Every change of an item's selected state counts, deselection included, so the pane's list
  // of selected files never keeps a file that is no longer selected. The item of the last
  // event of a change is the one reported.
  SelectionChanged();
  m_pendingItem = event.GetIndex();
  if (m_reportPending) return;
  m_reportPending = true;
  CallAfter(&CListCtrlFile::ReportPendingChange);
}

void CListCtrlFile::ReportPendingChange() {
  if (m_reportPending) ReportItem(m_pendingItem);
}

long CListCtrlFile::ItemAt(const wxPoint &point) const {
  int flags = 0;
  const long item = HitTest(point, flags);
  return (flags & wxLIST_HITTEST_ONITEM) != 0 ? item : -1;
}

void CListCtrlFile::OnMouseDown(wxMouseEvent &event) {
  const long item = ItemAt(event.GetPosition());
  m_pressedItem = item;
  m_pressListing = m_listingGeneration;
  // The toolkit's list would add the range from the item current before to the selection, and
  // a Ctrl+Shift+click would turn the clicked item over instead.
  if (item >= 0 && event.ShiftDown()) SetFocus();
  MoveOnto(item, event.ShiftDown(), event.ControlDown(), event);
}

void CListCtrlFile::MoveOnto(long item, bool shift, bool add, wxEvent &event) {
  if (item < 0 || !shift) {
    // The toolkit's list goes on with the click or the move, which sets the anchor.
    if (item >= 0) m_anchor = item;
    event.Skip();
    return;
  }
  SelectRange(item, add);
}

void CListCtrlFile::OnMouseUp(wxMouseEvent &event) {
  event.Skip();
  // After the list has changed its selection for the click.
  const wxPoint point = event.GetPosition();
  // A plain click: pressed and released on the same item without Ctrl or Shift.
  const bool plain = !event.ControlDown() && !event.ShiftDown() && ItemAt(point) == m_pressedItem;
  const unsigned long pressListing = m_pressListing;
  CallAfter([this, point, plain, pressListing] {
    // The press was in a listing that has gone since, as when a double-click opened a folder:
    // the item now under the pointer is one nobody clicked.
    if (pressListing != m_listingGeneration) return;
    if (plain) SelectAlone(ItemAt(point));
    OnClick(point);
  });
}

void CListCtrlFile::SelectRange(long item, bool add) {
  if (m_anchor < 0 || m_anchor >= GetItemCount()) m_anchor = item;
  const long first = std::min(m_anchor, item), last = std::max(m_anchor, item);
  if (!add) {
    for (long other = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); other != -1;
         other = GetNextItem(other, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
      if (other < first || other > last) SetItemState(other, 0, wxLIST_STATE_SELECTED);
    }
  }
  for (long i = first; i <= last; ++i) {
    if (GetItemState(i, wxLIST_STATE_SELECTED) == 0)
      SetItemState(i, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  SetItemState(item, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  EnsureVisible(item);
}

long CListCtrlFile::MoveTarget(int key) const {
  const long current = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  const long count = GetItemCount();
  if (current < 0 || count == 0) return -1;
  // The toolkit's list moves by a page less one row.
  const long page = std::max(1, GetCountPerPage() - 1);
  switch (key) {
    case WXK_UP:
      return std::max(current - 1, 0L);
    case WXK_DOWN:
      return std::min(current + 1, count - 1);
    case WXK_HOME:
      return 0;
    case WXK_END:
      return count - 1;
    case WXK_PAGEUP:
      return std::max(current - page, 0L);
    case WXK_PAGEDOWN:
      return std::min(current + page, count - 1);
    default:
      return -1;
  }
}

void CListCtrlFile::OnChar(wxKeyEvent &event) {
  // With Shift the toolkit's list would only ever add to the selection, from its own anchor.
  MoveOnto(MoveTarget(event.GetKeyCode()), event.ShiftDown(), false, event);
}

void CListCtrlFile::SelectAlone(long item) {
  // The toolkit's list decides a plain click from state it keeps between clicks, which a
  // Ctrl+click that deselected an item leaves behind: other items could stay selected, and a
  // conversion started next would take files the operator did not choose.
  if (item < 0) return;
  for (long other = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); other != -1;
       other = GetNextItem(other, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    if (other != item) SetItemState(other, 0, wxLIST_STATE_SELECTED);
  }
  if (GetItemState(item, wxLIST_STATE_SELECTED) == 0)
    SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
}

void CListCtrlFile::OnRightDown(wxMouseEvent &event) {
  event.Skip();
  m_bPressHadMenu = false;
  // A right click on an item that is not selected selects it alone, before the menu is built
  // for the selection. The toolkit's list would do so itself only once some item has been
  // current, and before that would show the menu for no selection.
  const long item = ItemAt(event.GetPosition());
  if (item < 0) {
    // A right click beside the items leaves nothing selected, as a left click there does; the
    // menu is then that of no selection.
    SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    return;
  }
  if (GetItemState(item, wxLIST_STATE_SELECTED) != 0) return;
  m_anchor = item;
  for (long other = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); other != -1;
       other = GetNextItem(other, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    SetItemState(other, 0, wxLIST_STATE_SELECTED);
  }
  SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
               wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

void CListCtrlFile::OnUpdateMenuEntry(wxUpdateUIEvent &event) {
  // Update events from a menu carry the program's command ids.
  const int id = event.GetId();
  const int itemId = id >= 0x8000 ? platform::gui::MenuItemId(unsigned(id)) : id;
  const wxMenuItem *entry = m_hMenu ? m_hMenu->FindItem(itemId) : nullptr;
  if (entry == nullptr) {
    event.Skip();
    return;
  }
  event.Enable(entry->IsEnabled());
}

void CListCtrlFile::OnClick(const wxPoint &point) {
  // The pane knows the selection the click made before anything is decided on it.
  ReportPendingChange();
  const long item = ItemAt(point);
  // A second click on the item reported last changes nothing.
  if (item >= 0 && item == m_iSelectItem) return;
  ReportItem(item);
}

void CListCtrlFile::OnMouseDblClk(wxMouseEvent &event) {
  event.Skip();
  const wxPoint point = event.GetPosition();
  CallAfter([this, point] { OnDblclk(point); });
}

void CListCtrlFile::OnDblclk(const wxPoint &point) {
  const long item = ItemAt(point);
  const LVITEMDATA *record = GetRecord(item);
  std::string name;
  if (record == nullptr || m_pTreeCtrl == nullptr ||
      !platform::GetName(record->lpsfParent, record->lpi, platform::SHGDN_NORMAL, name))
    return;
  const wxTreeItemId folder = m_pTreeCtrl->GetSelection();
  if (!folder.IsOk()) return;
  // The tree holds folders only, so a file finds no child of its name. Names are compared as
  // their bytes: the shown text of a name that is not UTF-8 would lead nowhere.
  if (const wxTreeItemId child = m_pTreeCtrl->ChildNamed(folder, name); child.IsOk())
    m_pTreeCtrl->SelectItem(child);
}

wxMenu *CListCtrlFile::LoadContextMenu() {
  m_hMenu.reset();
  m_retiredMenu.reset();
  const std::span<const res::MenuItem> resource = res::ConvertContextMenu();
  if (resource.empty() || m_pwndParent == nullptr) return nullptr;
  m_hMenu.reset(BuildMenu(resource.front().items));
  wxMenu &popup = *m_hMenu;

  const int n = m_pwndParent->IsEnableConvert() ? m_pwndParent->GetFilesNum() : 0;
  const std::string patterns = m_pwndParent->GetFileSet();
  const bool exportSide = m_pwndParent->IsExport() != 0;
  if (exportSide) {
    popup.Destroy(popup.FindItemByPosition(kPosImport));
    if (wxMenu *exportTo = popup.FindItemByPosition(0)->GetSubMenu())
      m_exportFormats = FillExportEntries(*exportTo, patterns);
  } else {
    popup.Destroy(popup.FindItemByPosition(kPosExportTo));
    popup.Destroy(popup.FindItemByPosition(kPosRenameOnImportSide));
  }

  // By position in the trimmed popup; where two rules touch a position the later one decides.
  const bool anyPattern = !patterns.empty();
  EnableAt(popup, 0, n >= 1 && anyPattern);
  EnableAt(popup, 1, n >= 1 && anyPattern);
  EnableAt(popup, 1, n > 0 && exportSide);
  EnableAt(popup, 3, n == 1 && anyPattern);
  EnableAt(popup, 4, n == 1 && anyPattern);
  return m_hMenu.get();
}

void CListCtrlFile::OnContextMenu(wxContextMenuEvent &event) {
  wxPoint screen = event.GetPosition();
  if (screen == wxDefaultPosition) {
    screen = wxGetMousePosition();  // from the keyboard
  } else if (m_bPressHadMenu) {
    // The toolkit's list sends its own request for a right click beside an item, or before any
    // item has been current, and the toolkit sends one more: one press, one menu.
    return;
  } else {
    m_bPressHadMenu = true;
  }
  // The item under the mouse is reported first, as a click would.
  OnClick(ItemsWindow()->ScreenToClient(screen));
  if (wxMenu *menu = LoadContextMenu()) {
    // Its greyed entries show their prompts as the enabled ones do.
    if (auto *frame = dynamic_cast<wxFrame *>(wxGetTopLevelParent(this)))
      platform::gui::ShowPromptsOfDisabledItems(*frame, *menu);
    PopupMenu(menu, ScreenToClient(screen));
  }
  m_retiredMenu.reset();
}

bool CListCtrlFile::TakeEnabledEntry(int id) {
  if (!m_hMenu || m_pwndParent == nullptr) return false;
  // The command unloads the menu; the menu itself goes once it is no longer shown.
  m_retiredMenu = std::move(m_hMenu);
  // A command whose entry the menu shows greyed never runs, however it arrives.
  const wxMenuItem *item = m_retiredMenu->FindItem(platform::gui::MenuItemId(unsigned(id)));
  return item != nullptr && item->IsEnabled();
}

void CListCtrlFile::OnConvertClick(wxCommandEvent &event) {
  const int id = event.GetId();
  if (!TakeEnabledEntry(id)) return;
  if (const auto operation = PaneOperationOf(unsigned(id), m_exportFormats))
    m_pwndParent->RunOperation(*operation);
}

void CListCtrlFile::OnRenameFile(wxCommandEvent &event) {
  if (TakeEnabledEntry(event.GetId())) m_pwndParent->ReName();
}
