// What the operator chose in one of the toolkit's file or folder dialogs, by its bytes. The
// toolkit's own path of the choice is text and comes back empty for a name that is not UTF-8;
// the dialog underneath keeps the name as the file system has it.
#pragma once

#include <string>

class wxDialog;

namespace platform::gui {

// The path of the file or folder chosen in dialog (a wxFileDialog or wxDirDialog that ended
// with OK), or empty when it has none.
std::string FileDialogChoice(const wxDialog &dialog);

}  // namespace platform::gui
