#include "app/filepane/TreeCtrlFolder.h"

#include <wx/dc.h>
#include <wx/imaglist.h>
#include <wx/utils.h>

#include <vector>

#include "app/common/FileNameText.h"
#include "app/filepane/PaneInterfaces.h"
#include "app/filepane/ShellImageList.h"
#include "platform/Path.h"
#include "platform/StringCase.h"

using namespace platform;

namespace {

constexpr unsigned kIconFlags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

// A tree item's data: its record, freed with the item, and whether the item's children were
// inserted already (each folder is filled once).
class FolderItemData : public wxTreeItemData {
 public:
  explicit FolderItemData(TVITEMDATA *record) : record(record) {}
  ~FolderItemData() override { FreeItemData(record); }
  FolderItemData(const FolderItemData &) = delete;
  FolderItemData &operator=(const FolderItemData &) = delete;

  TVITEMDATA *record;
  bool filled = false;
};

}  // namespace

bool CTreeCtrlFolder::Create(wxWindow *parent) {
  if (!wxTreeCtrl::Create(parent, wxID_ANY, wxPoint(0, 0), wxSize(10, 10),
                          wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE |
                              wxTR_FULL_ROW_HIGHLIGHT | wxBORDER_SIMPLE)) {
    return false;
  }
  Bind(wxEVT_TREE_ITEM_EXPANDING, &CTreeCtrlFolder::OnItemExpanding, this);
  Bind(wxEVT_TREE_SEL_CHANGED, &CTreeCtrlFolder::OnSelChanged, this);
  Bind(wxEVT_LEFT_DCLICK, &CTreeCtrlFolder::OnLButtonDblClk, this);
  return true;
}

wxString CTreeCtrlFolder::GetStringValue() const {
  return FileNameLine(m_selPath);
}

wxSize CTreeCtrlFolder::GetAdjustedSize(int, int, int) {
  return wxSize(m_combo->GetSize().x - 2, m_pComboBoxFolder->GetDroppedHeight());
}

TVITEMDATA *CTreeCtrlFolder::GetItemRecord(const wxTreeItemId &item) const {
  if (!item.IsOk()) return nullptr;
  auto *data = static_cast<FolderItemData *>(GetItemData(item));
  return data == nullptr ? nullptr : data->record;
}

void CTreeCtrlFolder::Initilize(FolderTreeCombo *pComboBoxFolder, FolderTreeOwner *wndParent,
                                const std::string &sInitFolder) {
  m_wndParent = wndParent;
  m_pComboBoxFolder = pComboBoxFolder;
  SetImageList(&ShellImageList());

  DeleteAllItems();
  const ShellFolderPtr desktopReference(DesktopFolder());
  ShellFolder *desktop = desktopReference.get();
  ItemIdPtr empty(platform::Create(2));
  TVITEMDATA *record = empty ? NewTreeItemData(desktop, empty.get(), nullptr) : nullptr;
  if (record == nullptr) return;  // out of memory: the tree stays empty

  std::string name;
  platform::GetName(desktop, nullptr, SHGDN_NORMAL, name);
  const int icon = GetItemIcon(empty.get(), kIconFlags);
  auto *data = new FolderItemData(record);
  data->filled = true;  // the desktop's children are inserted here, once
  const wxTreeItemId root = AddRoot(FileNameLine(name), icon, icon, data);
  SetItemHasChildren(root, true);
  m_hPreItem = root;
  FillTreeView(desktop, empty.get(), root, "");

  // Selecting lists the folder and expands it, so that the next name of the saved path is
  // sought among its children. A name that matches nothing leaves the walk where it is.
  UnselectAll();
  SelectItem(root);
  wxTreeItemId current = root;
  std::size_t start = 0;
  do {
    const std::size_t end = sInitFolder.find(kPathSeparator, start);
    const std::string component = sInitFolder.substr(start, end - start);
    start = end == std::string::npos ? end : end + 1;
    if (const wxTreeItemId match = FindChild(current, component); match.IsOk()) current = match;
    SelectItem(current);
  } while (start < sInitFolder.size());
}

