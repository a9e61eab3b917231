#include "platform/gui/DisabledItemPrompts.h"

#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

namespace platform::gui {

namespace {

// Whether the pointer is over widget, on the screen.
bool PointerIsOver(GtkWidget *widget) {
  GdkWindow *window = gtk_widget_get_window(widget);
  if (window == nullptr || !gtk_widget_get_mapped(widget)) return false;
  int x = 0, y = 0;
  gdk_window_get_origin(window, &x, &y);
  GtkAllocation area;
  gtk_widget_get_allocation(widget, &area);
  if (!gtk_widget_get_has_window(widget)) {
    x += area.x;
    y += area.y;
  }
  const wxPoint pointer = wxGetMousePosition();
  return pointer.x >= x && pointer.x < x + area.width && pointer.y >= y &&
         pointer.y < y + area.height;
}

// Calls onMove(watch) for every move of the pointer over widget before any child sees it (a
// disabled child swallows the moves), and onLeave(watch) when the pointer leaves it. The watch
// lives as long as the widget.
template <typename Watch>
void WatchPointer(GtkWidget *widget, Watch *watch, void (*onMove)(Watch *),
                  void (*onLeave)(Watch *)) {
  GtkEventController *motion = gtk_event_controller_motion_new(widget);
  gtk_event_controller_set_propagation_phase(motion, GTK_PHASE_CAPTURE);
  g_signal_connect_swapped(motion, "motion", G_CALLBACK(onMove), watch);
  if (onLeave != nullptr) g_signal_connect_swapped(motion, "leave", G_CALLBACK(onLeave), watch);
  g_object_set_data_full(G_OBJECT(widget), "quenda-pointer-watch", motion, g_object_unref);
  g_object_set_data_full(G_OBJECT(widget), "quenda-pointer-watcher", watch,
                         [](gpointer p) { delete static_cast<Watch *>(p); });
}

struct ToolbarWatch {
  wxToolBar *toolbar;
  bool showing = false;  // the prompt of a disabled button is shown
};

// A move over the toolbar: a disabled button under the pointer shows its prompt, as the toolbar
// does for an enabled one when the pointer enters it; off every button the prompt goes.
void OnToolbarMove(ToolbarWatch *watch) {
  GtkToolbar *native = watch->toolbar->GTKGetToolbar();
  const int count = gtk_toolbar_get_n_items(native);
  for (int i = 0; i < count; ++i) {
    const wxToolBarToolBase *tool = watch->toolbar->GetToolByPos(i);
    if (tool == nullptr || tool->IsSeparator() ||
        !PointerIsOver(GTK_WIDGET(gtk_toolbar_get_nth_item(native, i)))) {
      continue;
    }
    if (tool->IsEnabled()) return;  // the toolbar shows it
    watch->toolbar->OnMouseEnter(tool->GetId());
    watch->showing = true;
    return;
  }
  if (watch->showing) watch->toolbar->OnMouseEnter(wxID_ANY);
  watch->showing = false;
}

void OnToolbarLeave(ToolbarWatch *watch) {
  if (watch->showing) watch->toolbar->OnMouseEnter(wxID_ANY);
  watch->showing = false;
}

struct MenuWatch {
  wxFrame *frame;
  wxMenu *menu;
};

// A move over an open menu: a disabled item under the pointer shows its prompt. The frame puts
// back what the status bar showed before when the menu closes.
void OnMenuMove(MenuWatch *watch) {
  for (const wxMenuItem *item : watch->menu->GetMenuItems()) {
    if (item->IsEnabled() || item->IsSeparator() || item->GetMenuItem() == nullptr) continue;
    if (PointerIsOver(item->GetMenuItem())) {
      watch->frame->DoGiveHelp(item->GetHelp(), true);
      return;
    }
  }
}

void WatchMenu(wxFrame &frame, wxMenu &menu) {
  if (menu.m_menu == nullptr) return;
  WatchPointer<MenuWatch>(menu.m_menu, new MenuWatch{&frame, &menu}, OnMenuMove, nullptr);
  for (wxMenuItem *item : menu.GetMenuItems()) {
    if (wxMenu *sub = item->GetSubMenu()) WatchMenu(frame, *sub);
  }
}

}  // namespace

void ShowPromptsOfDisabledItems(wxFrame &frame) {
  if (wxToolBar *toolbar = frame.GetToolBar()) {
    WatchPointer(toolbar->GetHandle(), new ToolbarWatch{toolbar}, OnToolbarMove, OnToolbarLeave);
  }
  if (wxMenuBar *bar = frame.GetMenuBar()) {
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) WatchMenu(frame, *bar->GetMenu(i));
  }
}

void ShowPromptsOfDisabledItems(wxFrame &frame, wxMenu &menu) {
  WatchMenu(frame, menu);
}

}  // namespace platform::gui
