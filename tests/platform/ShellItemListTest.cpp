// Item identifier lists at the byte level: the folder tree and the file list walk, join and copy
// them, so a wrong size or a missing terminator makes later walks read past a block.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ShellItemList.h"

namespace {

using platform::ITEMIDLIST;
using Bytes = std::vector<unsigned char>;

// A list made of items whose counts are given; each item's bytes after its count are `fill`.
Bytes MakeList(std::initializer_list<unsigned> counts, unsigned char fill = 0xA5) {
  Bytes bytes;
  for (unsigned count : counts) {
    bytes.push_back(static_cast<unsigned char>(count & 0xFF));
    bytes.push_back(static_cast<unsigned char>(count >> 8));
    bytes.insert(bytes.end(), count - 2, fill++);
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

const ITEMIDLIST *List(const Bytes &bytes) {
  return reinterpret_cast<const ITEMIDLIST *>(bytes.data());
}

// The bytes of a list; none for null.
Bytes BytesOf(const ITEMIDLIST *list) {
  const auto *first = reinterpret_cast<const unsigned char *>(list);
  return list == nullptr ? Bytes() : Bytes(first, first + platform::GetSize(list));
}

// The bytes of a list handed out by a helper; frees it.
Bytes Take(ITEMIDLIST *list) {
  EXPECT_NE(list, nullptr);
  Bytes bytes = BytesOf(list);
  platform::ShellFree(list);
  return bytes;
}

TEST(ShellItemList, SizeAndNext) {
  EXPECT_EQ(platform::GetSize(nullptr), 0u);
  EXPECT_EQ(platform::GetSize(List(MakeList({}))), 2u);
  EXPECT_EQ(platform::GetSize(List(MakeList({20}))), 22u);
  const Bytes two = MakeList({20, 7});
  EXPECT_EQ(platform::GetSize(List(two)), 29u);
  EXPECT_EQ(reinterpret_cast<const unsigned char *>(platform::Next(List(two))), two.data() + 20);

  // Create hands out zeroed blocks: a 2-byte one is the empty list.
  EXPECT_EQ(Take(platform::Create(2)), MakeList({}));
}

TEST(ShellItemList, ConcatenationsCopyWholeLists) {
  const Bytes a = MakeList({5, 9}, 0x10), p = MakeList({12}, 0x40), empty = MakeList({});
  EXPECT_EQ(Take(platform::ConcatPidls(nullptr, List(p))), p);
  EXPECT_EQ(Take(platform::ConcatPidls(List(empty), List(p))), p);
  EXPECT_EQ(Take(platform::ConcatPidls(List(a), List(empty))), a);

  Bytes joined(a.begin(), a.end() - 2);
  joined.insert(joined.end(), p.begin(), p.end());
  EXPECT_EQ(Take(platform::ConcatPidls(List(a), List(p))), joined);
}

TEST(ShellItemList, CopyTakesTheFirstItemAndEndsTheCopy) {
  EXPECT_EQ(Take(platform::CopyITEMID(List(MakeList({})))), MakeList({}));
  // Of a two-item list only the first item is copied, and a terminator follows it, so the copy
  // is a complete relative list.
  EXPECT_EQ(Take(platform::CopyITEMID(List(MakeList({6, 9})))), MakeList({6}));
}

// The records of the tree and the list each hold a reference of their folder (freeing them gives
// it back, so the folder outlives them here) and lists of their own.
TEST(ShellItemList, RecordsHoldTheirFolderAndListsOfTheirOwn) {
  const platform::ShellFolderPtr desktop(platform::DesktopFolder());
  const Bytes parent = MakeList({5}, 0x10), item = MakeList({9}, 0x40), empty = MakeList({});
  platform::TVITEMDATA *child = platform::NewTreeItemData(desktop.get(), List(item), List(parent));
  platform::TVITEMDATA *root = platform::NewTreeItemData(desktop.get(), List(empty), nullptr);
  platform::LVITEMDATA *file = platform::NewListItemData(desktop.get(), List(item), 0x40000000);
  ASSERT_TRUE(child != nullptr && root != nullptr && file != nullptr);
  EXPECT_EQ(child->lpsfParent, desktop.get());
  EXPECT_EQ(BytesOf(child->lpi), item);
  EXPECT_NE(child->lpi, List(item));
  Bytes absolute(parent.begin(), parent.end() - 2);
  absolute.insert(absolute.end(), item.begin(), item.end());
  EXPECT_EQ(BytesOf(child->lpifq), absolute);
  EXPECT_EQ(BytesOf(root->lpi), empty);
  EXPECT_EQ(root->lpifq, nullptr);  // the desktop has no absolute list
  EXPECT_EQ(file->lpsfParent, desktop.get());
  EXPECT_EQ(BytesOf(file->lpi), item);
  EXPECT_EQ(file->ulAttribs, 0x40000000u);
  platform::FreeItemData(child);
  platform::FreeItemData(root);
  platform::FreeItemData(file);
}

TEST(ShellItemList, ComparePidlTellsEqualAncestorAndOther) {
  const Bytes parent = MakeList({6, 8}), child = MakeList({6, 8, 4});
  const Bytes six = MakeList({6}), seven = MakeList({7});
  Bytes other = parent;
  other[5] ^= 1;  // one byte of the first item differs
  struct Case {
    const Bytes &item, &source;
    int expected;
  } cases[] = {{parent, parent, 0},
               {parent, child, 1},
               {child, parent, -1},
               {other, parent, -1},
               {six, seven, -1}};
  for (const Case &c : cases)
    EXPECT_EQ(platform::ComparePidl(List(c.item), List(c.source)), c.expected);
}

}  // namespace
