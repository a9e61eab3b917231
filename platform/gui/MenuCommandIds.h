// The toolkit's menus take item ids below 0x7FFF only, while the program numbers its commands
// from 0x8000 up (32771, 57600, ...). Menu items are made with MenuItemId(command); the filter
// below gives every command and update event that comes from a menu its command id back, so
// handlers everywhere see the program's own numbers, as they do for keys and toolbar buttons.
#pragma once

#include <wx/eventfilter.h>

namespace platform::gui {

// The id a menu item of `command` (0x8000 or above) gets in the toolkit.
constexpr int MenuItemId(unsigned command) {
  return static_cast<int>(command - 0x8000u);
}

// While it exists, menu commands and menu updates carry the program's command ids. Create one,
// on the user-interface thread, before the first menu is used.
class MenuCommandIds final : public wxEventFilter {
 public:
  MenuCommandIds();
  ~MenuCommandIds() override;
  MenuCommandIds(const MenuCommandIds &) = delete;
  MenuCommandIds &operator=(const MenuCommandIds &) = delete;

  int FilterEvent(wxEvent &event) override;
};

}  // namespace platform::gui
