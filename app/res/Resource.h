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

// Standard commands that no menu item, button or key of the program carries; the string table
// still holds their standard prompts.
enum : unsigned {
  ID_FILE_CLOSE = 57602,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_PAGE_SETUP = 57605,
  ID_FILE_MRU_FIRST = 57616,  // the recent-file entries, 16 of them
  ID_FILE_MRU_LAST = 57631,
  ID_EDIT_CLEAR = 57632,
  ID_EDIT_CLEAR_ALL = 57633,
  ID_EDIT_FIND = 57636,
  ID_EDIT_REPEAT = 57640,
  ID_EDIT_REPLACE = 57641,
  ID_EDIT_SELECT_ALL = 57642,
  ID_EDIT_REDO = 57644,
  ID_WINDOW_SPLIT = 57653,
  ID_INDICATOR_EXT = 59136,
  ID_INDICATOR_OVR = 59140,
  ID_INDICATOR_REC = 59141,
  ID_VIEW_TOOLBAR = 59392,
  ID_VIEW_STATUS_BAR = 59393,
  ID_PREVIEW_CLOSE = 61445,
};

// The window menu's entries, whose prompts the status bar shows while one is under the pointer.
enum : unsigned {
  IDS_SC_SIZE = 61184,
  IDS_SC_MOVE = 61185,
  IDS_SC_MINIMIZE = 61186,
  IDS_SC_MAXIMIZE = 61187,
  IDS_SC_NEXT_WINDOW = 61188,
  IDS_SC_PREV_WINDOW = 61189,
  IDS_SC_CLOSE = 61190,
  IDS_SC_RESTORE = 61202,
  IDS_SC_TASK_LIST = 61203,
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

// The conversion dialogs and their controls. One number may name controls of several dialogs.
enum : unsigned {
  IDD_DLG_SETTING = 134,        // "Parameter Setting" of an import or export
  IDD_DLG_PROGRESS = 135,       // progress of an import or export
  IDD_DLG_STATUSVIEW = 136,     // "Result Of Convert"
  IDD_DLG_REVIEW = 137,         // "Image Review" of a written target
  IDD_DLG_CONPROGRESS = 149,    // progress of a Y/C conversion
  IDD_DLG_YCCONVERTSET = 150,   // target folder of a Y/C conversion
  IDC_BTN_REVIEW = 3,           // result: "Target Review"
  IDC_EDIT_YCTARGET = 1006,     // Y/C: the target folder
  IDC_BTN_BROWSE = 1007,        // settings: "Browse"
  IDC_RDO_SIZE_720_487 = 1008,  // settings: the four target sizes, 1008 to 1011
  IDC_RDO_SIZE_720_576 = 1009,
  IDC_RDO_SIZE_1280_720 = 1010,
  IDC_RDO_SIZE_1920_1080 = 1011,
  IDC_RDO_SHIFT_UP = 1013,  // settings: the three shift modes, 1013 to 1015
  IDC_RDO_SHIFT_NORMAL = 1014,
  IDC_RDO_SHIFT_DOWN = 1015,
  IDC_RDO_COMPOSITE_NONE = 1016,  // settings: the four composite modes, 1016 to 1019
  IDC_RDO_COMPOSITE_2 = 1017,
  IDC_RDO_COMPOSITE_3 = 1018,
  IDC_RDO_COMPOSITE_4 = 1019,
  IDC_PROGRESS = 1017,           // both progress dialogs: the bar
  IDC_BTN_CONVERT_AGAIN = 1019,  // result: "Convert Again"
  IDC_EDIT_TARGET = 1028,        // settings: the target
  IDC_STATIC_IMAGESIZE = 1031,   // settings: the picture size on export of one file
  IDC_GRP_SHIFT = 1032,          // settings: "Shift Mode"
  IDC_GRP_COMPOSITE = 1033,      // settings: "Composite Mode(X*X)"
  IDC_STATIC_SIZELABEL = 1039,   // settings: "Width * Height:"
  IDC_LIST_FILES = 1040,         // settings: the selected files on export of several
  IDC_GRP_SIZE = 1042,           // settings: "Target Size"
  IDC_BTN_YCBROWSE = 1044,       // Y/C: "Browse"
  IDC_RDO_Y = 1045,              // Y/C: the plane choices, hidden, 1045 to 1047
  IDC_RDO_C = 1046,
  IDC_RDO_YC = 1047,
};

}  // namespace res
