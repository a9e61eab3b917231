// The status bar shows the prompt of the toolbar button or menu item under the pointer also when
// that button or item is disabled. The toolkit reports the pointer only over enabled ones, so
// the pointer's moves over the toolbar and the menus are watched before they reach the item.
#pragma once

class wxFrame;
class wxMenu;

namespace platform::gui {

// Watches frame's toolbar and the menus of its menu bar (submenus included) as they are now;
// call once they are built.
void ShowPromptsOfDisabledItems(wxFrame &frame);

// Watches menu (submenus included) as it is now, a popup menu built after the frame, whose
// prompts go to frame's status bar; call once it is built and before it is shown.
void ShowPromptsOfDisabledItems(wxFrame &frame, wxMenu &menu);

}  // namespace platform::gui
