// Runs the program's real start-up inside this test program, on a private display, and checks
// the main window from inside: menus, toolbar, status bar, panes, the size rule, command routing,
// document titles and the About box.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "app/common/MenuResources.h"
#include "app/filepane/FilesView.h"
#include "app/preview/QuendaView.h"
#include "app/res/Resource.h"
#include "app/shell/AboutDlg.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/gui/MenuCommandIds.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace std::chrono_literals;
using platform::gui::MenuItemId;

CMainFrame &Frame() {
  return *theApp.GetMainFrame();
}

std::string Utf8(const wxString &s) {
  return s.utf8_string();
}

// Sends a command as a key of the accelerator table does: to the main window.
void SendCommand(unsigned id) {
  wxCommandEvent event(wxEVT_MENU, static_cast<int>(id));
  event.SetEventObject(&Frame());
  Frame().ProcessWindowEvent(event);
}

// The start-up's place, size and title are checked from outside in ProgramTest.cpp.
TEST(MainWindow, MenusComeFromTheResourcesWithExportEntriesFromThePlugins) {
  wxMenuBar *bar = Frame().GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(Utf8(bar->GetMenuLabel(0)), "&File");
  EXPECT_EQ(Utf8(bar->GetMenuLabel(1)), "&Convert");
  EXPECT_EQ(Utf8(bar->GetMenuLabel(2)), "&Help");
  EXPECT_EQ(Utf8(bar->GetLabel(MenuItemId(res::ID_APP_EXIT))), "E&xit");
  EXPECT_EQ(Utf8(bar->GetLabel(MenuItemId(res::ID_APP_ABOUT))), "&About Quenda...");
  EXPECT_EQ(Utf8(bar->GetHelpString(MenuItemId(res::ID_CONVERT_IMPORT))),
            "Convert files with other format to NELVOR format");

  wxMenu *convert = bar->GetMenu(1);
  ASSERT_EQ(convert->GetMenuItemCount(), 3u);
  EXPECT_EQ(convert->FindItemByPosition(0)->GetId(), MenuItemId(res::ID_CONVERT_IMPORT));
  EXPECT_EQ(Utf8(convert->FindItemByPosition(1)->GetItemLabel()), "&Export To");
  EXPECT_EQ(convert->FindItemByPosition(2)->GetId(), MenuItemId(res::ID_CONVERT_YC));
  // With the KDT and BMP plug-ins bound the submenu holds one entry, "BMP", for 32774, in
  // place of the placeholder; 32774 has no status prompt.
  wxMenu *exportTo = convert->FindItemByPosition(1)->GetSubMenu();
  ASSERT_NE(exportTo, nullptr);
  ASSERT_EQ(exportTo->GetMenuItemCount(), 1u);
  const wxMenuItem *entry = exportTo->FindItemByPosition(0);
  EXPECT_EQ(Utf8(entry->GetItemLabel()), "BMP");
  EXPECT_EQ(entry->GetId(), MenuItemId(res::ID_EXPORT_FIRST));
  EXPECT_TRUE(entry->GetHelp().empty());
}

// The menu bar and the file list's context menu fill their "Export To" with one helper: the
// placeholder goes, and each entry carries its command and that command's status prompt.
TEST(MainWindow, ExportEntriesCarryTheirCommandsAndPrompts) {
  wxMenu exportTo;
  exportTo.Append(MenuItemId(res::ID_EXPORT_PLACEHOLDER), "NULL");
  const ExportFormats formats = FillExportEntries(exportTo, "*.bmp;*.Tga");
  ASSERT_EQ(exportTo.GetMenuItemCount(), 2u);
  const wxMenuItem *first = exportTo.FindItemByPosition(0);
  const wxMenuItem *second = exportTo.FindItemByPosition(1);
  EXPECT_EQ(Utf8(first->GetItemLabel()), "BMP");
  EXPECT_EQ(first->GetId(), MenuItemId(res::ID_EXPORT_FIRST));
  EXPECT_TRUE(first->GetHelp().empty());
  EXPECT_EQ(Utf8(second->GetItemLabel()), "TGA");
  EXPECT_EQ(second->GetId(), MenuItemId(res::ID_EXPORT_FIRST + 1));
  EXPECT_EQ(Utf8(second->GetHelp()), "Convert file with NELVOR format into...");
  ASSERT_NE(formats.FormatOf(res::ID_EXPORT_FIRST + 1), nullptr);
  EXPECT_EQ(*formats.FormatOf(res::ID_EXPORT_FIRST + 1), "TGA");
}

