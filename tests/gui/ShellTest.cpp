// Runs the program's real start-up inside this test program, on a private display, and checks
// the main window from inside: menus, toolbar, status bar, panes, the size rule, command routing,
// document titles and the About box.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/button.h>
#include <wx/init.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "PrivateDisplay.h"
#include "app/AboutDlg.h"
#include "app/FilesView.h"
#include "app/MainFrame.h"
#include "app/QuendaApp.h"
#include "app/QuendaView.h"
#include "app/res/Resource.h"
#include "platform/gui/MenuCommandIds.h"

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

TEST(MainWindow, StartsCentredAt800By600TitledQuenda) {
  ASSERT_NE(theApp.GetMainFrame(), nullptr);
  EXPECT_TRUE(Frame().IsShown());
  EXPECT_EQ(Utf8(Frame().GetTitle()), "Quenda");
  EXPECT_EQ(Frame().GetRect(), wxRect(240, 212, 800, 600));
  // The file pane is the active view at first.
  EXPECT_EQ(Frame().GetActiveView(), Frame().GetLeftPane());
}

TEST(MainWindow, MenusComeFromTheResourcesWithExportEntriesFromThePlugins) {
  wxMenuBar *bar = Frame().GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(Utf8(bar->GetMenuLabel(0)), "&File");
  EXPECT_EQ(Utf8(bar->GetMenuLabel(1)), "&Convert");
  EXPECT_EQ(Utf8(bar->GetMenuLabel(2)), "&Help");
  EXPECT_EQ(Utf8(bar->GetLabel(MenuItemId(res::ID_APP_EXIT))), "E&xit");
  EXPECT_EQ(Utf8(bar->GetLabel(MenuItemId(res::ID_APP_ABOUT))), "&About Quenda...");

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
  EXPECT_EQ(Utf8(bar->GetHelpString(MenuItemId(res::ID_CONVERT_IMPORT))),
            "Convert files with other format to NELVOR format");
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

  // A picture much wider than the pane is drawn reduced; the scale pane follows the view.
  CQuendaView *view = Frame().GetRightPane();
  std::vector<unsigned char> pixels(2000 * 200 * 3, 200);
  tagRGBInfo picture{};
  picture.width = 2000;
  picture.height = 200;
  picture.bitsPixl = 24;
  picture.ptBits = pixels.data();
  view->UpdateImageView(&picture, 0);
  Pump(300ms);
  EXPECT_EQ(Utf8(status->GetStatusText(1)), view->GetScale());
  EXPECT_NE(view->GetScale(), "Scale=100%");
  view->UpdateImageView(nullptr, 0);
  Pump(300ms);
  EXPECT_EQ(Utf8(status->GetStatusText(1)), "Scale=100%");
}

TEST(MainWindow, PanesSitInASplitterWhoseBarDoesNotMove) {
  CFilesView *left = Frame().GetLeftPane();
  ASSERT_NE(left, nullptr);
  ASSERT_NE(Frame().GetRightPane(), nullptr);
  EXPECT_EQ(left->GetSize().x, 228);
  auto *splitter = dynamic_cast<wxSplitterWindow *>(left->GetParent());
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(splitter->GetSashPosition(), 228);

  // Press on the bar and drag it 150 pixels to the right: nothing changes.
  const wxPoint onBar = splitter->ClientToScreen(wxPoint(228 + splitter->GetSashSize() / 2, 200));
  wxUIActionSimulator mouse;
  mouse.MouseMove(onBar);
  Pump(100ms);
  mouse.MouseDown();
  Pump(100ms);
  mouse.MouseMove(onBar + wxPoint(150, 0));
  Pump(100ms);
  mouse.MouseUp();
  mouse.MouseMove(onBar);
  Pump(100ms);
  mouse.MouseDblClick();
  Pump(200ms);
  EXPECT_TRUE(splitter->IsSplit());
  EXPECT_EQ(splitter->GetSashPosition(), 228);
  EXPECT_EQ(left->GetSize().x, 228);
}

