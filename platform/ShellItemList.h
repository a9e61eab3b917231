// Helpers over item identifier lists for the folder tree and the file list, and the records
// that pair their items with the namespace. Lists handed out here come from ShellAlloc and
// belong to the caller, who frees them with ShellFree.
#pragma once

#include <string>

#include "platform/ItemIdList.h"
#include "platform/ShellNamespace.h"

namespace platform {

// Flags of GetItemIcon; the callers pass SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON for
// an item's icon, with SHGFI_OPENICON added for a folder's open icon.
constexpr unsigned SHGFI_SMALLICON = 0x0001;
constexpr unsigned SHGFI_OPENICON = 0x0002;
constexpr unsigned SHGFI_PIDL = 0x0008;
constexpr unsigned SHGFI_SYSICONINDEX = 0x4000;

// The record of a folder-tree item: the folder holding the item (one reference held by the
// record), the record's own relative list of the item in it, and the item's absolute list
// (null for the desktop).
struct TVITEMDATA {
  ShellFolder *lpsfParent;
  ITEMIDLIST *lpi;
  ITEMIDLIST *lpifq;
};
using LPTVITEMDATA = TVITEMDATA *;

// The record of a file-list item: the listed folder (one reference held by the record), the
// record's own relative list of the item in it, and the item's attributes when it was listed.
struct LVITEMDATA {
  ShellFolder *lpsfParent;
  ITEMIDLIST *lpi;
  unsigned long ulAttribs;
};
using LPLVITEMDATA = LVITEMDATA *;

// The records are built here only. A new record of the relative list `item` (one item) of
// `folder`: the record holds a reference of folder and its own copy of item. Null, with nothing
// held, when memory runs out.
// A tree record's absolute list is parentAbsolute, the absolute list of folder, followed by
// item; a null parentAbsolute is the desktop's own record, which has none.
TVITEMDATA *NewTreeItemData(ShellFolder *folder, const ITEMIDLIST *item,
                            const ITEMIDLIST *parentAbsolute);
// A list record keeps the item's attributes as they were when it was listed.
LVITEMDATA *NewListItemData(ShellFolder *folder, const ITEMIDLIST *item, unsigned long attribs);

// Gives back the record's folder reference and frees its lists and the record. Null is ignored.
void FreeItemData(TVITEMDATA *record);
void FreeItemData(LVITEMDATA *record);

// The second item of `pidl`; only for an item whose count is not 0.
const ITEMIDLIST *Next(const ITEMIDLIST *pidl);
inline ITEMIDLIST *Next(ITEMIDLIST *pidl) {
  return const_cast<ITEMIDLIST *>(Next(static_cast<const ITEMIDLIST *>(pidl)));
}

// 0 for null; otherwise the counts of all items plus 2 for the terminator.
unsigned int GetSize(const ITEMIDLIST *pidl);

// A new block of cbSize bytes, all zero; null when memory runs out.
ITEMIDLIST *Create(unsigned int cbSize);

// A new list: the items of pidl1 (none when null) followed by the whole of pidl2 (a null pidl2
// counts as the empty list). Null when memory runs out.
ITEMIDLIST *ConcatPidls(const ITEMIDLIST *pidl1, const ITEMIDLIST *pidl2);

// A new list holding the first item of `lpi` and a terminator: a complete copy of a relative
// list or of the empty list. Null when memory runs out.
ITEMIDLIST *CopyITEMID(const ITEMIDLIST *lpi);

// The index in the program's image list of the icon of the item named by the absolute list
// `lpi`: the open icon when uFlags holds SHGFI_OPENICON. Always a valid index.
int GetItemIcon(const ITEMIDLIST *lpi, unsigned uFlags);

// The name of the item `lpi` in the folder `lpsf` in the form dwFlags (SHGDN_NORMAL or
// SHGDN_FORPARSING). False, with `name` left as it was, when no name can be produced.
bool GetName(const ShellFolder *lpsf, const ITEMIDLIST *lpi, unsigned dwFlags, std::string &name);

// The absolute list of the existing file or folder `sfilepath`, or null.
ITEMIDLIST *GetFullyQualPidl(const std::string &sfilepath);

// 0 when the lists are equal, 1 when lpiItem is a leading part of lpiSrc (an ancestor of it),
// -1 otherwise.
int ComparePidl(const ITEMIDLIST *lpiItem, const ITEMIDLIST *lpiSrc);

}  // namespace platform
