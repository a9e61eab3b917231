#include "app/shell/XCSplitterWnd.h"

XCSplitterWnd::XCSplitterWnd(wxWindow *parent, wxWindowID id)
    : wxSplitterWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE) {
  // Handlers bound here run before the splitter's own mouse and cursor handling, and pass
  // nothing on, so the bar's tracking never starts.
  const auto ignore = [](wxEvent &) {};
  for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_MOTION,
                           wxEVT_ENTER_WINDOW, wxEVT_LEAVE_WINDOW}) {
    Bind(wxEventTypeTag<wxMouseEvent>(type), ignore);
  }
  Bind(wxEVT_SET_CURSOR, ignore);
  Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, [](wxSplitterEvent &event) { event.Veto(); });
  Bind(wxEVT_SPLITTER_DOUBLECLICKED, [](wxSplitterEvent &event) { event.Veto(); });
}
