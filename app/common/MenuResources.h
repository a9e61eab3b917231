// The toolkit's menus and accelerator table built from the resource data. Each command item
// carries its status prompt, which the status bar shows while the item is under the pointer.
// Menu items have the toolkit ids of their commands (platform/gui/MenuCommandIds.h).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/core/ExportEntries.h"
#include "app/res/Menus.h"

class wxAcceleratorTable;
class wxMenu;
class wxMenuBar;

wxMenu *BuildMenu(std::span<const res::MenuItem> items);
wxMenuBar *BuildMenuBar(std::span<const res::MenuItem> popups);
wxAcceleratorTable BuildMainAccelerators();

// Empties exportTo, an "Export To" submenu of the menu bar or of the file list's context menu,
// and gives it the export entries of filesSet (ExportEntryNames): entry i has the command
// ID_EXPORT_FIRST + i and that command's status prompt. Returns the entries' formats; patterns
// left without a command go to leftOut when it is not null.
ExportFormats FillExportEntries(wxMenu &exportTo, const std::string &filesSet,
                                std::vector<std::string> *leftOut = nullptr);
