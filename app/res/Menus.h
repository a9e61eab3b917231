// The menu bar and the file list's context menu as data; the window turns them into real menus.
#pragma once

#include <span>

namespace res {

struct MenuItem {
  enum class Kind { Command, Popup, Separator };
  Kind kind;
  unsigned id;                      // the command of a Command item; 0 otherwise
  const char *text;                 // label with its "&" mnemonic; null for a separator
  std::span<const MenuItem> items;  // the items of a Popup
};

// Menu resource IDR_MAINFRAME: the menu bar's popups "&File", "&Convert", "&Help", in order.
// "&Convert" holds the popup "&Export To" at position 1, whose one placeholder "NULL"
// (ID_EXPORT_FIRST) the frame replaces by the export entries.
std::span<const MenuItem> MainMenu();

// Menu resource "IDR_CONVERTMENU": one popup, "Con&vert", which the file list shows on a right
// click; its "Export To" holds the placeholder "NULL" (ID_EXPORT_PLACEHOLDER).
std::span<const MenuItem> ConvertContextMenu();

}  // namespace res
