#include "platform/gui/WindowGeometry.h"

#include <gtk/gtk.h>
#include <wx/toplevel.h>

namespace platform::gui {

void RequestOuterRect(wxTopLevelWindow &window, const wxRect &outer) {
  GtkWidget *widget = window.GetHandle();
  GdkWindow *gdk = widget != nullptr ? gtk_widget_get_window(widget) : nullptr;
  if (gdk == nullptr) return;
  // The window system sizes the client window; a window manager's frame around it (none on a
  // bare display) keeps its extent. The position is the frame's, as the window's gravity says.
  GdkRectangle frame;
  gdk_window_get_frame_extents(gdk, &frame);
  const int frameWidth = frame.width - gdk_window_get_width(gdk);
  const int frameHeight = frame.height - gdk_window_get_height(gdk);
  gdk_window_move_resize(gdk, outer.x, outer.y, outer.width - frameWidth,
                         outer.height - frameHeight);
}

}  // namespace platform::gui
