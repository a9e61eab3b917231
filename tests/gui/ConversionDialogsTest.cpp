// The parameter dialog and the Y/C mode dialog driven as an operator would: which choices an
// import or export offers, what the target becomes, what is refused; paths of any length.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "app/convert/DlgSetting.h"
#include "app/convert/DlgYCConvertSet.h"
#include "app/convert/TargetFolder.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "codec/TargetName.h"
#include "engine/ImageFileEngine.h"
#include "platform/gui/DialogBase.h"
#include "platform/gui/WxMessageBox.h"
#include "tests/support/BmpFileBuilder.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace res;
using platform::gui::kIdCancel;
using platform::gui::kIdOk;

// Answers the folder browser in place of the operator: each call takes the next answer and
// notes the folder the browser was opened on.
class ScriptedFolderBrowser {
 public:
  ScriptedFolderBrowser() {
    SetFolderBrowser([this](wxWindow *, const std::string &start) {
      openedOn.push_back(start);
      std::optional<std::string> answer;
      if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
      }
      return answer;
    });
  }
  ~ScriptedFolderBrowser() { SetFolderBrowser({}); }

  std::vector<std::optional<std::string>> answers;
  std::vector<std::string> openedOn;
};

bool Shown(const wxWindow &dialog, int id) {
  const wxWindow *control = dialog.FindWindow(id);
  return control != nullptr && control->IsShown();
}

bool Enabled(const wxWindow &dialog, int id) {
  const wxWindow *control = dialog.FindWindow(id);
  return control != nullptr && control->IsEnabled();
}

bool Checked(const wxWindow &dialog, int id) {
  const auto *radio = dynamic_cast<const wxRadioButton *>(dialog.FindWindow(id));
  return radio != nullptr && radio->GetValue();
}

// Each control of ids is in the state (Shown, Enabled, Checked) or not, as expected says.
void ExpectAll(const wxWindow &dialog, std::initializer_list<int> ids,
               bool (*state)(const wxWindow &, int), bool expected) {
  for (int id : ids) EXPECT_EQ(state(dialog, id), expected) << id;
}

constexpr std::initializer_list<int> kSizeChoices = {IDC_RDO_SIZE_720_487, IDC_RDO_SIZE_720_576,
                                                     IDC_RDO_SIZE_1280_720, IDC_RDO_SIZE_1920_1080};
constexpr std::initializer_list<int> kShiftChoices = {IDC_RDO_SHIFT_UP, IDC_RDO_SHIFT_NORMAL,
                                                      IDC_RDO_SHIFT_DOWN, IDC_GRP_SHIFT};

// A folder path of more than 259 characters, created under base.
std::string LongFolder(const std::string &base) {
  std::string folder = base;
  for (int i = 0; folder.size() <= 300; ++i)
    folder += "/folder-with-a-long-name-" + std::to_string(i);
  std::filesystem::create_directories(folder);
  return folder;
}

// Prepares the dialog as the import and export workflow does for one pass.
void Prepare(CDlgSetting &dialog, int bExport, const std::vector<std::string> &files) {
  dialog.m_bExport = bExport;
  dialog.m_ifilesNum = static_cast<int>(files.size());
  dialog.m_iImgSize = 0;
  dialog.m_iShiftMode = 0;
  dialog.m_iCompositeMode = 0;
  dialog.m_sTarget = files.front();
  dialog.m_sExt = bExport ? "BMP" : "KDT";
}

std::vector<std::string> Sources(int count) {
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) files.push_back("/data/in/PIC" + std::to_string(i) + ".bmp");
  return files;
}

class SettingDialog : public testing::Test {
 protected:
  CImageFileEngine engine_;
  test_support::ScriptedMessageBox messages_;
  ScriptedFolderBrowser browser_;
};

