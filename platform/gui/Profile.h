// The framework profile: the toolkit's configuration store of the program, filed under a vendor
// and an application name. The program keeps its own settings elsewhere (its settings file).
#pragma once

#include <string>

namespace platform::gui {

// Names the application and its vendor and makes their configuration store the one the
// toolkit uses from now on. Needs the application object.
void SetProfileKey(const std::string &vendor, const std::string &application);

}  // namespace platform::gui
