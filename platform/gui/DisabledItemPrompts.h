// The status bar shows the prompt of the toolbar button or menu item under the pointer also when
// that button or item is disabled. The toolkit reports the pointer only over enabled ones, so
// the pointer's moves over the toolbar and the menus are watched before they reach the item.
#pragma once

class wxFrame;

namespace platform::gui {

// Watches frame's toolbar and the menus of its menu bar (submenus included) as they are now;
// call once they are built.
void ShowPromptsOfDisabledItems(wxFrame &frame);

}  // namespace platform::gui
