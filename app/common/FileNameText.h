// The one way a file name (or a path, or a message that holds one) becomes text on the screen.
// Names on this system are bytes; most are UTF-8, but a name from elsewhere need not be. Such a
// name is shown by its bytes, each byte that is not part of a well-formed UTF-8 character as
// "\x" and two upper-case hex digits (caf\xE9.KDT), the same in the tree, the list, every
// dialog, the title and every message box. The shown text never leads back to the file: the
// caller keeps the name's own bytes for that.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

// The shown text of name as UTF-8: name itself when it is well-formed UTF-8.
std::string ShownFileName(std::string_view name);

// The shown text of name for the toolkit.
wxString FileNameText(std::string_view name);

// The shown text of name on one line, for a row of the list or the tree and the folder combo:
// a line break (CR or LF) shows as the mark U+23CE, so that a name never takes two lines.
wxString FileNameLine(std::string_view name);

// A file-system path as the toolkit's file dialogs and file functions take and give it: the
// well-formed UTF-8 characters as themselves, each other byte b as the private character
// U+100000 + b. The same whatever the locale or the environment says of file-name encodings.
wxString ToolkitFileName(std::string_view name);

// The bytes of the path the toolkit gave in that form (a dialog's choice, a command-line
// argument): the exact inverse of ToolkitFileName.
std::string FileNameFromToolkit(const wxString &path);

// The name behind shown, the UTF-8 text of a field that was given ShownFileName(name): name's
// own bytes while the field still shows it, else the text that was put there since.
std::string FileNameBehind(const std::string &shown, const std::string &name);
