// The folder combo and its drop-down tree in a real file pane on a private display, browsing a
// temporary home folder: opening and closing, lazy filling, selection and its fall-back, and
// the start-up walk of the saved path.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "app/common/FileNameText.h"
#include "app/convert/TargetFolder.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "platform/ShellNamespace.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class FolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = root_.File("home");
    for (const char *folder : {"a/b/deep", "a/c", "X", "x/inner", "plain"})
      fs::create_directories(home_ + "/" + folder);
    platform::SetShellEnvironmentSource([this] { return platform::ShellEnvironment{home_, {}}; });
    frame_ = new wxFrame(nullptr, wxID_ANY, "browser", wxPoint(100, 100), wxSize(300, 500));
    pane_ = new CFilesView(frame_);
    pane_->OnInitialUpdate();  // opens the tree on the saved folder: none in this program's folder
    frame_->Show();
    ASSERT_TRUE(WaitUntil([this] { return ShownAndSettled(*frame_); }));
    for (wxWindow *child : pane_->GetChildren())
      if (auto *combo = dynamic_cast<CComboBoxFolder *>(child)) combo_ = combo;
    ASSERT_NE(combo_, nullptr);
    tree_ = combo_->GetTreeCtrl();
  }
  void TearDown() override {
    if (combo_ != nullptr && combo_->IsPopupShown()) combo_->HidePopup();
    frame_->Destroy();
    EXPECT_TRUE(WaitUntil(
        [this] { return !wxTheApp->IsScheduledForDestruction(frame_) && ToolkitIdle(); }));
    platform::SetShellEnvironmentSource(nullptr);
  }

  // The tree item of a path of texts below the desktop, expanding the way down.
  wxTreeItemId Item(std::initializer_list<const char *> texts) {
    wxTreeItemId item = tree_->GetRootItem();
    for (const char *text : texts) {
      tree_->Expand(item);
      wxTreeItemIdValue cookie;
      wxTreeItemId child = tree_->GetFirstChild(item, cookie);
      while (child.IsOk() && tree_->GetItemText(child) != text)
        child = tree_->GetNextChild(item, cookie);
      if (!child.IsOk()) {
        ADD_FAILURE() << "no tree item " << text;
        return child;
      }
      item = child;
    }
    return item;
  }

  // Clicks at screen and waits until done holds and the click has had all its effects.
  void Click(const wxPoint &screen, const std::function<bool()> &done) {
    wxUIActionSimulator mouse;
    mouse.MouseMove(screen);
    ASSERT_TRUE(WaitUntil(ToolkitIdle));
    SingleClick(mouse);
    EXPECT_TRUE(WaitUntil([&] { return done() && ToolkitIdle(); }));
  }
  wxPoint ComboCentre() const {
    const wxRect r = combo_->GetScreenRect();
    return wxPoint(r.x + r.width / 3, r.y + r.height / 2);
  }

  test_support::TempFolder root_;
  std::string home_;
  wxFrame *frame_ = nullptr;
  CFilesView *pane_ = nullptr;
  CComboBoxFolder *combo_ = nullptr;
  CTreeCtrlFolder *tree_ = nullptr;
};

TEST_F(FolderBrowserTest, ClicksOpenAndCloseTheTreeBelowTheCombo) {
  EXPECT_EQ(tree_->GetItemText(tree_->GetSelection()), "Desktop");
  EXPECT_EQ(combo_->GetSelPath(), "Desktop");
  EXPECT_EQ(combo_->GetFullPath(), "");

  const auto shown = [this] { return combo_->IsPopupShown(); };
  const auto hidden = [this] { return !combo_->IsPopupShown(); };
  Click(ComboCentre(), shown);
  ASSERT_TRUE(combo_->IsPopupShown());
  const wxRect comboRect = combo_->GetScreenRect();
  const wxRect treeRect = combo_->GetPopupWindow()->GetScreenRect();
  EXPECT_EQ(treeRect.x, comboRect.x);
  EXPECT_EQ(treeRect.y, comboRect.GetBottom() + 2);  // one pixel left free
  EXPECT_EQ(treeRect.width, comboRect.width - 2);
  EXPECT_EQ(treeRect.height, 300);

  Click(ComboCentre(), hidden);
  EXPECT_FALSE(combo_->IsPopupShown());
  Click(ComboCentre(), shown);
  ASSERT_TRUE(combo_->IsPopupShown());
  Click(frame_->GetScreenRect().GetBottomRight() - wxPoint(20, 20), hidden);  // outside both
  EXPECT_FALSE(combo_->IsPopupShown());

  // Clicking a folder in the open tree lists it, shows its path and closes the tree.
  Click(ComboCentre(), shown);
  ASSERT_TRUE(combo_->IsPopupShown());
  const wxTreeItemId home = Item({"Home"});
  wxRect itemRect;
  ASSERT_TRUE(tree_->GetBoundingRect(home, itemRect, true));
  Click(tree_->ClientToScreen(itemRect.GetPosition() + wxPoint(5, itemRect.height / 2)), hidden);
  EXPECT_FALSE(combo_->IsPopupShown());
  EXPECT_EQ(tree_->GetSelection(), home);
  EXPECT_EQ(combo_->GetValue().utf8_string(), home_);
  EXPECT_EQ(combo_->GetFullPath(), "Home/");

  // A double-click on a folder of the list opens the folder of exactly that name: names that
  // differ only in letter case are different folders.
  CListCtrlFile &list = *pane_->m_lstFiles;
  for (const char *name : {"x", "X", "x"}) {
    tree_->SelectItem(home);
    long index = list.GetItemCount() - 1;
    while (index >= 0 && list.GetItemText(index) != name) --index;
    wxRect r;
    ASSERT_TRUE(list.GetItemRect(index, r)) << name;
    wxUIActionSimulator mouse;
    mouse.MouseMove(list.ClientToScreen(r.GetPosition() + wxPoint(8, r.height / 2)));
    ASSERT_TRUE(WaitUntil(ToolkitIdle));
    mouse.MouseDblClick();
    EXPECT_TRUE(WaitUntil([&] { return combo_->GetSelPath() != home_ && ToolkitIdle(); })) << name;
    EXPECT_EQ(combo_->GetSelPath(), home_ + "/" + name);
  }
}

