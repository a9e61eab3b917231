// The file pane's list of the folders and picture files of the folder chosen in the folder
// tree: one column in report view, no header, several items selectable. Each item carries an
// item record (LVITEMDATA) that the list owns from its insertion and frees when the item goes.
// The list reports selection changes and clicks to the pane, opens a folder on a double-click
// by selecting it in the tree, and offers the conversion commands in a context menu.
#pragma once

#include <wx/listctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/ExportEntries.h"

class FileListOwner;
class wxMenu;
class CTreeCtrlFolder;

namespace platform {
struct ITEMIDLIST;
struct LVITEMDATA;
}  // namespace platform

class CListCtrlFile : public wxListCtrl {
 public:
  CListCtrlFile(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size);
  // Frees the records of the items still listed and a context menu still loaded.
  ~CListCtrlFile() override;

  // Keeps the folder tree and the pane; the pane calls it once, in its first update.
  void Initilize(CTreeCtrlFolder *pTreeCtrl, FileListOwner *pwndParent);

  // Inserts an item at index for record, which the list owns from then on, with the record's
  // name as its text and its icon; folder is the absolute list of the listed folder. The index
  // of the new item, or -1 when it could not be inserted (the record is then the caller's).
  long InsertRecord(long index, platform::LVITEMDATA *record, const platform::ITEMIDLIST *folder);
  // Between these two, InsertRecord takes items in at the cost of storing them. In report view
  // the toolkit's list measures the text of each item it takes in, with a drawing context made
  // for it alone, which costs far more than the rest of a listing; in list view it measures
  // nothing until it lays the items out, and report view draws each item from the column's
  // width, not from its own. So the items go in while the list is in list view, and it is back
  // in report view before anything can lay it out or draw it.
  void BeginInsertions();
  void EndInsertions();
  // Deletes every item and frees their records (the toolkit reports no single deletions here).
  bool DeleteAllItems();
  // Whether every item stands where sorting by compare (called as for SortItems, with 0) would
  // leave it.
  bool IsInOrder(wxListCtrlCompare compare) const;
  // The record of item, or null.
  platform::LVITEMDATA *GetRecord(long item) const;

  // Appends the full paths of the selected items that are files (not folders), in list order;
  // returns how many it appended.
  int GetFilesInChoose(std::vector<std::string> &files) const;
  // The same paths, worked out once per change of the selection from what each item's record
  // says about it since it was listed; only an item chosen alone is looked up on the disk again.
  const std::vector<std::string> &ChosenFiles() const;
  // Changes whenever the selection or the listing changes, so that what a caller works out from
  // ChosenFiles can be kept until then.
  unsigned long SelectionGeneration() const { return m_selectionGeneration; }
  // Reports a change of the selection to the pane now, when one is still put off. A range
  // selected or cleared at once changes every item in it, one event each; the pane hears of the
  // change once, after the last of them.
  void ReportPendingChange();

  // Builds the context menu for the current selection and keeps it as the loaded menu: the
  // first popup of "IDR_CONVERTMENU", trimmed to the side of the selection, with the export
  // entries filled in and the entries grayed by position. The caller shows it (or not).
  wxMenu *LoadContextMenu();
  // The menu of the last right click, until one of its conversion commands has run.
  wxMenu *GetLoadedMenu() const { return m_hMenu.get(); }

 private:
  void OnItemchanged(wxListEvent &event);
  void OnDeleteItem(wxListEvent &event);
  void OnMouseDown(wxMouseEvent &event);
  void OnMouseUp(wxMouseEvent &event);
  void OnChar(wxKeyEvent &event);
  void OnRightDown(wxMouseEvent &event);
  void OnUpdateMenuEntry(wxUpdateUIEvent &event);
  void OnMouseDblClk(wxMouseEvent &event);
  void OnContextMenu(wxContextMenuEvent &event);
  void OnClick(const wxPoint &point);
  void OnDblclk(const wxPoint &point);
  void OnConvertClick(wxCommandEvent &event);
  void OnRenameFile(wxCommandEvent &event);
  // Unloads the context menu a command of it came from; true when the command's entry is there
  // and not greyed, so the command may run.
  bool TakeEnabledEntry(int id);

  // The window that shows the items and receives the mouse; HitTest takes its coordinates.
  wxWindow *ItemsWindow();
  // Tells the pane about item (-1: none): its path when it is a file, else nothing.
  void ReportItem(long item);
  // After a plain click on item: item is selected and no other is.
  void SelectAlone(long item);
  // A click (shift: Shift held, add: Ctrl held) or a move from the keyboard onto item (-1: no
  // item): with Shift the range from the anchor is selected here and the event ends; otherwise
  // item becomes the anchor and the toolkit's list goes on with the event.
  void MoveOnto(long item, bool shift, bool add, wxEvent &event);
  // After a Shift+click on item or a move to it with Shift: the items from the anchor to item
  // are selected, and with add the items selected before stay so; item becomes current.
  void SelectRange(long item, bool add);
  // The item a move key (arrows, Home, End, pages) goes to from the current item, or -1.
  long MoveTarget(int key) const;
  // The item under point (the list's client coordinates), or -1.
  long ItemAt(const wxPoint &point) const;
  // The full path of item when it names a file, not a folder, as it was when listed.
  bool FilePathOf(long item, std::string &path) const;
  // The selection or the items changed: what was worked out from them is stale.
  void SelectionChanged();

  CTreeCtrlFolder *m_pTreeCtrl = nullptr;
  FileListOwner *m_pwndParent = nullptr;
  std::unique_ptr<wxMenu> m_hMenu;
  // A menu whose command has run, kept until the popup that showed it has returned.
  std::unique_ptr<wxMenu> m_retiredMenu;
  // The export format of each entry of the loaded menu, kept when the entries are built.
  ExportFormats m_exportFormats;
  long m_iSelectItem = -1;
  // The item of the last change event, to be reported once the events of one change are in.
  long m_pendingItem = -1;
  bool m_reportPending = false;
  // The paths of ChosenFiles as of selection generation m_chosenFor; worked out again when the
  // generation has moved on.
  mutable std::vector<std::string> m_chosenFiles;
  mutable unsigned long m_chosenFor = 0;
  unsigned long m_selectionGeneration = 1;
  // The item under the last press of the left button, or -1, and the listing it was in.
  long m_pressedItem = -1;
  unsigned long m_pressListing = 0;
  // Counts the listings: each emptying of the list starts another.
  unsigned long m_listingGeneration = 0;
  // Where the ranges of Shift+clicks and Shift+moves start: the item of the last click or move
  // without Shift, or -1.
  long m_anchor = -1;
  // The menu of the last right button press has been shown.
  bool m_bPressHadMenu = false;
};
