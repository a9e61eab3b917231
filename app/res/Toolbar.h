// The main window's toolbar as data: its buttons in order and the size of their images.
#pragma once

#include <span>

namespace res {

constexpr int kToolbarImageWidth = 32;
constexpr int kToolbarImageHeight = 31;
constexpr int kToolbarImageCount = 4;

struct ToolbarButton {
  unsigned command;  // ID_SEPARATOR for a separator
  int image;         // index for ToolbarImageXpm; -1 for a separator
};

// Toolbar IDR_MAINFRAME: Property, Settings, separator, Rename, separator, About. Each button's
// tool tip and status prompt are its command's string (ToolTip, StatusPrompt in Strings.h).
std::span<const ToolbarButton> MainToolbar();

}  // namespace res