// Nothing is selected at start-up: every command that needs a selection is disabled, in the
// menu when it opens and on the toolbar at idle time, and does nothing when it comes anyway.
TEST(MainWindow, CommandsThatNeedASelectionAreDisabledWithoutOne) {
  wxMenuBar *bar = Frame().GetMenuBar();
  bar->GetMenu(1)->UpdateUI(Frame().GetEventHandler());
  Frame().GetToolBar()->UpdateWindowUI();
  EXPECT_FALSE(bar->IsEnabled(MenuItemId(res::ID_CONVERT_IMPORT)));
  EXPECT_FALSE(bar->IsEnabled(MenuItemId(res::ID_CONVERT_YC)));
  EXPECT_FALSE(bar->GetMenu(1)->FindItemByPosition(1)->IsEnabled());  // "&Export To"
  for (unsigned id : {res::ID_FILE_PROPERTY, res::ID_CONVERT_SETTING, res::ID_FILE_RENAME}) {
    EXPECT_FALSE(Frame().GetToolBar()->GetToolEnabled(static_cast<int>(id))) << id;
  }
  EXPECT_TRUE(bar->IsEnabled(MenuItemId(res::ID_APP_ABOUT)));
  EXPECT_TRUE(bar->IsEnabled(MenuItemId(res::ID_APP_EXIT)));
  EXPECT_TRUE(Frame().GetToolBar()->GetToolEnabled(res::ID_APP_ABOUT));
}

TEST(MainWindow, ToolbarHasFourButtonsWithTipsAndPrompts) {
  wxToolBar *bar = Frame().GetToolBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetToolBitmapSize(), wxSize(32, 31));
  const int expected[] = {res::ID_FILE_PROPERTY, res::ID_CONVERT_SETTING, wxID_SEPARATOR,
                          res::ID_FILE_RENAME,   wxID_SEPARATOR,          res::ID_APP_ABOUT};
  ASSERT_EQ(bar->GetToolsCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(bar->GetToolByPos(static_cast<int>(i))->GetId(), expected[i]) << i;
  }
  EXPECT_EQ(Utf8(bar->GetToolShortHelp(res::ID_FILE_PROPERTY)), "Property");
  EXPECT_EQ(Utf8(bar->GetToolLongHelp(res::ID_FILE_PROPERTY)),
            "Display the property of file in choose");
  EXPECT_EQ(Utf8(bar->GetToolShortHelp(res::ID_APP_ABOUT)), "About");
}