TEST(MainWindow, SizingBelowTheMinimumResetsAndRecentresThatDimension) {
  Frame().SetSize(300, 100, 700, 650);
  Pump(300ms);
  EXPECT_EQ(Frame().GetRect(), wxRect(240, 100, 800, 650));
  Frame().SetSize(20, 30, 900, 500);
  Pump(300ms);
  EXPECT_EQ(Frame().GetRect(), wxRect(20, 212, 900, 600));
  Frame().SetSize(5, 5, 300, 200);
  Pump(300ms);
  EXPECT_EQ(Frame().GetRect(), wxRect(240, 212, 800, 600));
  // The preview follows the frame's size.
  EXPECT_EQ(Frame().GetRightPane()->GetSize().y, Frame().GetLeftPane()->GetSize().y);
}

TEST(MainWindow, CommandsReachTheActivePaneFirstAndMenuCommandsKeepTheirIds) {
  CFilesView *left = Frame().GetLeftPane();
  CQuendaView *right = Frame().GetRightPane();
  Frame().SetActiveView(left);
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
  // From the menu bar, with the file pane active: the frame, under the program's id.
  ASSERT_TRUE(Frame().ProcessCommand(MenuItemId(res::ID_CONVERT_IMPORT)));
  // With the preview active, the preview takes it first.
  Frame().SetActiveView(right);
  ASSERT_TRUE(Frame().ProcessCommand(MenuItemId(res::ID_CONVERT_IMPORT)));
  Frame().SetActiveView(left);
  right->Unbind(wxEVT_MENU, toRight, res::ID_CONVERT_IMPORT);
  Frame().Unbind(wxEVT_MENU, toFrame, res::ID_CONVERT_IMPORT);
  EXPECT_EQ(reached, (std::vector<std::string>{"frame:32771", "right:32771"}));
}

TEST(MainWindow, NewAndOpenRetitleTheWindowAfterTheDocument) {
  char folder[] = "/tmp/quenda-shell-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string file = std::string(folder) + "/still.kdt";
  std::ofstream(file) << "not read";

  SendCommand(res::ID_FILE_NEW);
  EXPECT_EQ(Utf8(Frame().GetTitle()), "Untitled - Quenda");
  EXPECT_TRUE(theApp.OpenDocumentFile(file));
  EXPECT_EQ(Utf8(Frame().GetTitle()), "still.kdt - Quenda");
  // A file that cannot be opened is reported and leaves the document as it was.
  bool refused = false;
  wxTEST_DIALOG(refused = !theApp.OpenDocumentFile(std::string(folder) + "/missing.kdt"),
                wxExpectModal<wxMessageDialog>(wxID_OK));
  EXPECT_TRUE(refused);
  EXPECT_EQ(Utf8(Frame().GetTitle()), "still.kdt - Quenda");
  // Saving stores nothing and leaves the opened file as it is.
  SendCommand(res::ID_FILE_SAVE);
  std::string content;
  std::getline(std::ifstream(file), content);
  EXPECT_EQ(content, "not read");

  std::remove(file.c_str());
  rmdir(folder);
  Frame().SetTitle("Quenda");
}

// What the About box showed while it ran.
struct AboutSeen {
  bool shown = false;
  std::string caption;
  std::vector<std::string> texts;
  bool okIsDefault = false;
  std::string okLabel;
  int leftArtwork = 0;   // pixels of the first picture's area that differ from the ground
  int rightArtwork = 0;  // the same for the second picture
};

