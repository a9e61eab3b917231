// The file pane's listing: which items of the folder chosen in the folder tree the file list
// shows under the chosen filter, in the namespace's order, and on which side a selection
// stands.
#include <wx/settings.h>
#include <wx/utils.h>

#include "app/filepane/ComboBoxColor.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/ShellImageList.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "codec/KdtFormatName.h"
#include "platform/ShellItemList.h"
#include "platform/StringCase.h"

using platform::LVITEMDATA;
using platform::ShellFolder;
using platform::TVITEMDATA;

namespace {

// Folders and removable media are listed whatever the filter.
constexpr unsigned long kAlwaysListed = platform::SFGAO_FOLDER | platform::SFGAO_REMOVABLE;

// The namespace's own order of two listed items.
int wxCALLBACK ListViewCompareProc(wxIntPtr lParam1, wxIntPtr lParam2, wxIntPtr) {
  const auto *first = reinterpret_cast<const LVITEMDATA *>(lParam1);
  const auto *second = reinterpret_cast<const LVITEMDATA *>(lParam2);
  if (first == nullptr || second == nullptr || first->lpsfParent == nullptr) return 0;
  return first->lpsfParent->CompareIDs(first->lpi, second->lpi);
}

}  // namespace

void CFilesView::OnSelFilter(wxCommandEvent &) {
  const std::string text = m_cmbFilter->GetStringSelection().utf8_string();
  m_bExport = platform::EqualsNoCase(text, kKdtPattern) ? 1 : 0;
  m_bAnyExt = text == "*.*" ? 1 : 0;
  m_sFilter = text;
  const CTreeCtrlFolder *tree = m_cmbDirectory != nullptr ? m_cmbDirectory->GetTreeCtrl() : nullptr;
  if (tree != nullptr && tree->GetSelection().IsOk()) PopulateFileList(tree->GetSelection(), 1);
}

int CFilesView::PopulateFileList(const wxTreeItemId &hItem, int updateImg) {
  const CTreeCtrlFolder *tree = m_cmbDirectory != nullptr ? m_cmbDirectory->GetTreeCtrl() : nullptr;
  TVITEMDATA *lptvid = tree != nullptr ? tree->GetItemRecord(hItem) : nullptr;
  if (lptvid == nullptr) return 0;
  // The items hold their own references to the folder.
  const platform::ShellFolderPtr folder(hItem == tree->GetRootItem()
                                            ? platform::DesktopFolder()
                                            : lptvid->lpsfParent->BindToObject(lptvid->lpi));
  if (folder == nullptr) return 0;
  const int result = PopulateListView(lptvid, folder.get());
  if (updateImg) {
    ClearPreview();
    m_sfilesInChoose.clear();
  }
  return result;
}

int CFilesView::PopulateListView(TVITEMDATA *lptvid, ShellFolder *lpsf) {
  m_lstFiles->DeleteAllItems();
  if (!InitListViewImageLists() || !InitListViewItems(lptvid, lpsf)) return 0;
  // The folder gives its items in this order already; the toolkit's sort would spend far more
  // on finding that out than this look does.
  if (!m_lstFiles->IsInOrder(ListViewCompareProc)) m_lstFiles->SortItems(ListViewCompareProc, 0);
  m_sSourceDirectory = m_cmbDirectory->GetFullPath();
  return 1;
}

int CFilesView::InitListViewImageLists() {
  // The one image list of the namespace's icons, shared with the folder tree.
  m_lstFiles->SetImageList(&ShellImageList(), wxIMAGE_LIST_SMALL);
  return 1;
}

int CFilesView::InitListViewItems(TVITEMDATA *lptvid, ShellFolder *lpsf) {
  m_lstFiles->DeleteAllColumns();
  m_lstFiles->InsertColumn(
      0, "File Name", wxLIST_FORMAT_LEFT,
      GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this) - 14);

  wxBusyCursor busy;
  std::vector<platform::ItemIdPtr> items;
  if (!lpsf->EnumObjects(items)) return 0;
  long inserted = 0;
  m_lstFiles->BeginInsertions();
  for (const platform::ItemIdPtr &item : items) {
    // Every attribute but has-subfolder, which would read each folder, and which only a
    // folder has: folders are listed anyway.
    const unsigned long attribs = lpsf->GetAttributesOf(item.get(), ~platform::SFGAO_HASSUBFOLDER);
    bool listed = (attribs & kAlwaysListed) != 0;
    if (!listed && (attribs & platform::SFGAO_FILESYSTEM) != 0) {
      std::string path;
      listed = m_bAnyExt != 0 ||
               (platform::GetName(lpsf, item.get(), platform::SHGDN_FORPARSING, path) &&
                IsValidFileType(path));
    }
    if (!listed) continue;

    // Without memory for a record the listing ends with the items listed so far.
    LVITEMDATA *record = platform::NewListItemData(lpsf, item.get(), attribs);
    if (record == nullptr) break;
    if (m_lstFiles->InsertRecord(inserted, record, lptvid->lpifq) < 0) {
      platform::FreeItemData(record);
      m_lstFiles->EndInsertions();
      return 0;
    }
    ++inserted;
  }
  m_lstFiles->EndInsertions();
  return 1;
}