TEST_F(FolderBrowserTest, FoldersAreFilledOnceAndShowButtonsOnlyWithSubfolders) {
  fs::create_directory(home_ + "/caf\xE9");  // a name that is not UTF-8
  // However many files a folder holds, without a folder among them it shows no button.
  for (int i = 0; i < 1200; ++i) std::ofstream(home_ + "/plain/f" + std::to_string(i));
  const wxTreeItemId home = Item({"Home"});
  ASSERT_TRUE(home.IsOk());
  tree_->Expand(home);
  std::vector<wxString> texts;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree_->GetFirstChild(home, cookie); child.IsOk();
       child = tree_->GetNextChild(home, cookie)) {
    texts.push_back(tree_->GetItemText(child));
  }
  EXPECT_EQ(texts, (std::vector<wxString>{"a", "caf\\xE9", "plain", "X", "x"}));
  const wxTreeItemId a = Item({"Home", "a"}), plain = Item({"Home", "plain"});
  EXPECT_TRUE(tree_->ItemHasChildren(a));
  EXPECT_FALSE(tree_->ItemHasChildren(plain));
  EXPECT_FALSE(tree_->IsExpanded(a));  // never expanded, yet it shows its button

  tree_->Expand(a);
  EXPECT_EQ(tree_->GetChildrenCount(a, false), 2u);
  tree_->Collapse(a);
  fs::create_directory(home_ + "/a/later");
  tree_->Expand(a);
  EXPECT_EQ(tree_->GetChildrenCount(a, false), 2u);
}

TEST_F(FolderBrowserTest, AFolderThatCannotBeListedSendsTheSelectionBack) {
  const wxTreeItemId a = Item({"Home", "a"}), b = Item({"Home", "a", "b"}),
                     c = Item({"Home", "a", "c"});
  tree_->SelectItem(a);
  ASSERT_EQ(tree_->GetSelection(), a);
  fs::remove_all(home_ + "/a/b");
  tree_->SelectItem(b);
  EXPECT_EQ(tree_->GetSelection(), a);
  EXPECT_EQ(combo_->GetSelPath(), home_ + "/a");
  EXPECT_EQ(combo_->GetFullPath(), "Home/a/");

  // The previous folder is gone too: the selection goes back once and stops there.
  tree_->SelectItem(c);
  ASSERT_EQ(tree_->GetSelection(), c);
  fs::remove_all(home_ + "/a");
  tree_->SelectItem(a);
  EXPECT_EQ(tree_->GetSelection(), c);
  EXPECT_EQ(combo_->GetSelPath(), home_ + "/a/c");
  combo_->UpdateFolderAgain();
  EXPECT_EQ(tree_->GetSelection(), c);
}

