// Dialog templates as data: caption, size and controls in dialog units, converted to pixels
// with the dialog's font when the window builds the dialog.
#pragma once

#include <span>

namespace res {

// Styles of a template control, or-ed together. Kinds that ignore a style leave it alone.
namespace style {
enum : unsigned {
  kHidden = 1u << 0,      // created but not shown
  kDisabled = 1u << 1,    // created disabled
  kGroup = 1u << 2,       // starts a group (the first radio button of a choice group)
  kRight = 1u << 3,       // text right-aligned
  kCentreV = 1u << 4,     // text centred vertically
  kStaticEdge = 1u << 5,  // sunken edge around a text or an edit
  kBorder = 1u << 6,      // plain border
  kReadOnly = 1u << 7,    // an edit the operator cannot change
  kNumber = 1u << 8,      // an edit that takes digits only
  kNoHeader = 1u << 9,    // a list view without column header
  kSingleSel = 1u << 10,  // a list view in which one item at most is selected
  kHScroll = 1u << 11,    // an edit that scrolls horizontally
};
}  // namespace style

struct DialogControl {
  enum class Kind {
    Text,           // static text
    Button,         // push button
    DefaultButton,  // push button that is the dialog's default
    GroupBox,       // framed caption around other controls
    Edit,           // one-line edit
    RadioButton,    // automatic radio button
    CheckBox,       // automatic check box
    Progress,       // progress bar, range 0 to 100
    ComboBox,       // drop-down list
    ListView,       // list in report view
  };
  Kind kind;
  unsigned id;       // IDOK, IDCANCEL, IDC_STATIC or the control's own id
  const char *text;  // a Text is drawn as it stands, "&" included
  int x, y, width, height;
  unsigned styles = 0;  // res::style flags
};

struct DialogTemplate {
  unsigned id;
  const char *caption;
  int width, height;  // client size
  const char *fontName;
  int fontPoints;
  std::span<const DialogControl> controls;
};

// The template of dialog `id` (IDD_ABOUTBOX, ...), or null when there is none.
const DialogTemplate *FindDialogTemplate(unsigned id);

// The templates of the conversion dialogs (settings, Y/C mode, progress, result, review) and of
// the file pane with its rename and property dialogs; FindDialogTemplate searches both.
std::span<const DialogTemplate> ConversionDialogTemplates();
std::span<const DialogTemplate> FilePaneDialogTemplates();

}  // namespace res
