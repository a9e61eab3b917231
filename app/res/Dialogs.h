// Dialog templates as data: caption, size and controls in dialog units, converted to pixels
// with the dialog's font when the window builds the dialog.
#pragma once

#include <span>

namespace res {

struct DialogControl {
  enum class Kind { Text, Button, DefaultButton };
  Kind kind;
  unsigned id;       // IDOK, IDCANCEL, IDC_STATIC or the control's own id
  const char *text;  // a Text is drawn as it stands, "&" included
  int x, y, width, height;
};

struct DialogTemplate {
  unsigned id;
  const char *caption;
  int width, height;  // client size
  const char *fontName;
  int fontPoints;
  std::span<const DialogControl> controls;
};

// The template of dialog `id` (IDD_ABOUTBOX), or null when there is none.
const DialogTemplate *FindDialogTemplate(unsigned id);

}  // namespace res