TEST_F(FolderBrowserTest, TheSavedPathIsWalkedDownToItsFolder) {
  struct Case {
    const char *saved, *fullPath, *selPath;
  } cases[] = {
      {"Home/a/b/", "Home/a/b/", "/a/b"},
      {"", "", ""},
      {"HOME/A/B/", "Home/a/b/", "/a/b"},  // letter case differs
      {"Home/x/", "Home/x/", "/x"},        // the exact name wins over an earlier "X"
      {"Home/zz/a/", "Home/a/", "/a"},     // a name that matches nothing is skipped
      {"Home/a/b", "Home/a/b/", "/a/b"},   // no closing separator
      {"Home//a/", "Home/a/", "/a"},
      {"Home/caf\xE9/", "Home/caf\xE9/", "/caf\xE9"},  // a name that is not UTF-8, by its bytes
  };
  fs::create_directory(home_ + "/caf\xE9");
  for (const Case &c : cases) {
    combo_->Initilize(0, 300, pane_, c.saved);
    EXPECT_EQ(combo_->GetFullPath(), c.fullPath) << c.saved;
    const std::string expected = *c.selPath ? home_ + c.selPath : "Desktop";
    EXPECT_EQ(combo_->GetSelPath(), expected) << c.saved;
  }

  // Opened for the first time, the tree shows the saved folder, however far down it stands.
  for (int i = 10; i < 50; ++i) fs::create_directories(home_ + "/many/n" + std::to_string(i));
  combo_->Initilize(0, 300, pane_, "Home/many/n49/");
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  Click(ComboCentre(), [this] { return combo_->IsPopupShown(); });
  ASSERT_TRUE(combo_->IsPopupShown());
  EXPECT_EQ(tree_->GetItemText(tree_->GetSelection()), "n49");
  EXPECT_TRUE(tree_->IsVisible(tree_->GetSelection()));
}

// What the answerer of the folder chooser waits for, and since when.
struct ChooserWait {
  std::string folder;
  std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
};

// Answers the toolkit's folder chooser with Open once it reports folder as the folder it shows
// and has a choice (before that, Open hands the toolkit an empty choice); a chooser that never
// gets there fails the test and is cancelled.
gboolean OpenInTheChooserOnceSettled(gpointer data) {
  auto *wait = static_cast<ChooserWait *>(data);
  GList *windows = gtk_window_list_toplevels();
  bool answered = false;
  for (GList *at = windows; at != nullptr && !answered; at = at->next) {
    auto *widget = static_cast<GtkWidget *>(at->data);
    if (!GTK_IS_FILE_CHOOSER_DIALOG(widget) || !gtk_widget_get_mapped(widget)) continue;
    auto *chooser = GTK_FILE_CHOOSER(widget);
    gchar *current = gtk_file_chooser_get_current_folder(chooser);
    GSList *chosen = gtk_file_chooser_get_filenames(chooser);
    const bool settled = current != nullptr && wait->folder == current && chosen != nullptr;
    g_free(current);
    g_slist_free_full(chosen, g_free);
    if (settled) {
      gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_ACCEPT);
      answered = true;
    } else if (std::chrono::steady_clock::now() - wait->since > kWaitDeadline) {
      ADD_FAILURE() << "the folder chooser never showed " << wait->folder;
      gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
      answered = true;
    }
  }
  g_list_free(windows);
  return answered ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

// A folder's path goes to the toolkit's file functions and dialogs and comes back as the same
// bytes, in the form the toolkit itself gives file-system names, whatever the locale; the
// operator sees the one shown text.
TEST(ToolkitFileName, ThePathComesBackByItsBytes) {
  struct Case {
    const char *name, *shown;
  } cases[] = {
      {"caf\xE9", "caf\\xE9"},
      {"d\xC3\xA9j\xC3\xA0", "d\xC3\xA9j\xC3\xA0"},
      {"\xFF\xC3", "\\xFF\\xC3"},                      // a truncated character at the end
      {"s\xED\xA0\x80", "s\\xED\\xA0\\x80"},           // an encoded surrogate
      {"o\xC1\x81", "o\\xC1\\x81"},                    // an overlong form of "A"
      {"z\xE0\x80\x80", "z\\xE0\\x80\\x80"},           // an overlong form of U+0000
      {"q\xF4\x90\x80\x80", "q\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
      {"plain", "plain"},
  };
  test_support::TempFolder root;
  for (const Case &c : cases) {
    const std::string path = root.File(c.name);
    fs::create_directory(path);
    const wxString asTheToolkitGivesIt(path.c_str(), *wxConvFileName);
    const wxString forTheToolkit = ToolkitFileName(path);
    // The toolkit takes an encoded surrogate, and a 4-byte form beyond U+10FFFF, for a
    // character; either form leads back.
    if (c.name[1] != '\xED' && c.name[1] != '\xF4') {
      EXPECT_EQ(forTheToolkit, asTheToolkitGivesIt) << c.shown;
    }
    EXPECT_EQ(FileNameFromToolkit(forTheToolkit), path) << c.shown;
    EXPECT_TRUE(wxDirExists(forTheToolkit)) << c.shown;
    EXPECT_EQ(FileNameFromToolkit(asTheToolkitGivesIt), path) << c.shown;
    // The real folder browser opens on the folder and gives it back whole.
    ChooserWait wait{path};
    g_timeout_add(20, OpenInTheChooserOnceSettled, &wait);
    EXPECT_EQ(BrowseForFolder(nullptr, path), std::optional<std::string>(path)) << c.shown;
    EXPECT_EQ(FileNameText(path), FileNameText(root.File("")) + wxString::FromUTF8(c.shown));
  }
}

}  // namespace

int main(int argc, char **argv) {
  return RunTestsWithAnchorWindow(argc, argv);
}