TEST(MainWindow, StatusBarShowsTheIdleTextAndTheScaleOfThePreview) {
  wxStatusBar *status = Frame().GetStatusBar();
  ASSERT_NE(status, nullptr);
  ASSERT_EQ(status->GetFieldsCount(), 5);
  EXPECT_EQ(Utf8(status->GetStatusText(0)), "Status");
  EXPECT_EQ(Utf8(status->GetStatusText(1)), "Scale=100%");
  wxRect scalePane;
  ASSERT_TRUE(status->GetFieldRect(1, scalePane));
  EXPECT_GE(scalePane.width, status->GetTextExtent("Scale=100%").x);

  // A picture much wider than the pane is drawn reduced; the scale pane follows each drawing
  // of the view as it is made, with no idle time after it.
  CQuendaView *view = Frame().GetRightPane();
  std::vector<unsigned char> pixels(2000 * 200 * 3, 200);
  tagRGBInfo picture{2000, 200, 24, pixels.data(), nullptr};
  view->UpdateImageView(&picture, 0);
  view->Update();
  EXPECT_NE(view->GetScale(), "Scale=100%");
  EXPECT_EQ(Utf8(status->GetStatusText(1)), view->GetScale());
  view->UpdateImageView(nullptr, 0);
  view->Update();
  EXPECT_EQ(Utf8(status->GetStatusText(1)), "Scale=100%");
  // An idle pass after the drawing keeps it.
  WaitUntil(ToolkitIdle);
  EXPECT_EQ(Utf8(status->GetStatusText(1)), "Scale=100%");

  // The message pane shows the prompt of the toolbar button or menu item under the pointer,
  // disabled (no file is selected) or not, and the idle text again once the pointer is gone.
  wxToolBar *toolbar = Frame().GetToolBar();
  toolbar->UpdateWindowUI();
  ASSERT_FALSE(toolbar->GetToolEnabled(res::ID_FILE_PROPERTY));
  wxUIActionSimulator mouse;
  const auto pointAt = [&](wxPoint where) {
    mouse.MouseMove(where);
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    mouse.MouseMove(where + wxPoint(1, 1));
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    return Utf8(status->GetStatusText(0));
  };
  const auto button = [&](int id) {
    return MiddleOnScreen(
        GTK_WIDGET(gtk_toolbar_get_nth_item(toolbar->GTKGetToolbar(), toolbar->GetToolPos(id))));
  };
  EXPECT_EQ(pointAt(button(res::ID_FILE_PROPERTY)), "Display the property of file in choose");
  EXPECT_EQ(pointAt(button(res::ID_APP_ABOUT)), Utf8(toolbar->GetToolLongHelp(res::ID_APP_ABOUT)));
  EXPECT_EQ(pointAt(button(res::ID_FILE_RENAME)), "Rename the file");
  EXPECT_EQ(pointAt(Frame().GetRightPane()->GetScreenRect().GetBottomRight() - wxPoint(20, 20)),
            "Status");

  wxMenu *convert = Frame().GetMenuBar()->GetMenu(1);
  wxMenuItem *importItem = convert->FindItem(MenuItemId(res::ID_CONVERT_IMPORT));  // import
  ASSERT_NE(importItem, nullptr);
  pointAt(MiddleOnScreen(convert->m_owner));
  SingleClick(mouse);
  ASSERT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(convert->m_menu) && ToolkitIdle(); }));
  ASSERT_FALSE(importItem->IsEnabled());
  EXPECT_EQ(pointAt(MiddleOnScreen(importItem->GetMenuItem())), Utf8(importItem->GetHelp()));
  EXPECT_FALSE(importItem->GetHelp().empty());
  wxUIActionSimulator().Char(WXK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !gtk_widget_get_mapped(convert->m_menu) && ToolkitIdle(); }));
  EXPECT_EQ(pointAt(Frame().GetRightPane()->GetScreenRect().GetBottomRight() - wxPoint(20, 20)),
            "Status");
}

TEST(MainWindow, PanesSitInASplitterWhoseBarDoesNotMove) {
  CFilesView *left = Frame().GetLeftPane();
  ASSERT_NE(left, nullptr);
  ASSERT_NE(Frame().GetRightPane(), nullptr);
  auto *splitter = dynamic_cast<wxSplitterWindow *>(left->GetParent());
  ASSERT_NE(splitter, nullptr);
  // Press on the bar, drag it 150 pixels to the right, double-click it: nothing changes.
  const wxPoint onBar = splitter->ClientToScreen(wxPoint(228 + splitter->GetSashSize() / 2, 200));
  wxUIActionSimulator mouse;
  const std::function<void()> steps[] = {[&] { mouse.MouseMove(onBar); },
                                         [&] { mouse.MouseDown(); },
                                         [&] { mouse.MouseMove(onBar + wxPoint(150, 0)); },
                                         [&] { mouse.MouseUp(); },
                                         [&] { mouse.MouseMove(onBar); },
                                         [&] { mouse.MouseDblClick(); }};
  for (const auto &step : steps) {
    step();
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
  }
  EXPECT_TRUE(splitter->IsSplit());
  EXPECT_EQ(splitter->GetSashPosition(), 228);
  EXPECT_EQ(left->GetSize().x, 228);
}