// Import: the four sizes show; a grid is offered only when the files fit in it, and the shift
// only for one file. OK hands back the choices.
TEST_F(SettingDialog, ImportOffersTheChoicesTheNumberOfFilesAllows) {
  struct Case {
    int files;
    bool composite[4];  // NONE, 2*2, 3*3, 4*4 enabled
    bool shift;
  };
  for (const Case &c :
       {Case{1, {true, true, true, true}, true}, Case{4, {true, true, true, true}, false},
        Case{5, {true, false, true, true}, false}, Case{9, {true, false, true, true}, false},
        Case{16, {true, false, false, true}, false},
        Case{17, {true, false, false, false}, false}}) {
    SCOPED_TRACE(c.files);
    const std::vector<std::string> files = Sources(c.files);
    CDlgSetting dialog(nullptr, files, engine_);
    Prepare(dialog, 0, files);
    const int result = RunModal(dialog, [&] {
      EXPECT_EQ(dialog.GetTitle(), "Parameter Setting");
      ExpectAll(dialog, kSizeChoices, Shown, true);
      ExpectAll(dialog, {IDC_STATIC_IMAGESIZE, IDC_STATIC_SIZELABEL, IDC_LIST_FILES}, Shown, false);
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Enabled(dialog, IDC_RDO_COMPOSITE_NONE + i), c.composite[i]) << i;
      }
      ExpectAll(dialog, kShiftChoices, Enabled, c.shift);
      ExpectAll(dialog, {IDC_RDO_SIZE_720_487, IDC_RDO_COMPOSITE_NONE, IDC_RDO_SHIFT_NORMAL},
                Checked, true);
      EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_TARGET), "/data/in/");
      if (c.shift) {
        Click(dialog, IDC_RDO_SIZE_1920_1080);
        Click(dialog, IDC_RDO_SHIFT_DOWN);
      }
      Click(dialog, kIdOk);
      return true;
    });
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(dialog.m_iImgSize, c.shift ? 3 : 0);
    EXPECT_EQ(dialog.m_iShiftMode, c.shift ? 2 : 1);
    EXPECT_EQ(dialog.m_iCompositeMode, 0);
    EXPECT_EQ(dialog.m_sTarget, "/data/in/");
  }
}

// A grid makes the target a file in the target folder, "NONE" makes it the folder again; the
// browser opens on the target folder and its choice keeps the grid's file name, whole however
// long the folder is, and with one separator after "/".
TEST_F(SettingDialog, CompositeAndBrowseSetTheTarget) {
  test_support::TempFolder temp;
  const std::string longFolder = LongFolder(temp.Path());
  const std::vector<std::string> files = Sources(5);
  const std::string gridName = MakeTargetName(files.front(), "KDT");
  ASSERT_FALSE(gridName.empty());
  CDlgSetting dialog(nullptr, files, engine_);
  Prepare(dialog, 0, files);
  browser_.answers = {longFolder, "/", std::nullopt};
  const int result = RunModal(dialog, [&] {
    const auto target = [&] { return dialog.GetDlgItemText(IDC_EDIT_TARGET); };
    Click(dialog, IDC_RDO_COMPOSITE_3);
    EXPECT_EQ(target(), "/data/in/" + gridName);
    Click(dialog, IDC_RDO_COMPOSITE_NONE);
    EXPECT_EQ(target(), "/data/in/");
    Click(dialog, IDC_BTN_BROWSE);  // the long folder, with NONE
    EXPECT_EQ(target(), longFolder + "/");
    Click(dialog, IDC_RDO_COMPOSITE_2);
    EXPECT_EQ(target(), longFolder + "/" + gridName);
    Click(dialog, IDC_BTN_BROWSE);  // "/", with 2*2
    EXPECT_EQ(target(), "/" + gridName);
    Click(dialog, IDC_BTN_BROWSE);  // cancelled: nothing changes
    EXPECT_EQ(target(), "/" + gridName);
    Click(dialog, kIdOk);
    return true;
  });
  EXPECT_EQ(result, kIdOk);
  EXPECT_EQ(browser_.openedOn, (std::vector<std::string>{"/data/in/", longFolder + "/", "/"}));
  EXPECT_EQ(dialog.m_sTarget, "/" + gridName);
  EXPECT_EQ(dialog.m_iCompositeMode, 1);
  EXPECT_TRUE(messages_.Texts().empty());
}

