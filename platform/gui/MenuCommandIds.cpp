#include "platform/gui/MenuCommandIds.h"

#include <wx/defs.h>
#include <wx/event.h>
#include <wx/menu.h>

namespace platform::gui {

MenuCommandIds::MenuCommandIds() {
  wxEvtHandler::AddFilter(this);
}

MenuCommandIds::~MenuCommandIds() {
  wxEvtHandler::RemoveFilter(this);
}

int MenuCommandIds::FilterEvent(wxEvent &event) {
  const wxEventType type = event.GetEventType();
  if (type != wxEVT_MENU && type != wxEVT_UPDATE_UI) return Event_Skip;
  if (dynamic_cast<wxMenu *>(event.GetEventObject()) == nullptr) return Event_Skip;
  const int id = event.GetId();
  // The toolkit's own items (its standard ids) keep theirs.
  const bool ownId = id >= wxID_LOWEST && id <= wxID_HIGHEST;
  if (id >= 0 && id < 0x8000 && !ownId) event.SetId(id + 0x8000);
  return Event_Skip;
}

}  // namespace platform::gui