// A window manager that honours the minimum-size hint never sizes the window below it; one that
// does not (here: sizes imposed from outside, with no window manager) meets the size rule.
TEST(MainWindow, SizingBelowTheMinimumResetsAndRecentresThatDimension) {
  const std::pair<wxRect, wxRect> cases[] = {
      {wxRect(300, 100, 700, 650), wxRect(240, 100, 800, 650)},
      {wxRect(20, 30, 900, 500), wxRect(20, 212, 900, 600)},
      {wxRect(5, 5, 300, 200), wxRect(240, 212, 800, 600)},
      // Both dimensions short in place: the rectangle asked for is the one kept last time.
      {wxRect(240, 212, 700, 500), wxRect(240, 212, 800, 600)}};
  for (const auto &[asked, kept] : cases) {
    ASSERT_TRUE(ConfigureFromOutside(Utf8(Frame().GetTitle()), asked.x, asked.y, asked.width,
                                     asked.height));
    // The window takes the size it is given, then answers a size below its minimum, as the
    // window system has it, not only as the toolkit believes it.
    const auto shown = [] {
      GdkRectangle frame{};
      gdk_window_get_frame_extents(gtk_widget_get_window(Frame().GetHandle()), &frame);
      return wxRect(frame.x, frame.y, frame.width, frame.height);
    };
    EXPECT_TRUE(
        WaitUntil([&] { return ToolkitIdle() && Frame().GetRect() == kept && shown() == kept; }));
    EXPECT_EQ(Frame().GetRect(), kept);
    EXPECT_EQ(shown(), kept);
  }
  // The preview follows the frame's size.
  EXPECT_EQ(Frame().GetRightPane()->GetSize().y, Frame().GetLeftPane()->GetSize().y);
}

TEST(MainWindow, CommandsReachTheActivePaneFirstAndMenuCommandsKeepTheirIds) {
  CFilesView *left = Frame().GetLeftPane();
  CQuendaView *right = Frame().GetRightPane();
  EXPECT_EQ(Frame().GetActiveView(), left);  // at first
  SendCommand(res::ID_NEXT_PANE);
  EXPECT_EQ(Frame().GetActiveView(), right);
  SendCommand(res::ID_PREV_PANE);
  EXPECT_EQ(Frame().GetActiveView(), left);

  std::vector<std::string> reached;
  const auto record = [&reached](const char *who) {
    return [&reached, who](wxCommandEvent &event) {
      reached.push_back(std::string(who) + ":" + std::to_string(event.GetId()));
    };
  };
  const auto toRight = record("right");
  const auto toFrame = record("frame");
  right->Bind(wxEVT_MENU, toRight, res::ID_CONVERT_IMPORT);
  Frame().Bind(wxEVT_MENU, toFrame, res::ID_CONVERT_IMPORT);
  // From the menu bar with the file pane active the frame takes it, under the program's id;
  // with the preview active the preview takes it first. (The item is enabled by hand: with
  // nothing selected its update handler disables it, and a disabled item sends nothing.)
  Frame().GetMenuBar()->Enable(MenuItemId(res::ID_CONVERT_IMPORT), true);
  ASSERT_TRUE(Frame().ProcessCommand(MenuItemId(res::ID_CONVERT_IMPORT)));
  Frame().SetActiveView(right);
  ASSERT_TRUE(Frame().ProcessCommand(MenuItemId(res::ID_CONVERT_IMPORT)));
  Frame().SetActiveView(left);
  right->Unbind(wxEVT_MENU, toRight, res::ID_CONVERT_IMPORT);
  Frame().Unbind(wxEVT_MENU, toFrame, res::ID_CONVERT_IMPORT);
  EXPECT_EQ(reached, (std::vector<std::string>{"frame:32771", "right:32771"}));
}