// Waits for the About box, looks at it once it has painted, then closes it with its OK button
// or, when byEscape, with the Esc key.
std::unique_ptr<Poll> InspectAboutBox(AboutSeen &seen, bool byEscape) {
  auto polls = std::make_shared<int>(0);
  return std::make_unique<Poll>([&seen, byEscape, polls] {
    CAboutDlg *dialog = nullptr;
    for (wxWindow *w : wxTopLevelWindows) {
      if (auto *d = dynamic_cast<CAboutDlg *>(w); d != nullptr && d->IsShown()) dialog = d;
    }
    if (dialog == nullptr || ++*polls < 6) return false;  // let it paint
    seen.shown = true;
    seen.caption = Utf8(dialog->GetTitle());
    wxButton *ok = nullptr;
    for (wxWindow *child : dialog->GetChildren()) {
      if (auto *text = dynamic_cast<wxStaticText *>(child))
        seen.texts.push_back(Utf8(text->GetLabel()));
      if (auto *button = dynamic_cast<wxButton *>(child); button && button->GetId() == 1)
        ok = button;
    }
    if (ok != nullptr) {
      seen.okLabel = Utf8(ok->GetLabel());
      seen.okIsDefault = dialog->GetDefaultItem() == ok;
    }
    const wxPoint origin = dialog->ClientToScreen(wxPoint(0, 0));
    const std::vector<uint32_t> pixels = GrabScreen(origin.x, origin.y, 476, 74);
    const wxColour ground = dialog->GetBackgroundColour();
    const uint32_t groundRgb = (ground.Red() << 16) | (ground.Green() << 8) | ground.Blue();
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (pixels[i] == groundRgb) continue;
      if (i % 476 < 238) {
        ++seen.leftArtwork;
      } else {
        ++seen.rightArtwork;
      }
    }
    if (byEscape) {
      wxKeyEvent escape(wxEVT_CHAR_HOOK);
      escape.m_keyCode = WXK_ESCAPE;
      dialog->ProcessWindowEvent(escape);
    } else if (ok != nullptr) {
      wxCommandEvent click(wxEVT_BUTTON, ok->GetId());
      click.SetEventObject(ok);
      ok->ProcessWindowEvent(click);
    }
    return true;
  });
}

void ExpectAboutBox(const AboutSeen &seen) {
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.caption, "About Quenda");
  ASSERT_EQ(seen.texts.size(), 1u);
  EXPECT_EQ(seen.texts[0].rfind("Quenda Version 1.00", 0), 0u) << seen.texts[0];
  EXPECT_EQ(seen.okLabel, "OK");
  EXPECT_TRUE(seen.okIsDefault);
  EXPECT_GT(seen.leftArtwork, 200);
  EXPECT_GT(seen.rightArtwork, 200);
}

TEST(AboutBox, OpensFromTheHelpMenuAndClosesWithOk) {
  AboutSeen seen;
  const auto inspector = InspectAboutBox(seen, false);
  ASSERT_TRUE(Frame().ProcessCommand(MenuItemId(res::ID_APP_ABOUT)));  // returns when it closed
  ExpectAboutBox(seen);
}

TEST(AboutBox, OpensFromTheToolbarButtonAndClosesWithEscape) {
  AboutSeen seen;
  const auto inspector = InspectAboutBox(seen, true);
  Frame().GetToolBar()->OnLeftClick(res::ID_APP_ABOUT, false);  // as a click on the button
  ExpectAboutBox(seen);
}

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  PrivateDisplay display;
  if (display.Name().empty()) {
    std::fprintf(stderr, "Xvfb could not be started\n");
    return 1;
  }
  setenv("DISPLAY", display.Name().c_str(), 1);
  setenv("GDK_BACKEND", "x11", 1);
  wxApp::SetInstance(&theApp);
  if (!wxEntryStart(argc, argv)) return 1;
  int result = 1;
  if (theApp.CallOnInit()) {
    // The tests run inside the program's event loop; then Exit closes the main window, which
    // ends the loop.
    theApp.CallAfter([&result] {
      result = RUN_ALL_TESTS();
      if (theApp.GetMainFrame() == nullptr ||
          !theApp.GetMainFrame()->ProcessCommand(MenuItemId(res::ID_APP_EXIT))) {
        result = 1;
        theApp.ExitMainLoop();
      }
    });
    theApp.OnRun();
    theApp.OnExit();
    if (theApp.GetMainFrame() != nullptr) result = 1;  // Exit left the window open
  }
  wxEntryCleanup();
  return result;
}
