// The program's string table: every prompt, tool tip and message, by its id.
#pragma once

#include <string>

namespace res {

// Ids of the strings that code outside the window uses by number.
enum : unsigned {
  IDS_APP_TITLE = 57344,        // the application name, caption of every message box
  IDS_ALREADY_EXISTS = 61451,   // overwrite question, after the target path and a blank
  IDS_CANNOT_LOAD = 61452,      // load failure, after the file path
};

// The text of string id, or an empty string when the table has no such id.
const std::string &LoadString(unsigned id);

}  // namespace res
