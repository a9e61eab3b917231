// The toolkit's menus and accelerator table built from the resource data. Each command item
// carries its status prompt, which the status bar shows while the item is under the pointer.
// Menu items have the toolkit ids of their commands (platform/gui/MenuCommandIds.h).
#pragma once

#include <span>

#include "app/res/Menus.h"

class wxAcceleratorTable;
class wxMenu;
class wxMenuBar;

wxMenu *BuildMenu(std::span<const res::MenuItem> items);
wxMenuBar *BuildMenuBar(std::span<const res::MenuItem> popups);
wxAcceleratorTable BuildMainAccelerators();