// A source without a folder leaves the target empty: OK shows the message and the dialog
// stays until a folder is chosen; a folder whose name is not UTF-8 is shown by its bytes and
// handed back as its own bytes.
TEST_F(SettingDialog, AnEmptyTargetIsRefused) {
  const std::vector<std::string> files = {"PIC0.bmp"};
  CDlgSetting dialog(nullptr, files, engine_);
  Prepare(dialog, 0, files);
  browser_.answers = {"/tmp/caf\xE9"};
  int step = 0;
  const int result = RunModal(dialog, [&] {
    if (step++ == 0) {
      EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_TARGET), "");
      Click(dialog, kIdOk);
      return false;
    }
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{LoadString(IDS_INVALID_PATH)});
    Click(dialog, IDC_BTN_BROWSE);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_TARGET), "/tmp/caf\\xE9/");
    Click(dialog, kIdOk);
    return true;
  });
  EXPECT_EQ(result, kIdOk);
  EXPECT_EQ(LoadString(IDS_INVALID_PATH), "Please input valid path to save target file.");
  EXPECT_EQ(dialog.m_sTarget, "/tmp/caf\xE9/");
}

// Export of one file shows its size and its folder, however long; export of several lists
// them up to the first that gives no record (the plug-ins take no path longer than a record
// holds), and a second pass of the same object shows the same list.
TEST_F(SettingDialog, ExportShowsTheSizeOfOneFileOrTheListOfSeveral) {
  engine_.Initialization(QUENDA_PLUGIN_DIR);
  test_support::TempFolder temp;
  const std::string longFolder = LongFolder(temp.Path());
  const std::vector<std::string> files = {temp.File("a.bmp"), temp.File("b.bmp"),
                                          temp.File("c.bmp"), longFolder + "/d.bmp"};
  const int sizes[][2] = {{4, 3}, {720, 576}, {17, 1}, {2, 2}};
  for (size_t i = 0; i < files.size(); ++i) {
    test_support::BmpSpec spec{.width = sizes[i][0], .height = sizes[i][1]};
    spec.pixels.assign(static_cast<size_t>(spec.width) * spec.height, 0x336699);
    const std::vector<uint8_t> bytes = test_support::EncodeBmp(spec);
    test_support::WriteWholeFile(files[i], {bytes.begin(), bytes.end()});
  }

  const std::vector<std::string> one = {files[3]};
  CDlgSetting single(nullptr, one, engine_);
  Prepare(single, 1, one);
  single.m_sImageSize = "720*576";
  single.m_iImgSize = 1;
  EXPECT_EQ(
      RunModal(single,
               [&] {
                 EXPECT_EQ(single.GetDlgItemText(IDC_STATIC_IMAGESIZE), "720*576");
                 ExpectAll(single, {IDC_STATIC_IMAGESIZE, IDC_STATIC_SIZELABEL}, Shown, true);
                 ExpectAll(single, kSizeChoices, Shown, false);
                 EXPECT_FALSE(Shown(single, IDC_LIST_FILES));
                 ExpectAll(single, kShiftChoices, Enabled, false);
                 ExpectAll(single,
                           {IDC_RDO_COMPOSITE_NONE, IDC_RDO_COMPOSITE_2, IDC_RDO_COMPOSITE_3,
                            IDC_RDO_COMPOSITE_4, IDC_GRP_COMPOSITE},
                           Enabled, false);
                 ExpectAll(single, {IDC_RDO_COMPOSITE_NONE, IDC_RDO_SHIFT_NORMAL}, Checked, true);
                 EXPECT_EQ(single.GetDlgItemText(IDC_EDIT_TARGET), longFolder + "/");
                 Click(single, kIdOk);
                 return true;
               }),
      kIdOk);
  EXPECT_EQ(single.m_iImgSize, 1);
  EXPECT_EQ(single.m_iShiftMode, 1);
  EXPECT_EQ(single.m_iCompositeMode, 0);

  CDlgSetting several(nullptr, files, engine_);
  for (int pass : {kIdCancel, kIdOk}) {
    SCOPED_TRACE(pass);
    Prepare(several, 1, files);
    EXPECT_EQ(
        RunModal(several,
                 [&] {
                   ExpectAll(several, {IDC_STATIC_IMAGESIZE, IDC_STATIC_SIZELABEL}, Shown, false);
                   wxListCtrl *list = several.m_fView;
                   EXPECT_TRUE(list != nullptr && list->IsShown());
                   if (list == nullptr) return true;
                   EXPECT_EQ(list->GetColumnCount(), 3);
                   wxListItem heading;
                   heading.SetMask(wxLIST_MASK_TEXT);
                   EXPECT_TRUE(list->GetColumn(1, heading));
                   EXPECT_EQ(heading.GetText(), "Files name in full path       ");
                   EXPECT_EQ(list->GetColumnWidth(0), 5 * several.GetCharWidth());
                   EXPECT_EQ(list->GetItemCount(), 3);
                   for (int row = 0; row < list->GetItemCount(); ++row) {
                     EXPECT_EQ(list->GetItemText(row, 0), std::to_string(row + 1));
                     EXPECT_EQ(list->GetItemText(row, 1).utf8_string(), files[row]);
                     EXPECT_EQ(list->GetItemText(row, 2),
                               std::to_string(sizes[row][0]) + "*" + std::to_string(sizes[row][1]));
                   }
                   Click(several, pass);
                   return true;
                 }),
        pass);
    // The dialog empties its own list (the caller's files it only reads).
    EXPECT_EQ(several.m_fView->GetItemCount(), 0);
  }
  EXPECT_EQ(several.m_sTarget, temp.Folder());
}

