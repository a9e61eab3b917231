#include "app/res/Dialogs.h"
#include "app/res/Resource.h"

namespace res {

namespace {

using Kind = DialogControl::Kind;
using namespace style;

constexpr char kProceeding[] = "The files are in proceeding,please just wait a few minutes...";

// "Parameter Setting": target, target size, shift mode and composite mode. The size choices,
// the picture size with its label, and the list of files share the "Target Size" area.
constexpr DialogControl kSettingControls[] = {
    {Kind::DefaultButton, IDOK, "OK", 192, 115, 37, 14},
    {Kind::Button, IDCANCEL, "Cancel", 192, 134, 37, 14},
    {Kind::GroupBox, IDC_STATIC, "Target", 1, 1, 236, 26},
    {Kind::Text, IDC_STATIC, "Full Path:", 5, 11, 33, 13, kRight},
    {Kind::Edit, IDC_EDIT_TARGET, "", 46, 9, 137, 14, kReadOnly | kHScroll | kStaticEdge},
    {Kind::Button, IDC_BTN_BROWSE, "Browse", 185, 9, 47, 14},
    {Kind::GroupBox, IDC_GRP_SIZE, "Target Size", 1, 27, 236, 54},
    {Kind::RadioButton, IDC_RDO_SIZE_720_487, "720*487", 5, 42, 65, 10, kGroup},
    {Kind::RadioButton, IDC_RDO_SIZE_720_576, "720*576", 80, 43, 77, 10},
    {Kind::RadioButton, IDC_RDO_SIZE_1280_720, "1280*720", 5, 60, 71, 10},
    {Kind::RadioButton, IDC_RDO_SIZE_1920_1080, "1920*1080", 80, 60, 76, 10},
    {Kind::GroupBox, IDC_GRP_SHIFT, "Shift Mode", 1, 81, 236, 30},
    {Kind::RadioButton, IDC_RDO_SHIFT_UP, "Shift Up", 5, 93, 55, 10, kGroup},
    {Kind::RadioButton, IDC_RDO_SHIFT_NORMAL, "Normal", 80, 93, 55, 10},
    {Kind::RadioButton, IDC_RDO_SHIFT_DOWN, "Shift Down", 152, 93, 55, 10},
    {Kind::GroupBox, IDC_GRP_COMPOSITE, "Composite Mode(X*X)", 0, 111, 184, 38},
    {Kind::RadioButton, IDC_RDO_COMPOSITE_NONE, "NONE", 3, 122, 42, 10, kGroup},
    {Kind::RadioButton, IDC_RDO_COMPOSITE_2, "2*2", 78, 121, 56, 10},
    {Kind::RadioButton, IDC_RDO_COMPOSITE_3, "3*3", 3, 136, 56, 10},
    {Kind::RadioButton, IDC_RDO_COMPOSITE_4, "4*4", 78, 136, 56, 10},
    {Kind::Text, IDC_STATIC_IMAGESIZE, "", 62, 51, 120, 11, kStaticEdge},
    {Kind::Text, IDC_STATIC_SIZELABEL, "Width * Height:", 4, 50, 56, 13, kRight},
    {Kind::ListView, IDC_LIST_FILES, "", 9, 34, 224, 44, kBorder},
};

// Progress of an import or export.
constexpr DialogControl kProgressControls[] = {
    {Kind::Text, IDC_STATIC, kProceeding, 2, 1, 198, 12, kCentreV},
    {Kind::Progress, IDC_PROGRESS, "", 2, 17, 199, 14, kBorder},
    {Kind::Button, IDCANCEL, "Cancel", 79, 36, 50, 14},
};

// "Result Of Convert". Both "Convert Again" and "Target Review" have the default-button look;
// the dialog's own default stays OK.
constexpr DialogControl kStatusViewControls[] = {
    {Kind::Text, IDC_STATIC, "Conversion was success.", 3, 4, 206, 8},
    {Kind::Button, IDOK, "OK", 3, 20, 52, 14},
    {Kind::DefaultButton, IDC_BTN_CONVERT_AGAIN, "Convert Again", 84, 20, 56, 14},
    {Kind::DefaultButton, IDC_BTN_REVIEW, "Target Review", 165, 20, 54, 14},
};

// Progress of a Y/C conversion: the same texts, laid out a little differently.
constexpr DialogControl kConProgressControls[] = {
    {Kind::Text, IDC_STATIC, kProceeding, 2, 3, 200, 9},
    {Kind::Progress, IDC_PROGRESS, "", 2, 18, 198, 15, kBorder},
    {Kind::Button, IDCANCEL, "Cancel", 77, 38, 50, 14},
};

// Target folder of a Y/C conversion. The plane choices are there but hidden: every run
// exchanges both fields.
constexpr DialogControl kYCConvertSetControls[] = {
    {Kind::DefaultButton, IDOK, "OK", 51, 46, 50, 14},
    {Kind::Button, IDCANCEL, "Cancel", 126, 46, 50, 14},
    {Kind::GroupBox, IDC_STATIC, "Static", 3, 5, 219, 24},
    {Kind::Text, IDC_STATIC, "Full Path:", 9, 16, 34, 8},
    {Kind::Edit, IDC_EDIT_YCTARGET, "", 44, 12, 135, 14, kReadOnly | kHScroll | kBorder},
    {Kind::Button, IDC_BTN_YCBROWSE, "Browse", 183, 12, 36, 13},
    {Kind::RadioButton, IDC_RDO_Y, "Y Convert", 16, 47, 48, 12, kHidden | kDisabled},
    {Kind::RadioButton, IDC_RDO_C, "C Convert", 87, 46, 47, 14, kHidden | kDisabled},
    {Kind::RadioButton, IDC_RDO_YC, "Y/C Convert", 158, 46, 53, 13, kHidden},
    {Kind::GroupBox, IDC_STATIC, "Mode Select", 4, 30, 218, 30, kGroup | kHidden},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_DLG_SETTING, "Parameter Setting", 247, 152, "Tahoma", 10, kSettingControls},
    {IDD_DLG_PROGRESS, "Progress Status...", 203, 56, "Tahoma", 10, kProgressControls},
    {IDD_DLG_STATUSVIEW, "Result Of Convert", 227, 54, "Tahoma", 10, kStatusViewControls},
    {IDD_DLG_REVIEW, "Image Review", 382, 237, "Tahoma", 10, {}},
    {IDD_DLG_CONPROGRESS, "Progress Status...", 203, 56, "Tahoma", 10, kConProgressControls},
    {IDD_DLG_YCCONVERTSET, "Dialog", 230, 64, "Tahoma", 10, kYCConvertSetControls},
};

}  // namespace

std::span<const DialogTemplate> ConversionDialogTemplates() {
  return kTemplates;
}

}  // namespace res
