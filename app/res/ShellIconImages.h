// Pictures of the namespace's icons, drawn for the program, for when the desktop's icon theme
// has none (a bare X server often has no theme at all).
#pragma once

namespace res {

// The 16 x 16 picture of icon `icon` (a platform::ShellIcon without a link: desktop, home,
// drive, removable, folder, open folder, file, picture) as XPM lines; null for any other.
const char *const *ShellIconXpm(int icon);

// The 16 x 16 mark laid over an icon to show a symbolic link (transparent but for a small
// arrow box in the lower left corner), as XPM lines.
const char *const *LinkOverlayXpm();

}  // namespace res
