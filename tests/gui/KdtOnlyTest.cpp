// The program with the KDT plug-in alone: no format to export into, so "&Export To" stays
// greyed for the life of the window while the other commands follow the selection. The
// "&Convert" menu is opened for real, with its mnemonic, and the screen is kept as a picture.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <string>

#include "FlowTestSupport.h"
#include "app/filepane/FilesView.h"
#include "app/res/Resource.h"
#include "app/shell/MainFrame.h"
#include "platform/gui/MenuCommandIds.h"

namespace {

using namespace flow_test;
using namespace std::chrono_literals;
using platform::gui::MenuItemId;

wxMenu &ConvertMenu() {
  return *Frame().GetMenuBar()->GetMenu(1);
}

bool ExportToEnabled() {
  return ConvertMenu().FindItemByPosition(1)->IsEnabled();
}

TEST(OnlyTheKdtPlugin, ExportToIsGreyedWhateverIsSelected) {
  EXPECT_EQ(ConvertMenu().FindItemByPosition(1)->GetSubMenu()->GetMenuItemCount(), 0u);
  EXPECT_TRUE(Frame().GetLeftPane()->GetFileSet().empty());

  // Nothing selected: open the menu as the operator does (Alt+C) and keep the screen.
  Frame().Raise();
  wxUIActionSimulator input;
  input.MouseMove(Frame().GetScreenPosition() + wxPoint(400, 300));
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  // The toolbar follows at idle time; here at once.
  Frame().GetToolBar()->UpdateWindowUI();
  for (unsigned id : {res::ID_FILE_PROPERTY, res::ID_CONVERT_SETTING, res::ID_FILE_RENAME}) {
    EXPECT_FALSE(Frame().GetToolBar()->GetToolEnabled(static_cast<int>(id))) << id;
  }
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  const std::vector<uint32_t> closed = GrabScreen(0, 0, 400, 300);
  input.Char('c', wxMOD_ALT);
  // Shown, then drawn: the screen changes once the drawing has reached it.
  EXPECT_TRUE(WaitUntil([&] {
    return gtk_widget_get_mapped(ConvertMenu().m_menu) && ToolkitIdle() &&
           GrabScreen(0, 0, 400, 300) != closed;
  }));
  const std::vector<uint32_t> open = GrabScreen(0, 0, 400, 300);
  EXPECT_NE(open, closed);  // the menu shows
  const std::string shot = QUENDA_BUILD_DIR "convert-menu-greyed.png";
  EXPECT_EQ(std::system(("import -window root " + shot).c_str()), 0);
  EXPECT_FALSE(Frame().GetMenuBar()->IsEnabled(MenuItemId(res::ID_CONVERT_IMPORT)));
  EXPECT_FALSE(Frame().GetMenuBar()->IsEnabled(MenuItemId(res::ID_CONVERT_YC)));
  EXPECT_FALSE(ExportToEnabled());
  input.Char(WXK_ESCAPE);
  EXPECT_TRUE(
      WaitUntil([] { return !gtk_widget_get_mapped(ConvertMenu().m_menu) && ToolkitIdle(); }));
}

}  // namespace