TEST(MainWindow, NewAndOpenRetitleTheWindowAfterTheDocument) {
  test_support::TempFolder folder;
  const std::string file = folder.File("still.kdt");
  test_support::WriteWholeFile(file, {'n', 'o', 't'});

  SendCommand(res::ID_FILE_NEW);
  EXPECT_EQ(Utf8(Frame().GetTitle()), "Untitled - Quenda");
  EXPECT_TRUE(theApp.OpenDocumentFile(file));
  EXPECT_EQ(Utf8(Frame().GetTitle()), "still.kdt - Quenda");
  // A file that cannot be opened is reported and leaves the document as it was.
  bool refused = false;
  wxTEST_DIALOG(refused = !theApp.OpenDocumentFile(folder.File("missing.kdt")),
                wxExpectModal<wxMessageDialog>(wxID_OK));
  EXPECT_TRUE(refused);
  EXPECT_EQ(Utf8(Frame().GetTitle()), "still.kdt - Quenda");
  // Saving stores nothing and leaves the opened file as it is.
  SendCommand(res::ID_FILE_SAVE);
  EXPECT_EQ(test_support::ReadWholeFile(file), (std::vector<unsigned char>{'n', 'o', 't'}));
  Frame().SetTitle("Quenda");
}

// Opens the About box with open, then, once it has painted, reads what it shows and closes it
// with its OK button. Its two pictures lie side by side from the top-left corner.
void ExpectAboutBox(const std::function<void()> &open) {
  bool seen = false;
  std::optional<std::chrono::steady_clock::time_point> shownSince;
  Poll inspect([&] {
    CAboutDlg *dialog = nullptr;
    for (wxWindow *w : wxTopLevelWindows) {
      if (auto *d = dynamic_cast<CAboutDlg *>(w); d != nullptr && d->IsShown()) dialog = d;
    }
    if (dialog == nullptr || !gtk_widget_get_mapped(dialog->GetHandle())) return false;
    if (!shownSince) shownSince = std::chrono::steady_clock::now();
    // The pictures are read once they have been painted (or the wait is over).
    const wxPoint origin = dialog->ClientToScreen(wxPoint(0, 0));
    const std::vector<uint32_t> pixels = GrabScreen(origin.x, origin.y, 2 * 238, 74);
    const wxColour ground = dialog->GetBackgroundColour();
    const uint32_t groundRgb = (ground.Red() << 16) | (ground.Green() << 8) | ground.Blue();
    int drawn[2] = {0, 0};
    for (size_t i = 0; i < pixels.size(); ++i) drawn[i % 476 >= 238] += pixels[i] != groundRgb;
    const bool painted = ToolkitIdle() && drawn[0] > 200 && drawn[1] > 200;
    if (!painted && std::chrono::steady_clock::now() - *shownSince < kWaitDeadline) return false;
    seen = true;
    EXPECT_EQ(Utf8(dialog->GetTitle()), "About Quenda");
    std::vector<std::string> texts;
    for (wxWindow *child : dialog->GetChildren()) {
      if (auto *text = dynamic_cast<wxStaticText *>(child)) texts.push_back(Utf8(text->GetLabel()));
    }
    EXPECT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts.empty() ? "" : texts[0].substr(0, 19), "Quenda Version 1.00");
    EXPECT_EQ(dialog->GetFont().GetPointSize(), 8);
    auto *ok = dynamic_cast<wxButton *>(dialog->FindWindow(res::IDOK));
    EXPECT_TRUE(ok != nullptr && ok->GetLabel() == "OK" && dialog->GetDefaultItem() == ok);

    EXPECT_GT(drawn[0], 200);
    EXPECT_GT(drawn[1], 200);

    wxCommandEvent click(wxEVT_BUTTON, res::IDOK);
    click.SetEventObject(ok);
    dialog->ProcessWindowEvent(click);
    return true;
  });
  open();  // returns when the box has closed
  EXPECT_TRUE(seen);
}

TEST(AboutBox, OpensFromTheHelpMenuAndFromTheToolbarButton) {
  ExpectAboutBox([] { Frame().ProcessCommand(MenuItemId(res::ID_APP_ABOUT)); });
  ExpectAboutBox([] { Frame().GetToolBar()->OnLeftClick(res::ID_APP_ABOUT, false); });
}

}  // namespace

int main(int argc, char **argv) {
  // The tests run inside the program's event loop; then Exit closes the main window, which
  // ends the loop.
  return RunTestsInEventLoop(argc, argv, theApp, [] {
    return theApp.GetMainFrame() != nullptr &&
           theApp.GetMainFrame()->ProcessCommand(MenuItemId(res::ID_APP_EXIT)) &&
           theApp.GetMainFrame() == nullptr;
  });
}
