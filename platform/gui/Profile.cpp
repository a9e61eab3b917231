#include "platform/gui/Profile.h"

#include <wx/app.h>
#include <wx/config.h>

namespace platform::gui {

void SetProfileKey(const std::string &vendor, const std::string &application) {
  const wxString vendorName = wxString::FromUTF8(vendor);
  const wxString appName = wxString::FromUTF8(application);
  if (wxTheApp != nullptr) {
    wxTheApp->SetVendorName(vendorName);
    wxTheApp->SetAppName(appName);
  }
  // The toolkit deletes the store it holds when the application ends.
  delete wxConfigBase::Set(new wxConfig(appName, vendorName));
}

}  // namespace platform::gui
