#include "app/FilesView.h"

#include <wx/sizer.h>

#include <vector>

#include "app/ComboBoxFolder.h"
#include "app/TreeCtrlFolder.h"

namespace {
constexpr int kFolderComboId = 1000;
}  // namespace

CFilesView::CFilesView(wxWindow *parent) : wxPanel(parent, wxID_ANY) {
  m_imgEngine.Initialization();
  m_sFilesSet = m_imgEngine.GetFilesSet();

  m_cmbDirectory = new CComboBoxFolder(this, kFolderComboId);
  auto *sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_cmbDirectory, 0, wxEXPAND | wxALL, 1);
  SetSizer(sizer);
  m_cmbDirectory->Initilize(0, 300, this, "");
}

int CFilesView::PopulateFileList(const wxTreeItemId &hItem, int) {
  const CTreeCtrlFolder *tree = m_cmbDirectory->GetTreeCtrl();
  const platform::TVITEMDATA *record = tree->GetItemRecord(hItem);
  if (record == nullptr) return 0;
  platform::ShellFolder *folder = hItem == tree->GetRootItem()
                                      ? platform::DesktopFolder()
                                      : record->lpsfParent->BindToObject(record->lpi);
  if (folder == nullptr) return 0;
  std::vector<platform::ItemIdPtr> items;
  const bool read = folder->EnumObjects(items);
  folder->Release();
  return read ? 1 : 0;
}
