// The folder combo at the top of the file pane: shows the listed folder with its icon and path,
// and a click drops down the folder tree below it instead of a list.
#pragma once

#include <wx/combo.h>

#include <string>

#include "app/filepane/PaneInterfaces.h"

class CTreeCtrlFolder;

class CComboBoxFolder : public wxComboCtrl, public FolderTreeCombo {
 public:
  CComboBoxFolder(wxWindow *parent, wxWindowID id);

  // Creates the drop-down tree, fills it and opens the saved folder `sInitFolder` (see
  // CTreeCtrlFolder::Initilize). The tree drops down iHeight pixels high (100 when not
  // positive). The pane calls it once, with itself as wndParent.
  void Initilize(int iWidth, int iHeight, FolderTreeOwner *wndParent,
                 const std::string &sInitFolder);

  // Shows the tree below the combo.
  void DisplayTree();

  int GetDroppedHeight() const override { return m_droppedHeight; }
  void SetDroppedHeight(int height) { m_droppedHeight = height; }
  int GetDroppedWidth() const { return m_droppedWidth; }
  void SetDroppedWidth(int width) { m_droppedWidth = width; }
  int GetIconWidth() const override { return m_iconWidth; }

  std::string GetFullPath() const;
  std::string GetSelPath() const;
  CTreeCtrlFolder *GetTreeCtrl() const { return m_treeCtrl; }

  // Lists the tree's folder again (after a conversion into it or a rename).
  void UpdateFolderAgain();

 protected:
  void DoShowPopup(const wxRect &rect, int flags) override;

 private:
  CTreeCtrlFolder *m_treeCtrl = nullptr;  // owned by the combo's popup window
  int m_iconWidth = 16;
  int m_droppedHeight = 100;
  int m_droppedWidth = 0;
};
