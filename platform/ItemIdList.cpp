#include "platform/ItemIdList.h"

#include <cstdlib>
#include <cstring>

namespace platform {

void *ShellAlloc(std::size_t size) {
  return std::malloc(size);
}

void ShellFree(void *block) {
  std::free(block);
}

unsigned ItemCount(const ITEMIDLIST *pidl) {
  const unsigned char *bytes = ItemBytes(pidl);
  const unsigned count = bytes[0] | (bytes[1] << 8);
  return count < 2 ? 0 : count;
}

ItemIdPtr MakeItem(ItemKind kind, uint8_t flags, std::string_view name) {
  // The name is stored with a zero byte after it, so a reader that stops at the zero and one
  // that stops at the item's end agree.
  const std::size_t count = kItemNameOffset + name.size() + 1;
  if (name.empty() || name.find('\0') != std::string_view::npos || count > 0xFFFF) return nullptr;
  auto *bytes = static_cast<unsigned char *>(ShellAlloc(count + 2));
  if (bytes == nullptr) return nullptr;
  bytes[0] = static_cast<unsigned char>(count & 0xFF);
  bytes[1] = static_cast<unsigned char>(count >> 8);
  bytes[2] = static_cast<unsigned char>(kind);
  bytes[3] = flags;
  std::memcpy(bytes + kItemNameOffset, name.data(), name.size());
  bytes[count - 1] = 0;
  bytes[count] = bytes[count + 1] = 0;
  return ItemIdPtr(reinterpret_cast<ITEMIDLIST *>(bytes));
}

std::optional<ItemFields> ReadItem(const ITEMIDLIST *pidl) {
  if (pidl == nullptr) return std::nullopt;
  const unsigned count = ItemCount(pidl);
  if (count <= kItemNameOffset) return std::nullopt;
  const unsigned char *bytes = ItemBytes(pidl);
  const auto kind = static_cast<ItemKind>(bytes[2]);
  if (kind < ItemKind::kHome || kind > ItemKind::kEntry) return std::nullopt;
  const char *name = reinterpret_cast<const char *>(bytes + kItemNameOffset);
  const std::size_t room = count - kItemNameOffset;
  const std::size_t length = strnlen(name, room);
  if (length == 0) return std::nullopt;
  return ItemFields{kind, bytes[3], std::string_view(name, length)};
}

}  // namespace platform
