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

// The bytes of a list handed out by a helper; frees it.
Bytes Take(ITEMIDLIST *list) {
  EXPECT_NE(list, nullptr);
  if (list == nullptr) return {};
  const auto *first = reinterpret_cast<const unsigned char *>(list);
  Bytes bytes(first, first + platform::GetSize(list));
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
