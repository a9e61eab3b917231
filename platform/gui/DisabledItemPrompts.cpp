#include "platform/gui/DisabledItemPrompts.h"

#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

namespace platform::gui {

namespace {

// Whether the point (x, y) of watched, where a move of the pointer was reported, lies on item,
// a widget inside watched. The move's own point is taken, never where the pointer is by now:
// the pointer may have gone on to the next item, and the crossing events that take the
// previous item's prompt away are still to come after this move.
bool MoveIsOver(GtkWidget *watched, double x, double y, GtkWidget *item) {
  if (!gtk_widget_get_mapped(item)) return false;
  int itemX = 0, itemY = 0;
  if (!gtk_widget_translate_coordinates(watched, item, static_cast<int>(x), static_cast<int>(y),
                                        &itemX, &itemY)) {
    return false;
  }
  GtkAllocation area;
  gtk_widget_get_allocation(item, &area);
  return itemX >= 0 && itemX < area.width && itemY >= 0 && itemY < area.height;
}

// Calls onMove(watch, x, y) for every move of the pointer over widget, at (x, y) of widget,
// before any child sees it (a disabled child swallows the moves), and onLeave(watch) when the
// pointer leaves it. The watch lives as long as the widget.
template <typename Watch>
void WatchPointer(GtkWidget *widget, Watch *watch, void (*onMove)(Watch *, double, double),
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
void OnToolbarMove(ToolbarWatch *watch, double x, double y) {
  GtkToolbar *native = watch->toolbar->GTKGetToolbar();
  const int count = gtk_toolbar_get_n_items(native);
  for (int i = 0; i < count; ++i) {
    const wxToolBarToolBase *tool = watch->toolbar->GetToolByPos(i);
    if (tool == nullptr || tool->IsSeparator() ||
        !MoveIsOver(watch->toolbar->GetHandle(), x, y,
                    GTK_WIDGET(gtk_toolbar_get_nth_item(native, i)))) {
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
  bool overDisabled = false;  // the last move was over a disabled item
  wxString prompt;            // that item's prompt
  guint again = 0;            // the source that gives the prompt once more, or 0
  ~MenuWatch() {
    if (again != 0) g_source_remove(again);
  }
};

// The prompt of the disabled item under the last move, given again once the toolkit has done
// its own part of the move: a menu drops its selected item (and the frame clears the status
// bar for it) only after this watch has seen the move.
gboolean GivePromptAgain(gpointer data) {
  auto *watch = static_cast<MenuWatch *>(data);
  watch->again = 0;
  if (watch->overDisabled) watch->frame->DoGiveHelp(watch->prompt, true);
  return G_SOURCE_REMOVE;
}

// A move over an open menu: a disabled item under the pointer shows its prompt. The frame puts
// back what the status bar showed before when the menu closes.
void OnMenuMove(MenuWatch *watch, double x, double y) {
  watch->overDisabled = false;
  for (const wxMenuItem *item : watch->menu->GetMenuItems()) {
    if (item->IsEnabled() || item->IsSeparator() || item->GetMenuItem() == nullptr) continue;
    if (MoveIsOver(watch->menu->m_menu, x, y, item->GetMenuItem())) {
      watch->overDisabled = true;
      watch->prompt = item->GetHelp();
      watch->frame->DoGiveHelp(watch->prompt, true);
      if (watch->again == 0) watch->again = g_idle_add(GivePromptAgain, watch);
      return;
    }
  }
}

// Any event of the menu's window asks its frame clock to let held-back moves through. The toolkit
// holds the last move back until its frame clock lets it through, and asks for that only when
// the move is alone in its queue; a move onto another item comes behind the crossing events
// into it, so it would wait for the next event of the display: over a disabled item, where the
// move alone shows the prompt, the status bar would show the one of the previous move.
GdkFilterReturn LetMovesThrough(GdkXEvent *, GdkEvent *, gpointer window) {
  if (GdkFrameClock *clock = gdk_window_get_frame_clock(static_cast<GdkWindow *>(window))) {
    gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_FLUSH_EVENTS);
  }
  return GDK_FILTER_CONTINUE;
}

void LetMovesThroughOnRealize(GtkWidget *popup) {
  GdkWindow *window = gtk_widget_get_window(popup);
  gdk_window_add_filter(window, LetMovesThrough, window);
}

void WatchMenu(wxFrame &frame, wxMenu &menu) {
  if (menu.m_menu == nullptr) return;
  GtkWidget *popup = gtk_widget_get_toplevel(menu.m_menu);
  if (gtk_widget_get_realized(popup)) {
    LetMovesThroughOnRealize(popup);
  } else {
    g_signal_connect(popup, "realize", G_CALLBACK(LetMovesThroughOnRealize), nullptr);
  }
  WatchPointer<MenuWatch>(menu.m_menu, new MenuWatch{&frame, &menu, false, {}, 0}, OnMenuMove,
                          nullptr);
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
