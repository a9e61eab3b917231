#include "app/filepane/ComboBoxFolder.h"

#include "app/filepane/TreeCtrlFolder.h"

CComboBoxFolder::CComboBoxFolder(wxWindow *parent, wxWindowID id)
    : wxComboCtrl(parent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxCB_READONLY) {}

void CComboBoxFolder::Initilize(int iWidth, int iHeight, FolderTreeOwner *wndParent,
                                const std::string &sInitFolder) {
  if (m_treeCtrl == nullptr) {
    m_treeCtrl = new CTreeCtrlFolder;
    SetPopupControl(m_treeCtrl);  // creates the tree now, so it can be filled before it shows
    // A combo with a child window counts as a container, which the window's first focus passes
    // over; so the popup window is listed among the pane's children (it stays a popup).
    if (wxWindow *popup = GetPopupWindow()) {
      RemoveChild(popup);
      GetParent()->AddChild(popup);
    }
  }
  m_treeCtrl->Initilize(this, wndParent, sInitFolder);
  m_droppedWidth = iWidth > 0 ? iWidth : GetClientSize().x;
  m_droppedHeight = iHeight > 0 ? iHeight : 100;
}

void CComboBoxFolder::DisplayTree() {
  ShowPopup();
}

void CComboBoxFolder::DoShowPopup(const wxRect &rect, int flags) {
  // Below the combo the tree leaves one pixel free.
  wxRect placed = rect;
  if (!(flags & ShowAbove)) placed.y += 1;
  wxComboCtrl::DoShowPopup(placed, flags);
  // The tree opens on the listed folder: once sized, it scrolls the folder into its view.
  if (m_treeCtrl != nullptr && m_treeCtrl->GetSelection().IsOk())
    m_treeCtrl->EnsureVisible(m_treeCtrl->GetSelection());
}

std::string CComboBoxFolder::GetFullPath() const {
  return m_treeCtrl == nullptr ? std::string() : m_treeCtrl->GetFullPath();
}

std::string CComboBoxFolder::GetSelPath() const {
  return m_treeCtrl == nullptr ? std::string() : m_treeCtrl->GetSelPath();
}

void CComboBoxFolder::UpdateFolderAgain() {
  if (m_treeCtrl != nullptr) m_treeCtrl->UpateAgain();
}
