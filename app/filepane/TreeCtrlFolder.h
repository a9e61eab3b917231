// The folder tree that drops down below the folder combo: the whole namespace with the desktop
// at its root, folders only, each folder filled at its first expansion. Selecting a folder asks
// the file pane to list it; a folder the pane cannot list sends the selection back to the
// folder listed before.
#pragma once

#include <wx/combo.h>
#include <wx/treectrl.h>

#include <string>

#include "platform/ShellItemList.h"

class FolderTreeCombo;
class FolderTreeOwner;

class CTreeCtrlFolder : public wxTreeCtrl, public wxComboPopup {
 public:
  CTreeCtrlFolder() = default;

  // Fills the desktop's level, selects the desktop (which lists it) and then walks the saved
  // path `sInitFolder` (display names below the desktop, each followed by the separator, as
  // GetFullPath gives them) down to the folder it names, listing each folder on the way.
  // `pComboBoxFolder` is the combo this tree is the popup of.
  void Initilize(FolderTreeCombo *pComboBoxFolder, FolderTreeOwner *wndParent,
                 const std::string &sInitFolder);

  // The display names from below the desktop down to the selected folder, each followed by the
  // separator; "" for the desktop.
  std::string GetFullPath() const;

  // The text the combo shows: the selected folder's file-system path, or its display name when
  // it has none.
  const std::string &GetSelPath() const { return m_selPath; }

  // Lists the selected folder again, keeping the preview; nothing when no item is selected.
  void UpateAgain();

  // The record of a tree item; owned by the item and freed with it.
  platform::TVITEMDATA *GetItemRecord(const wxTreeItemId &item) const;
  // The name of a folder item as its own bytes ("" for an item without a record).
  std::string NameOf(const wxTreeItemId &item) const;
  // The first child of `parent` whose name is exactly `name`; an invalid id when none is.
  wxTreeItemId ChildNamed(const wxTreeItemId &parent, const std::string &name) const;

  // The popup's side of the combo.
  bool Create(wxWindow *parent) override;
  wxWindow *GetControl() override { return this; }
  wxString GetStringValue() const override;
  wxSize GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) override;
  void PaintComboControl(wxDC &dc, const wxRect &rect) override;

 protected:
  int OnCompareItems(const wxTreeItemId &item1, const wxTreeItemId &item2) override;

 private:
  wxTreeItemId FillTreeView(platform::ShellFolder *lpsf, const platform::ITEMIDLIST *lpifq,
                            const wxTreeItemId &hParent, const std::string &sObj);
  // The icons of the folder item that the absolute list lpifq names, closed and open.
  static void GetNormalAndSelectedIcons(const platform::ITEMIDLIST *lpifq, int &image,
                                        int &selectedImage);
  static int TreeViewCompareProc(const platform::TVITEMDATA *lparam1,
                                 const platform::TVITEMDATA *lparam2);
  // The child of `parent` named `name`: the first whose name equals it, else the first whose
  // name equals it without regard to case; an invalid id when none does.
  wxTreeItemId FindChild(const wxTreeItemId &parent, const std::string &name) const;
  // Selects m_hPreItem again after the selection of failed did not list its folder; with
  // listAgain the previous folder is listed anew, otherwise the list, the preview and the
  // selected files are left as they are.
  void ReturnToPrevious(const wxTreeItemId &failed, bool listAgain);
  // Whether the children of parent stand in the order that sorting them would give.
  bool ChildrenInOrder(const wxTreeItemId &parent);

  void OnItemExpanding(wxTreeEvent &event);
  void OnSelChanged(wxTreeEvent &event);
  void OnLButtonDblClk(wxMouseEvent &event);

  FolderTreeCombo *m_pComboBoxFolder = nullptr;
  FolderTreeOwner *m_wndParent = nullptr;
  std::string m_selPath;
  wxTreeItemId m_hPreItem;   // the last item whose listing succeeded
  bool m_returning = false;  // selecting m_hPreItem again after a failed selection
  bool m_listAgain = false;  // that selection lists the previous folder anew
};
