#include "app/res/Strings.h"

#include <map>

#include "app/res/Resource.h"
#include "engine/TaskTexts.h"

namespace res {

namespace {

constexpr const char kExportPrompt[] = "Convert file with NELVOR format into...\n Export";
constexpr const char kRenamePrompt[] = "Rename the file\nRename";

const std::map<unsigned, std::string> &Table() {
  static const std::map<unsigned, std::string> table = [] {
    std::map<unsigned, std::string> t = {
        // The program's own strings.
        {IDS_DOC_TEMPLATE, "Quenda\n\nQuend\n\n\nQuenda.Document\nQuend Document"},
        {ID_INDICATOR_SCALE, "Scale=100%"},
        {ID_CONVERT_IMPORT, "Convert files with other format to NELVOR format\n Import"},
        {ID_FILE_PROPERTY, "Display the property of file in choose\nProperty"},
        {ID_EXPORT_FIRST + 1, kExportPrompt},
        {ID_EXPORT_FIRST + 2, kExportPrompt},
        {ID_EXPORT_FIRST + 3, kExportPrompt},
        {ID_CONVERT_YC, "Convert files with Y/C data only in NELVOR format(*.KDT)"},
        {ID_LIST_RENAME, kRenamePrompt},
        {ID_CONVERT_SETTING, "Setting the parameter for import or export\nSettings"},
        {ID_VIEW_SCALE, "Setting the Scale for previewing\nScale"},
        {ID_FILE_RENAME, kRenamePrompt},
        {ID_EXPORT_PLACEHOLDER, kExportPrompt},
        {IDS_APP_TITLE, "Quenda"},
        {IDS_IDLE_MESSAGE, "Status"},
        {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {IDS_INVALID_PATH, "Please input valid path to save target file."},
        {IDS_INVALID_CHAR, "Please input a valid character(0-9,a-z,A-Z)."},
        {IDS_THREE_DIGITS, "Please input three  number characters."},
        {IDS_NAME_EXISTS, "File with this name already exists,please enter another name."},
        {IDS_ALREADY_EXISTS, task_text::kAlreadyExists},
        {IDS_CANNOT_LOAD, task_text::kCannotLoad},
        {IDS_PATH_TOO_LONG, task_text::kPathTooLong},

        // Prompts of the window menu's items.
        {IDS_SC_SIZE, "Change the window size"},
        {IDS_SC_MOVE, "Change the window position"},
        {IDS_SC_MINIMIZE, "Reduce the window to an icon"},
        {IDS_SC_MAXIMIZE, "Enlarge the window to full size"},
        {IDS_SC_NEXT_WINDOW, "Switch to the next document window"},
        {IDS_SC_PREV_WINDOW, "Switch to the previous document window"},
        {IDS_SC_CLOSE, "Close the active window and prompts to save the documents"},
        {IDS_SC_RESTORE, "Restore the window to normal size"},
        {IDS_SC_TASK_LIST, "Activate Task List"},

        // Standard prompts of standard commands.
        {ID_FILE_NEW, "Create a new document\nNew"},
        {ID_FILE_OPEN, "Open an existing document\nOpen"},
        {ID_FILE_CLOSE, "Close the active document\nClose"},
        {ID_FILE_SAVE, "Save the active document\nSave"},
        {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
        {ID_FILE_PAGE_SETUP, "Change the printing options\nPage Setup"},
        {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
        {ID_FILE_PRINT, "Print the active document\nPrint"},
        {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
        {ID_EDIT_CLEAR, "Erase the selection\nErase"},
        {ID_EDIT_CLEAR_ALL, "Erase everything\nErase All"},
        {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
        {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
        {ID_EDIT_FIND, "Find the specified text\nFind"},
        {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
        {ID_EDIT_REPEAT, "Repeat the last action\nRepeat"},
        {ID_EDIT_REPLACE, "Replace specific text with different text\nReplace"},
        {ID_EDIT_SELECT_ALL, "Select the entire document\nSelect All"},
        {ID_EDIT_UNDO, "Undo the last action\nUndo"},
        {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
        {ID_WINDOW_SPLIT, "Split the active window into panes\nSplit"},
        {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
        {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
        {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
        {ID_INDICATOR_EXT, "EXT"},
        {ID_INDICATOR_OVR, "OVR"},
        {ID_INDICATOR_REC, "REC"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
        {ID_PREVIEW_CLOSE, "Close print preview mode\nCancel Preview"},
    };
    for (unsigned id = ID_FILE_MRU_FIRST; id <= ID_FILE_MRU_LAST; ++id) {
      t.emplace(id, "Open this document");
    }
    return t;
  }();
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