class YCConvertSetDialog : public testing::Test {
 protected:
  test_support::ScriptedMessageBox messages_;
  ScriptedFolderBrowser browser_;
};

// The caption tells the mode; the source folder, named not in UTF-8, is refused however it is
// reached (as shown at first, through a link, with "/./"), and the folder checked is the one
// handed back; another folder is taken with the Y/C mode.
TEST_F(YCConvertSetDialog, RefusesTheSourceFolderHoweverItIsNamed) {
  test_support::TempFolder temp;
  const std::string source = temp.File("src\xE9");
  const std::string other = temp.File("other");
  std::filesystem::create_directories(source);
  std::filesystem::create_directories(other);
  std::filesystem::create_directory_symlink(source, temp.File("link"));
  const std::string refused = "The target directory can not be the same as \nthe source directory!";

  CDlgYCConvertSet animation;
  animation.m_sTarget = source + "/M1.QVEL_001.KDT";
  animation.m_bStill = 0;
  EXPECT_EQ(RunModal(animation,
                     [&] {
                       EXPECT_EQ(animation.GetTitle(), "Animation Mode Convert");
                       Click(animation, kIdCancel);
                       return true;
                     }),
            kIdCancel);

  CDlgYCConvertSet still;
  still.m_sTarget = source + "/M1.QVEL_001.KDT";
  browser_.answers = {temp.File("link"), source + "/./", other};
  size_t refusals = 0;
  const int result = RunModal(still, [&] {
    EXPECT_EQ(still.GetTitle(), "Still Mode Convert");
    EXPECT_EQ(still.GetDlgItemText(IDC_EDIT_YCTARGET), temp.File("src\\xE9/"));
    EXPECT_FALSE(Shown(still, IDC_RDO_YC));
    for (int browse = 0; browse <= 3; ++browse) {
      // A target member that the edit does not show is not what the dialog hands back.
      if (browse == 0) still.m_sTarget = other + "/";
      if (browse > 0) Click(still, IDC_BTN_YCBROWSE);
      Click(still, kIdOk);
      if (!still.IsShown()) break;
      ++refusals;
    }
    return true;
  });
  EXPECT_EQ(refusals, 3u);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(3, refused));
  EXPECT_EQ(result, kIdOk);
  EXPECT_EQ(browser_.openedOn,
            (std::vector<std::string>{source + "/", temp.File("link") + "/", source + "/./"}));
  EXPECT_EQ(still.m_sTarget, other + "/");
  EXPECT_EQ(still.m_converMode, 2);

  // A source directly in "/" shows no folder, and "/" itself is refused as its folder.
  CDlgYCConvertSet atRoot;
  atRoot.m_sTarget = "/M1.QVEL_001.KDT";
  browser_.answers = {"/", other};
  EXPECT_EQ(RunModal(atRoot,
                     [&] {
                       EXPECT_EQ(atRoot.GetDlgItemText(IDC_EDIT_YCTARGET), "");
                       Click(atRoot, IDC_BTN_YCBROWSE);
                       Click(atRoot, kIdOk);
                       EXPECT_TRUE(atRoot.IsShown());
                       Click(atRoot, IDC_BTN_YCBROWSE);
                       Click(atRoot, kIdOk);
                       return true;
                     }),
            kIdOk);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(4, refused));
  EXPECT_EQ(atRoot.m_sTarget, other + "/");
}

