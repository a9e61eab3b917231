#include "app/res/Dialogs.h"
#include "app/res/Resource.h"

namespace res {

namespace {

using Kind = DialogControl::Kind;
using namespace style;

// The file pane's form: folder combo, file list and filter combo under their captions.
constexpr DialogControl kFilesViewControls[] = {
    {Kind::ComboBox, IDC_CMB_DIRECTORY, "", 1, 13, 109, 12, kHScroll},
    {Kind::Text, IDC_STC_DIRECTORY, "Directory:", 1, 1, 109, 12, kCentreV | kGroup},
    {Kind::Text, IDC_STC_FILES, "Files List:", 1, 29, 109, 11, kCentreV | kGroup},
    {Kind::ListView, IDC_LST_FILES, "", 0, 42, 110, 117, kNoHeader | kBorder},
    {Kind::Text, IDC_STC_FILTER, "Filter:", 1, 161, 109, 10, kGroup},
    {Kind::ComboBox, IDC_CMB_FILTER, "", 0, 173, 110, 69},
};

constexpr DialogControl kFilePropertyControls[] = {
    {Kind::DefaultButton, IDOK, "OK", 62, 89, 50, 14},
    {Kind::Text, IDC_STATIC, "File name:", 8, 11, 52, 8, kRight},
    {Kind::Text, IDC_STATIC, "Update Time:", 8, 68, 52, 8, kRight},
    {Kind::Text, IDC_STATIC, "Width*Height:", 8, 40, 52, 8, kRight},
    {Kind::Text, IDC_STATIC, "Format:", 9, 26, 52, 8, kRight},
    {Kind::Text, IDC_STATIC, "File Size(kb):", 8, 54, 52, 8, kRight},
    {Kind::Text, IDC_STC_UPDATE_TIME, "", 67, 67, 102, 12, kCentreV | kStaticEdge},
    {Kind::Text, IDC_STC_WIDTH_HEIGHT, "", 67, 39, 102, 12, kCentreV | kStaticEdge},
    {Kind::Text, IDC_STC_FORMAT, "", 67, 25, 102, 12, kCentreV | kStaticEdge},
    {Kind::Text, IDC_STC_SIZE, "", 67, 53, 102, 12, kCentreV | kStaticEdge},
    {Kind::Edit, IDC_EDT_FILE_NAME, "", 67, 9, 103, 14, kReadOnly | kHScroll | kStaticEdge},
};

constexpr DialogControl kRenameControls[] = {
    {Kind::DefaultButton, IDOK, "OK", 42, 52, 41, 14},
    {Kind::Button, IDCANCEL, "Cancel", 106, 52, 41, 14},
    {Kind::Text, IDC_STATIC, "Source Name:", 5, 8, 51, 8},
    {Kind::Text, IDC_STATIC, "New   Name:", 9, 24, 44, 8},
    {Kind::Edit, IDC_EDT_HEAD, "", 72, 21, 30, 12, kBorder | kHScroll},
    {Kind::Text, IDC_STATIC, ".kdt", 157, 21, 23, 12, kCentreV | kStaticEdge},
    {Kind::Edit, IDC_EDT_NUMBER, "", 129, 21, 27, 12, kBorder | kNumber | kHScroll},
    {Kind::Text, IDC_STATIC, ".QVEL_", 102, 21, 27, 12, kCentreV | kStaticEdge},
    {Kind::Text, IDC_STATIC, "Format:", 22, 37, 36, 8},
    {Kind::Text, IDC_STATIC, " M", 61, 21, 10, 12, kCentreV | kStaticEdge},
    {Kind::Text, IDC_STATIC, "<a-z,A-Z>\n   <0-9>", 69, 34, 43, 16},
    {Kind::Text, IDC_STATIC, "<0-9>", 129, 37, 31, 8},
    {Kind::Edit, IDC_EDT_SRC_NAME, "", 61, 3, 119, 14, kReadOnly | kHScroll | kStaticEdge},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_FILESVIEW, "", 110, 205, "Tahoma", 10, kFilesViewControls},
    {IDD_FILE_PROPERTY, "File Property", 182, 108, "Tahoma", 10, kFilePropertyControls},
    {IDD_RENAME, "Rename the qvel file", 187, 73, "Tahoma", 10, kRenameControls},
};

}  // namespace

std::span<const DialogTemplate> FilePaneDialogTemplates() {
  return kTemplates;
}

}  // namespace res
