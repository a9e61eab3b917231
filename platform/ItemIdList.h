// Item identifier lists: how the shell namespace names its items. A list is a run of items laid
// end to end; each item starts with a 16-bit count (little-endian) of its bytes, the count
// included, and the list ends with a count of 0. The empty list (two zero bytes) names the
// desktop. The bytes after a count belong to the namespace; everyone else treats them as opaque.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Only ever handled through pointers to its first byte.
struct ITEMIDLIST;

// The one allocator of lists and item records: whoever receives a block frees it with
// ShellFree, and with nothing else.
void *ShellAlloc(std::size_t size);
void ShellFree(void *block);

struct ShellFreeDeleter {
  void operator()(void *block) const { ShellFree(block); }
};
using ItemIdPtr = std::unique_ptr<ITEMIDLIST, ShellFreeDeleter>;

// The count of the first item of `pidl`: 0 at the terminator. A count of 1 cannot hold itself
// and reads as the terminator too.
unsigned ItemCount(const ITEMIDLIST *pidl);

inline const unsigned char *ItemBytes(const ITEMIDLIST *pidl) {
  return reinterpret_cast<const unsigned char *>(pidl);
}

// The item after the first one; only for an item whose count is not 0.
inline const ITEMIDLIST *NextItem(const ITEMIDLIST *pidl) {
  return reinterpret_cast<const ITEMIDLIST *>(ItemBytes(pidl) + ItemCount(pidl));
}

// What the namespace keeps in one item: its kind, its flags and its name.
enum class ItemKind : uint8_t { kHome = 1, kFileSystem = 2, kMedium = 3, kEntry = 4 };
constexpr uint8_t kItemIsFolder = 1;
constexpr uint8_t kItemIsLink = 2;

struct ItemFields {
  ItemKind kind;
  uint8_t flags;
  std::string_view name;  // points into the item
};

// Offset of the name inside an item: after the count, the kind and the flags.
constexpr std::size_t kItemNameOffset = 4;

// A new relative list (one item and the terminator) holding the fields; null when the name is
// empty, holds a zero byte, or makes the item too long for its count.
ItemIdPtr MakeItem(ItemKind kind, uint8_t flags, std::string_view name);

// The fields of the first item of `pidl`; none when it is the terminator or not an item of this
// namespace (unknown kind, too short, no name).
std::optional<ItemFields> ReadItem(const ITEMIDLIST *pidl);

}  // namespace platform
