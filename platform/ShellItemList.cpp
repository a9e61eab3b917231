#include "platform/ShellItemList.h"

#include <cstring>
#include <new>

#include "platform/ShellIcons.h"

namespace platform {

namespace {

// A new record from ShellAlloc with the fields both kinds share: a reference of folder and the
// record's own copy of item; the others null or 0. Null when memory runs out.
template <class Record>
Record *NewRecord(ShellFolder *folder, const ITEMIDLIST *item) {
  void *block = ShellAlloc(sizeof(Record));
  if (block == nullptr) return nullptr;
  auto *record = new (block) Record{};
  record->lpi = CopyITEMID(item);
  if (record->lpi == nullptr) {
    ShellFree(record);
    return nullptr;
  }
  record->lpsfParent = folder;
  folder->AddRef();
  return record;
}

}  // namespace

TVITEMDATA *NewTreeItemData(ShellFolder *folder, const ITEMIDLIST *item,
                            const ITEMIDLIST *parentAbsolute) {
  TVITEMDATA *record = NewRecord<TVITEMDATA>(folder, item);
  if (record == nullptr || parentAbsolute == nullptr) return record;
  record->lpifq = ConcatPidls(parentAbsolute, item);
  if (record->lpifq == nullptr) {
    FreeItemData(record);
    return nullptr;
  }
  return record;
}

LVITEMDATA *NewListItemData(ShellFolder *folder, const ITEMIDLIST *item, unsigned long attribs) {
  LVITEMDATA *record = NewRecord<LVITEMDATA>(folder, item);
  if (record != nullptr) record->ulAttribs = attribs;
  return record;
}

void FreeItemData(TVITEMDATA *record) {
  if (record == nullptr) return;
  if (record->lpsfParent != nullptr) record->lpsfParent->Release();
  ShellFree(record->lpi);
  ShellFree(record->lpifq);
  ShellFree(record);
}

void FreeItemData(LVITEMDATA *record) {
  if (record == nullptr) return;
  if (record->lpsfParent != nullptr) record->lpsfParent->Release();
  ShellFree(record->lpi);
  ShellFree(record);
}

const ITEMIDLIST *Next(const ITEMIDLIST *pidl) {
  return NextItem(pidl);
}

unsigned int GetSize(const ITEMIDLIST *pidl) {
  if (pidl == nullptr) return 0;
  unsigned int size = 2;
  for (; ItemCount(pidl) != 0; pidl = Next(pidl)) size += ItemCount(pidl);
  return size;
}

ITEMIDLIST *Create(unsigned int cbSize) {
  void *block = ShellAlloc(cbSize == 0 ? 1 : cbSize);
  if (block != nullptr) std::memset(block, 0, cbSize);
  return static_cast<ITEMIDLIST *>(block);
}

ITEMIDLIST *ConcatPidls(const ITEMIDLIST *pidl1, const ITEMIDLIST *pidl2) {
  const unsigned int cb1 = pidl1 == nullptr ? 0 : GetSize(pidl1) - 2;
  const unsigned int cb2 = pidl2 == nullptr ? 2 : GetSize(pidl2);
  auto *list = reinterpret_cast<unsigned char *>(Create(cb1 + cb2));
  if (list == nullptr) return nullptr;
  if (cb1 != 0) std::memcpy(list, ItemBytes(pidl1), cb1);
  if (pidl2 != nullptr) std::memcpy(list + cb1, ItemBytes(pidl2), cb2);
  return reinterpret_cast<ITEMIDLIST *>(list);
}

ITEMIDLIST *CopyITEMID(const ITEMIDLIST *lpi) {
  const unsigned int cb = lpi == nullptr ? 0 : ItemCount(lpi);
  // Create zeroes the block, so the two bytes after the item end the copy.
  auto *copy = reinterpret_cast<unsigned char *>(Create(cb + 2));
  if (copy != nullptr && cb != 0) std::memcpy(copy, ItemBytes(lpi), cb);
  return reinterpret_cast<ITEMIDLIST *>(copy);
}

int GetItemIcon(const ITEMIDLIST *lpi, unsigned uFlags) {
  return IconOfItem(lpi, (uFlags & SHGFI_OPENICON) != 0);
}

bool GetName(const ShellFolder *lpsf, const ITEMIDLIST *lpi, unsigned dwFlags, std::string &name) {
  ShellName answer;
  if (lpsf == nullptr || !lpsf->GetDisplayNameOf(lpi, dwFlags, answer)) return false;
  if (answer.kind == ShellName::kText) {
    name = std::move(answer.text);
    return true;
  }
  // A name inside the list: read it only within the item that holds its first byte.
  if (lpi == nullptr) return false;
  std::size_t start = 0;
  for (const ITEMIDLIST *item = lpi; ItemCount(item) != 0; item = Next(item)) {
    const std::size_t count = ItemCount(item);
    if (answer.offset >= start + 2 && answer.offset < start + count) {
      const char *first = reinterpret_cast<const char *>(ItemBytes(lpi)) + answer.offset;
      const std::size_t length = strnlen(first, start + count - answer.offset);
      if (length == 0) return false;
      name.assign(first, length);
      return true;
    }
    start += count;
  }
  return false;
}

ITEMIDLIST *GetFullyQualPidl(const std::string &sfilepath) {
  const ShellFolderPtr desktop(DesktopFolder());
  return desktop->ParseDisplayName(sfilepath).release();
}

int ComparePidl(const ITEMIDLIST *lpiItem, const ITEMIDLIST *lpiSrc) {
  if (lpiItem == nullptr || lpiSrc == nullptr) return lpiItem == lpiSrc ? 0 : -1;
  for (; ItemCount(lpiItem) != 0; lpiItem = Next(lpiItem), lpiSrc = Next(lpiSrc)) {
    const unsigned count = ItemCount(lpiItem);
    if (count != ItemCount(lpiSrc) || std::memcmp(lpiItem, lpiSrc, count) != 0) return -1;
  }
  return ItemCount(lpiSrc) == 0 ? 0 : 1;
}

}  // namespace platform
