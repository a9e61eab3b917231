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

}  // namespace

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
