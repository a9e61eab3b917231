#include "app/common/MenuResources.h"

#include <wx/accel.h>
#include <wx/menu.h>

#include <vector>

#include "app/res/Accelerators.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "platform/gui/MenuCommandIds.h"

namespace {

int ToolkitKey(int key) {
  switch (key) {
    case res::kKeyBackspace:
      return WXK_BACK;
    case res::kKeyDelete:
      return WXK_DELETE;
    case res::kKeyInsert:
      return WXK_INSERT;
    case res::kKeyF6:
      return WXK_F6;
    default:
      return key;
  }
}

}  // namespace

wxMenu *BuildMenu(std::span<const res::MenuItem> items) {
  auto *menu = new wxMenu;
  for (const res::MenuItem &item : items) {
    switch (item.kind) {
      case res::MenuItem::Kind::Command:
        menu->Append(platform::gui::MenuItemId(item.id), wxString::FromUTF8(item.text),
                     wxString::FromUTF8(res::StatusPrompt(item.id)));
        break;
      case res::MenuItem::Kind::Popup:
        menu->AppendSubMenu(BuildMenu(item.items), wxString::FromUTF8(item.text));
        break;
      case res::MenuItem::Kind::Separator:
        menu->AppendSeparator();
        break;
    }
  }
  return menu;
}

wxMenuBar *BuildMenuBar(std::span<const res::MenuItem> popups) {
  auto *bar = new wxMenuBar;
  for (const res::MenuItem &popup : popups) {
    bar->Append(BuildMenu(popup.items), wxString::FromUTF8(popup.text));
  }
  return bar;
}

wxAcceleratorTable BuildMainAccelerators() {
  std::vector<wxAcceleratorEntry> entries;
  for (const res::Accelerator &accel : res::MainAccelerators()) {
    int flags = wxACCEL_NORMAL;
    if (accel.modifiers & res::kAccelCtrl) flags |= wxACCEL_CTRL;
    if (accel.modifiers & res::kAccelAlt) flags |= wxACCEL_ALT;
    if (accel.modifiers & res::kAccelShift) flags |= wxACCEL_SHIFT;
    entries.emplace_back(flags, ToolkitKey(accel.key), static_cast<int>(accel.command));
  }
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

ExportFormats FillExportEntries(wxMenu &exportTo, const std::string &filesSet,
                                std::vector<std::string> *leftOut) {
  while (exportTo.GetMenuItemCount() > 0) exportTo.Destroy(exportTo.FindItemByPosition(0));
  std::vector<std::string> names = ExportEntryNames(filesSet, leftOut);
  for (size_t i = 0; i < names.size(); ++i) {
    const unsigned id = res::ID_EXPORT_FIRST + static_cast<unsigned>(i);
    exportTo.Append(platform::gui::MenuItemId(id), wxString::FromUTF8(names[i]),
                    wxString::FromUTF8(res::StatusPrompt(id)));
  }
  return ExportFormats(res::ID_EXPORT_FIRST, std::move(names));
}
