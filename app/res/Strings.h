// The program's string table: every prompt, tool tip and message, by its id.
#pragma once

#include <string>

namespace res {

// Ids of strings that are not the string of a command or a status-bar pane (Resource.h).
enum : unsigned {
  IDS_DOC_TEMPLATE = 128,      // window title, new-file name, file type, in "\n"-separated parts
  IDS_APP_TITLE = 57344,       // the application name, caption of every message box
  IDS_IDLE_MESSAGE = 57345,    // the status bar's message pane when nothing is under the pointer
  IDS_INVALID_PATH = 61447,    // a settings dialog's target folder is not usable
  IDS_INVALID_CHAR = 61448,    // a new name holds a character outside 0-9, a-z, A-Z
  IDS_THREE_DIGITS = 61449,    // a new name's number is not three digits
  IDS_NAME_EXISTS = 61450,     // a new name is taken
  IDS_ALREADY_EXISTS = 61451,  // overwrite question, after the target path and a blank
  IDS_CANNOT_LOAD = 61452,     // load failure, after the file path
  IDS_PATH_TOO_LONG = 61453,   // a file's path is too long to be loaded, after the path
};

// The text of string id, or an empty string when the table has no such id.
const std::string &LoadString(unsigned id);

// A command's string is its status prompt, then optionally "\n" and its tool tip.
// StatusPrompt gives the part before the first "\n" (the whole text when there is none),
// ToolTip the part after it (empty when there is none). Both empty for an unknown id.
std::string StatusPrompt(unsigned id);
std::string ToolTip(unsigned id);

}  // namespace res