wxTreeItemId CTreeCtrlFolder::FindChild(const wxTreeItemId &parent, const std::string &name) const {
  wxTreeItemId firstNoCase;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk();
       child = GetNextChild(parent, cookie)) {
    const std::string text = NameOf(child);
    if (text == name) return child;
    if (!firstNoCase.IsOk() && EqualsNoCase(text, name)) firstNoCase = child;
  }
  return firstNoCase;
}

std::string CTreeCtrlFolder::NameOf(const wxTreeItemId &item) const {
  // The name's own bytes, never the shown text, which need not lead back to the folder.
  const TVITEMDATA *record = GetItemRecord(item);
  std::string name;
  if (record != nullptr) platform::GetName(record->lpsfParent, record->lpi, SHGDN_NORMAL, name);
  return name;
}

wxTreeItemId CTreeCtrlFolder::ChildNamed(const wxTreeItemId &parent,
                                         const std::string &name) const {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk();
       child = GetNextChild(parent, cookie)) {
    if (NameOf(child) == name) return child;
  }
  return {};
}

wxTreeItemId CTreeCtrlFolder::FillTreeView(ShellFolder *lpsf, const ITEMIDLIST *lpifq,
                                           const wxTreeItemId &hParent, const std::string &sObj) {
  wxBusyCursor busy;
  wxTreeItemId found;
  std::vector<ItemIdPtr> items;
  if (!lpsf->EnumObjects(items)) return found;
  for (ItemIdPtr &item : items) {
    const unsigned long attributes =
        lpsf->GetAttributesOf(item.get(), SFGAO_HASSUBFOLDER | SFGAO_FOLDER);
    if (!(attributes & SFGAO_FOLDER)) continue;
    std::string name;
    if (!platform::GetName(lpsf, item.get(), SHGDN_NORMAL, name)) continue;

    TVITEMDATA *record = NewTreeItemData(lpsf, item.get(), lpifq);
    if (record == nullptr) break;
    // The icons go in with the item: set afterwards, each one would measure the item again.
    int image = -1, selectedImage = -1;
    GetNormalAndSelectedIcons(record->lpifq, image, selectedImage);
    const wxTreeItemId child =
        AppendItem(hParent, FileNameLine(name), image, selectedImage, new FolderItemData(record));
    if (attributes & SFGAO_HASSUBFOLDER) SetItemHasChildren(child, true);
    if (EqualsNoCase(name, sObj)) found = child;
  }
  return found;
}

void CTreeCtrlFolder::GetNormalAndSelectedIcons(const ITEMIDLIST *lpifq, int &image,
                                                int &selectedImage) {
  image = GetItemIcon(lpifq, kIconFlags);
  selectedImage = GetItemIcon(lpifq, kIconFlags | SHGFI_OPENICON);
}

int CTreeCtrlFolder::TreeViewCompareProc(const TVITEMDATA *lparam1, const TVITEMDATA *lparam2) {
  if (lparam1 == nullptr || lparam2 == nullptr) return 0;
  return lparam1->lpsfParent->CompareIDs(lparam1->lpi, lparam2->lpi);
}

int CTreeCtrlFolder::OnCompareItems(const wxTreeItemId &item1, const wxTreeItemId &item2) {
  return TreeViewCompareProc(GetItemRecord(item1), GetItemRecord(item2));
}

bool CTreeCtrlFolder::ChildrenInOrder(const wxTreeItemId &parent) {
  wxTreeItemIdValue cookie;
  wxTreeItemId previous = GetFirstChild(parent, cookie);
  for (wxTreeItemId child = previous.IsOk() ? GetNextChild(parent, cookie) : previous; child.IsOk();
       previous = child, child = GetNextChild(parent, cookie)) {
    if (OnCompareItems(previous, child) > 0) return false;
  }
  return true;
}

void CTreeCtrlFolder::OnItemExpanding(wxTreeEvent &event) {
  const wxTreeItemId item = event.GetItem();
  auto *data = static_cast<FolderItemData *>(GetItemData(item));
  if (data == nullptr || data->filled) return;
  data->filled = true;
  // The children hold their own references to the folder.
  if (const ShellFolderPtr folder{data->record->lpsfParent->BindToObject(data->record->lpi)})
    FillTreeView(folder.get(), data->record->lpifq, item, "");
  // The folder gives its folders in this order already; the toolkit's sort would spend far
  // more on finding that out than this look does.
  if (!ChildrenInOrder(item)) SortChildren(item);
  // A folder that turned out to hold no folders loses its expand button.
  if (GetChildrenCount(item, false) == 0) SetItemHasChildren(item, false);
}

