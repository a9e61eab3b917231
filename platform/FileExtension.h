// The extension of a file name or path, taken as every rule of the program that tells a file's
// type by its name takes it.
#pragma once

#include <optional>
#include <string_view>

namespace platform {

// The text after the last '.', when that dot is not the first character; nullopt otherwise (no
// dot, or a name such as ".profile"). The text is taken whole, so a path whose file name has no
// dot takes its extension from a folder's name. The result views `path`.
constexpr std::optional<std::string_view> ExtensionOf(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  return path.substr(dot + 1);
}

// The text without its extension and that extension's dot; the whole text when it has none.
constexpr std::string_view WithoutExtension(std::string_view path) {
  const std::optional<std::string_view> extension = ExtensionOf(path);
  return extension ? path.substr(0, path.size() - extension->size() - 1) : path;
}

}  // namespace platform
