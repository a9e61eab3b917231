#include "platform/gui/NativeLook.h"

#include <gtk/gtk.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

namespace platform::gui {

namespace {

// One style sheet for the whole program, loaded once; a widget takes a rule by its class.
constexpr char kStyleSheet[] =
    "label.quenda-static-edge {"
    "  border-style: solid; border-width: 1px;"
    "  border-color: #a0a0a0 #ffffff #ffffff #a0a0a0; padding: 0;"
    "}"
    "entry.quenda-narrow-margins { padding-left: 2px; padding-right: 2px; }";

void AddStyleClass(GtkWidget *widget, const char *styleClass) {
  static GtkCssProvider *const provider = [] {
    GtkCssProvider *css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kStyleSheet, -1, nullptr);
    return css;
  }();
  GtkStyleContext *context = gtk_widget_get_style_context(widget);
  gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  gtk_style_context_add_class(context, styleClass);
}

// Runs whenever a widget joins a window: a wrapping text of a message box also breaks inside
// words. Kept for the life of the program.
gboolean WrapInsideWords(GSignalInvocationHint *, guint, const GValue *values, gpointer) {
  GtkWidget *widget = GTK_WIDGET(g_value_get_object(&values[0]));
  if (GTK_IS_LABEL(widget) && gtk_label_get_line_wrap(GTK_LABEL(widget)) &&
      GTK_IS_MESSAGE_DIALOG(gtk_widget_get_toplevel(widget))) {
    gtk_label_set_line_wrap_mode(GTK_LABEL(widget), PANGO_WRAP_WORD_CHAR);
  }
  return TRUE;
}

}  // namespace

void WrapLongWordsInMessageBoxes() {
  static const bool installed = [] {
    g_signal_add_emission_hook(g_signal_lookup("hierarchy-changed", GTK_TYPE_WIDGET), 0,
                               WrapInsideWords, nullptr, nullptr);
    return true;
  }();
  (void)installed;
}

void CentreTextVertically(wxStaticText &text) {
  if (GTK_IS_LABEL(text.GetHandle())) gtk_label_set_yalign(GTK_LABEL(text.GetHandle()), 0.5f);
}

void DrawStaticEdge(wxStaticText &text) {
  if (GTK_IS_LABEL(text.GetHandle())) AddStyleClass(text.GetHandle(), "quenda-static-edge");
}

void UseNarrowEditMargins(wxTextCtrl &edit) {
  if (GTK_IS_ENTRY(edit.GetHandle())) AddStyleClass(edit.GetHandle(), "quenda-narrow-margins");
}

void GiveInitialLayoutSize(wxTopLevelWindow &window) {
  GtkWidget *widget = window.GetHandle();
  if (widget == nullptr || gtk_widget_get_realized(widget)) return;
  const GtkAllocation size = {0, 0, window.GetSize().x, window.GetSize().y};
  gtk_widget_set_allocation(widget, &size);
}

}  // namespace platform::gui
