#include "app/res/Dialogs.h"

#include "app/res/Resource.h"

namespace res {

namespace {

using Kind = DialogControl::Kind;

constexpr DialogControl kAboutControls[] = {
    {Kind::Text, IDC_STATIC, "Quenda Version 1.00   (C) 2026, all rights reserved.", 56, 50, 234,
     8},
    {Kind::DefaultButton, IDOK, "OK", 316, 25, 39, 14},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "About Quenda", 373, 67, "MS Sans Serif", 8, kAboutControls},
};

const DialogTemplate *FindIn(std::span<const DialogTemplate> templates, unsigned id) {
  for (const DialogTemplate &t : templates) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace

const DialogTemplate *FindDialogTemplate(unsigned id) {
  for (std::span<const DialogTemplate> templates :
       {std::span<const DialogTemplate>(kTemplates), ConversionDialogTemplates(),
        FilePaneDialogTemplates()}) {
    if (const DialogTemplate *t = FindIn(templates, id)) return t;
  }
  return nullptr;
}

}  // namespace res
