// Ids of the program's commands, status-bar panes and resources. Commands keep the numbers the
// program has always used, so the string table, menus, toolbar and accelerators meet on them.
#pragma once

namespace res {

// Resources.
enum : unsigned {
  IDR_MAINFRAME = 128,    // document template string, menu bar, toolbar, accelerators, main icon
  IDR_QUENDTYPE = 129,    // the document icon
  IDD_ABOUTBOX = 100,     // the About box
  IDB_ABOUT_LEFT = 144,   // the About box's first picture, drawn at (0, 0)
  IDB_ABOUT_RIGHT = 145,  // the About box's second picture, drawn beside the first
  IDD_FILESVIEW = 130,    // the file pane's form
  IDD_FILE_PROPERTY = 138,
  IDD_RENAME = 139,
};

// The program's own commands. 32771 to 32785 form the range that the frame and the file list's
// context menu handle alike.
enum : unsigned {
  ID_CONVERT_IMPORT = 32771,  // "&Import To KDT"
  ID_FILE_PROPERTY = 32773,   // "&Property", toolbar button 1
  ID_EXPORT_FIRST = 32774,    // first "&Export To" entry; entry i has ID_EXPORT_FIRST + i
  ID_CONVERT_YC = 32784,      // "&Reverse Field Dominance"
  ID_CONVERT_RANGE_FIRST = 32771,
  ID_CONVERT_RANGE_LAST = 32785,
  ID_LIST_RENAME = 32900,         // the context menu's "&Rename"
  ID_CONVERT_SETTING = 32902,     // toolbar button 2: imports, as ID_CONVERT_IMPORT
  ID_VIEW_SCALE = 32903,          // has a string, no command
  ID_FILE_RENAME = 32904,         // toolbar button 3
  ID_EXPORT_PLACEHOLDER = 32905,  // the context menu's "NULL" under "Export To"
};

// The framework's standard commands that the program's menus, toolbar and keys carry.
enum : unsigned {
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_SAVE = 57603,
  ID_FILE_PRINT_SETUP = 57606,
  ID_FILE_PRINT = 57607,
  ID_FILE_PRINT_DIRECT = 57608,
  ID_FILE_PRINT_PREVIEW = 57609,
  ID_EDIT_COPY = 57634,
  ID_EDIT_CUT = 57635,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_UNDO = 57643,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_NEXT_PANE = 57680,
  ID_PREV_PANE = 57681,
};

// Status-bar panes, in the order the status bar shows them; each pane's text comes from the
// string of its id.
enum : unsigned {
  ID_SEPARATOR = 0,  // the message pane (stretches); also a toolbar separator
  ID_INDICATOR_SCALE = 200,
  ID_INDICATOR_CAPS = 59137,
  ID_INDICATOR_NUM = 59138,
  ID_INDICATOR_SCRL = 59139,
};

// Controls of dialogs.
enum : unsigned {
  IDOK = 1,
  IDCANCEL = 2,
  IDC_STATIC = 0xFFFF,  // a control nobody looks up
};

// Controls of the file pane's form.
enum : unsigned {
  IDC_CMB_DIRECTORY = 1000,  // the folder combo with its drop-down tree
  IDC_LST_FILES = 1001,      // the file list
  IDC_CMB_FILTER = 1002,     // the filter combo
  IDC_STC_DIRECTORY = 1003,  // caption "Directory:", drawn by the pane
  IDC_STC_FILES = 1004,      // caption "Files List:", drawn by the pane
  IDC_STC_FILTER = 1005,     // caption "Filter:", drawn by the pane
};

// Controls of the rename dialog.
enum : unsigned {
  IDC_EDT_HEAD = 1006,      // the head of the new name
  IDC_EDT_NUMBER = 1037,    // its three-digit number
  IDC_EDT_SRC_NAME = 1038,  // the current name, read-only
};

// Controls of the file property dialog.
enum : unsigned {
  IDC_STC_UPDATE_TIME = 1022,
  IDC_STC_WIDTH_HEIGHT = 1023,
  IDC_STC_FORMAT = 1024,
  IDC_STC_SIZE = 1025,
  IDC_EDT_FILE_NAME = 1026,  // the full path, read-only
};

}  // namespace res
