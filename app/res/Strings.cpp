#include "app/res/Strings.h"

#include <map>

namespace res {

namespace {

constexpr const char kExportPrompt[] = "Convert file with NELVOR format into...\n Export";
constexpr const char kRenamePrompt[] = "Rename the file\nRename";

const std::map<unsigned, std::string> &Table() {
  static const std::map<unsigned, std::string> table = {
      // The program's own strings.
      {IDS_DOC_TEMPLATE, "Quenda\n\nQuend\n\n\nQuenda.Document\nQuend Document"},
      {200, "Scale=100%"},
      {32771, "Convert files with other format to NELVOR format\n Import"},
      {32773, "Display the property of file in choose\nProperty"},
      {32775, kExportPrompt},
      {32776, kExportPrompt},
      {32777, kExportPrompt},
      {32784, "Convert files with Y/C data only in NELVOR format(*.KDT)"},
      {32900, kRenamePrompt},
      {32902, "Setting the parameter for import or export\nSettings"},
      {32903, "Setting the Scale for previewing\nScale"},
      {32904, kRenamePrompt},
      {32905, kExportPrompt},
      {IDS_APP_TITLE, "Quenda"},
      {IDS_IDLE_MESSAGE, "Status"},
      {57665, "Quit the application; prompts to save documents\nExit"},
      {59137, "CAP"},
      {59138, "NUM"},
      {59139, "SCRL"},
      {IDS_INVALID_PATH, "Please input valid path to save target file."},
      {IDS_INVALID_CHAR, "Please input a valid character(0-9,a-z,A-Z)."},
      {IDS_THREE_DIGITS, "Please input three  number characters."},
      {IDS_NAME_EXISTS, "File with this name already exists,please enter another name."},
      {IDS_ALREADY_EXISTS,
       "already exists,do you want to overwrite it,  click 'Yes' will overwrite it.  "},
      {IDS_CANNOT_LOAD,
       " cann't be load in, the format of this file wasn't supported or the file was crashed."},

      // Prompts of the window menu's items.
      {61184, "Change the window size"},
      {61185, "Change the window position"},
      {61186, "Reduce the window to an icon"},
      {61187, "Enlarge the window to full size"},
      {61188, "Switch to the next document window"},
      {61189, "Switch to the previous document window"},
      {61190, "Close the active window and prompts to save the documents"},
      {61202, "Restore the window to normal size"},
      {61203, "Activate Task List"},

      // Standard prompts of standard commands.
      {57600, "Create a new document\nNew"},
      {57601, "Open an existing document\nOpen"},
      {57602, "Close the active document\nClose"},
      {57603, "Save the active document\nSave"},
      {57604, "Save the active document with a new name\nSave As"},
      {57605, "Change the printing options\nPage Setup"},
      {57606, "Change the printer and printing options\nPrint Setup"},
      {57607, "Print the active document\nPrint"},
      {57609, "Display full pages\nPrint Preview"},
      {57616, "Open this document"},
      {57617, "Open this document"},
      {57618, "Open this document"},
      {57619, "Open this document"},
      {57620, "Open this document"},
      {57621, "Open this document"},
      {57622, "Open this document"},
      {57623, "Open this document"},
      {57624, "Open this document"},
      {57625, "Open this document"},
      {57626, "Open this document"},
      {57627, "Open this document"},
      {57628, "Open this document"},
      {57629, "Open this document"},
      {57630, "Open this document"},
      {57631, "Open this document"},
      {57632, "Erase the selection\nErase"},
      {57633, "Erase everything\nErase All"},
      {57634, "Copy the selection and put it on the Clipboard\nCopy"},
      {57635, "Cut the selection and put it on the Clipboard\nCut"},
      {57636, "Find the specified text\nFind"},
      {57637, "Insert Clipboard contents\nPaste"},
      {57640, "Repeat the last action\nRepeat"},
      {57641, "Replace specific text with different text\nReplace"},
      {57642, "Select the entire document\nSelect All"},
      {57643, "Undo the last action\nUndo"},
      {57644, "Redo the previously undone action\nRedo"},
      {57653, "Split the active window into panes\nSplit"},
      {57664, "Display program information, version number and copyright\nAbout"},
      {57680, "Switch to the next window pane\nNext Pane"},
      {57681, "Switch back to the previous window pane\nPrevious Pane"},
      {59136, "EXT"},
      {59140, "OVR"},
      {59141, "REC"},
      {59392, "Show or hide the toolbar\nToggle ToolBar"},
      {59393, "Show or hide the status bar\nToggle StatusBar"},
      {61445, "Close print preview mode\nCancel Preview"},
  };
  return table;
}

}  // namespace

const std::string &LoadString(unsigned id) {
  static const std::string empty;
  auto it = Table().find(id);
  return it == Table().end() ? empty : it->second;
}

std::string StatusPrompt(unsigned id) {
  const std::string &text = LoadString(id);
  return text.substr(0, text.find('\n'));
}

std::string ToolTip(unsigned id) {
  const std::string &text = LoadString(id);
  const auto newline = text.find('\n');
  return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}

}  // namespace res
