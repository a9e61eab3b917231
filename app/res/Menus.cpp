#include "app/res/Menus.h"

#include "app/res/Resource.h"

namespace res {

namespace {

using Kind = MenuItem::Kind;

constexpr MenuItem kFileMenu[] = {
    {Kind::Command, ID_APP_EXIT, "E&xit", {}},
};

constexpr MenuItem kExportMenu[] = {
    {Kind::Command, ID_EXPORT_FIRST, "NULL", {}},
};

constexpr MenuItem kConvertMenu[] = {
    {Kind::Command, ID_CONVERT_IMPORT, "&Import To KDT", {}},
    {Kind::Popup, 0, "&Export To", kExportMenu},
    {Kind::Command, ID_CONVERT_YC, "&Reverse Field Dominance", {}},
};

constexpr MenuItem kHelpMenu[] = {
    {Kind::Command, ID_APP_ABOUT, "&About Quenda...", {}},
};

constexpr MenuItem kMenuBar[] = {
    {Kind::Popup, 0, "&File", kFileMenu},
    {Kind::Popup, 0, "&Convert", kConvertMenu},
    {Kind::Popup, 0, "&Help", kHelpMenu},
};

constexpr MenuItem kContextExportMenu[] = {
    {Kind::Command, ID_EXPORT_PLACEHOLDER, "NULL", {}},
};

constexpr MenuItem kContextConvertMenu[] = {
    {Kind::Command, ID_CONVERT_IMPORT, "Import to KDT", {}},
    {Kind::Popup, 0, "Export To", kContextExportMenu},
    {Kind::Command, ID_CONVERT_YC, "Reverse Field Dominance", {}},
    {Kind::Separator, 0, nullptr, {}},
    {Kind::Command, ID_FILE_PROPERTY, "&Property", {}},
    {Kind::Command, ID_LIST_RENAME, "&Rename", {}},
};

constexpr MenuItem kContextMenu[] = {
    {Kind::Popup, 0, "Con&vert", kContextConvertMenu},
};

}  // namespace

std::span<const MenuItem> MainMenu() {
  return kMenuBar;
}

std::span<const MenuItem> ConvertContextMenu() {
  return kContextMenu;
}

}  // namespace res
