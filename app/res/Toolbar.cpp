#include "app/res/Toolbar.h"

#include "app/res/Resource.h"

namespace res {

namespace {

constexpr ToolbarButton kMainToolbar[] = {
    {ID_FILE_PROPERTY, 0}, {ID_CONVERT_SETTING, 1}, {ID_SEPARATOR, -1},
    {ID_FILE_RENAME, 2},   {ID_SEPARATOR, -1},      {ID_APP_ABOUT, 3},
};

}  // namespace

std::span<const ToolbarButton> MainToolbar() {
  return kMainToolbar;
}

}  // namespace res