void CTreeCtrlFolder::OnSelChanged(wxTreeEvent &event) {
  // Back on a folder that is still listed: nothing else changes.
  if (m_returning && !m_listAgain) return;
  const wxTreeItemId item = event.GetItem();
  const TVITEMDATA *record = GetItemRecord(item);
  if (record == nullptr) return;

  // The folder is obtained only to prove that the item opens.
  const ShellFolderPtr folder(
      item == GetRootItem() ? DesktopFolder() : record->lpsfParent->BindToObject(record->lpi));
  if (folder == nullptr) {
    // Otherwise the tree would show a folder that the list does not, and later commands would
    // act on the wrong folder. The previous folder's listing, the preview and the selected
    // files stay as they are.
    ReturnToPrevious(item, false);
    return;
  }
  const unsigned long attributes = record->lpsfParent->GetAttributesOf(
      record->lpi, SFGAO_FOLDER | SFGAO_REMOVABLE | SFGAO_FILESYSTEM);
  const bool listed = m_wndParent != nullptr && m_wndParent->PopulateFileList(item, 1) != 0;
  if (!listed) {
    ReturnToPrevious(item, true);
    return;
  }

  m_hPreItem = item;
  Expand(item);
  std::string name;
  platform::GetName(record->lpsfParent, record->lpi,
                    (attributes & SFGAO_FILESYSTEM) ? SHGDN_FORPARSING : SHGDN_NORMAL, name);
  m_selPath = name;
  m_combo->SetText(FileNameLine(m_selPath));
  m_combo->Refresh();
  if (m_combo->IsPopupShown()) Dismiss();
}

void CTreeCtrlFolder::ReturnToPrevious(const wxTreeItemId &failed, bool listAgain) {
  // Going back happens once: when the previous folder fails too, the selection stays there.
  if (m_returning || failed == m_hPreItem || !m_hPreItem.IsOk()) return;
  m_returning = true;
  m_listAgain = listAgain;
  SelectItem(m_hPreItem);
  m_returning = false;
}

void CTreeCtrlFolder::OnLButtonDblClk(wxMouseEvent &event) {
  if (m_combo != nullptr && m_combo->IsPopupShown()) Dismiss();
  event.Skip();
}

std::string CTreeCtrlFolder::GetFullPath() const {
  std::string path;
  const wxTreeItemId root = GetRootItem();
  for (wxTreeItemId item = GetSelection(); item.IsOk() && item != root;
       item = GetItemParent(item)) {
    std::string text = NameOf(item);
    if (!path.empty()) text += kPathSeparator;
    path.insert(0, text);
  }
  if (!path.empty()) path += kPathSeparator;
  return path;
}

void CTreeCtrlFolder::UpateAgain() {
  const wxTreeItemId item = GetSelection();
  if (item.IsOk() && m_wndParent != nullptr) m_wndParent->PopulateFileList(item, 0);
}

void CTreeCtrlFolder::PaintComboControl(wxDC &dc, const wxRect &rect) {
  m_combo->PrepareBackground(dc, rect, 0);
  const wxTreeItemId item = GetSelection();
  wxImageList *images = GetImageList();
  if (!item.IsOk() || images == nullptr) return;
  const int iconWidth = m_pComboBoxFolder->GetIconWidth();
  const int clientHeight = m_combo->GetClientSize().y;
  images->Draw(GetItemImage(item, wxTreeItemIcon_Normal), dc, 4, (clientHeight - iconWidth) / 2,
               wxIMAGELIST_DRAW_TRANSPARENT);
  const wxString text = FileNameLine(m_selPath);
  const int textX = 4 + iconWidth + 4;
  dc.DrawText(text, textX, rect.y + (rect.height - dc.GetCharHeight()) / 2);
}
