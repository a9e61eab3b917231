#include "platform/gui/FileDialogChoice.h"

#include <gtk/gtk.h>
#include <wx/dialog.h>

namespace platform::gui {

std::string FileDialogChoice(const wxDialog &dialog) {
  GtkWidget *widget = dialog.GetHandle();
  if (widget == nullptr || !GTK_IS_FILE_CHOOSER(widget)) return {};
  gchar *name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(widget));
  if (name == nullptr) return {};
  std::string path(name);
  g_free(name);
  return path;
}

}  // namespace platform::gui