// Notes each real message box as it opens and closes.
class MessageBoxWatch : public wxModalDialogHook {
 public:
  MessageBoxWatch() { Register(); }
  ~MessageBoxWatch() override { Unregister(); }
  int Enter(wxDialog *dialog) override {
    if (dynamic_cast<wxMessageDialog *>(dialog) != nullptr) ++opened;
    return wxID_NONE;
  }
  void Exit(wxDialog *dialog) override {
    if (dynamic_cast<wxMessageDialog *>(dialog) != nullptr) ++closed;
  }
  int opened = 0;
  int closed = 0;
};

// From the real keyboard, with no window manager: the Y/C dialog opens with OK taking Enter,
// which shows the real same-folder box; once that box is closed the dialog is still above the
// main window; Esc then cancels it.
TEST(YCConvertSetKeyboard, EnterPressesOkAndTheBoxKeepsTheDialogOnTop) {
  platform::gui::WxMessageBoxService boxes("Quenda");
  platform::gui::ScopedMessageBoxService installed(boxes);
  ScriptedFolderBrowser browser;  // a stray press of "Browse" opens no real browser
  MessageBoxWatch watch;
  wxUIActionSimulator keys;

  CDlgYCConvertSet yc;
  yc.m_sTarget = "/tmp/M1.QVEL_001.KDT";
  // Each key goes once what it answers is on the screen and every event before it is handled.
  int pressed = 0;
  std::vector<std::string> stackAfterBox;
  const int result = RunModal(yc, [&] {
    const int state = watch.opened + watch.closed;  // 0 dialog, 1 box open, 2 box closed
    if (pressed > state || !ToolkitIdle()) return false;
    const std::vector<std::string> stack = ShownTitlesBottomToTop();
    if (stack.empty() || stack.back() != (state == 1 ? "Quenda" : "Still Mode Convert"))
      return false;
    ++pressed;
    if (state == 0) {
      EXPECT_EQ(yc.GetDefaultItem(), yc.FindWindow(kIdOk));
      keys.Char(WXK_RETURN);
    } else if (state == 1) {
      keys.Char(WXK_RETURN);  // the box's own OK
    } else {
      stackAfterBox = ShownTitlesBottomToTop();
      keys.Char(WXK_ESCAPE);
      return true;
    }
    return false;
  });
  EXPECT_EQ(result, kIdCancel);
  EXPECT_EQ(watch.opened, 1) << "Enter did not press OK";
  EXPECT_EQ(watch.closed, 1);
  EXPECT_TRUE(browser.openedOn.empty());
  ASSERT_FALSE(stackAfterBox.empty());
  EXPECT_EQ(stackAfterBox.back(), "Still Mode Convert");
}

// Keeps the event loop alive until the tests have run inside it; the dialogs' owner.
class TestApp : public wxApp {
 public:
  bool OnInit() override {
    main = new wxFrame(nullptr, wxID_ANY, "Quenda", wxPoint(240, 212), wxSize(800, 600));
    SetTopWindow(main);
    main->Show();
    return true;
  }
  wxFrame *main = nullptr;
};

}  // namespace

int main(int argc, char **argv) {
  auto *app = new TestApp;
  return RunTestsInEventLoop(argc, argv, *app, [app] { return app->main->Destroy(); });
}
