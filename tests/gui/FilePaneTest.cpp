// The file pane inside the real program, on a private display, over a folder of real KDT and BMP
// files made here: its form, the listing under each filter, the selection and the preview, the
// context menu, the rename and property commands, and the settings file. The test program
// lives in a folder of its own with its own dll/ folder, so its settings file and plug-ins are
// its own.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "app/common/FileNameText.h"
#include "app/convert/DlgSetting.h"
#include "app/filepane/ComboBoxColor.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/DlgFileProperty.h"
#include "app/filepane/DlgRename.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "app/preview/QuendaView.h"
#include "app/res/Dialogs.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "engine/ImageFileEngine.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/gui/MenuCommandIds.h"
#include "platform/gui/WxMessageBox.h"
#include "plugins/PluginInterface.h"
#include "tests/support/BmpFileBuilder.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::gui::MenuItemId;
using test_support::ScriptedMessageBox;

constexpr uint32_t kKdtColour = 0x50A078;
constexpr uint32_t kBmpColour = 0x3366CC;
constexpr uint32_t kOtherBmpColour = 0xCC3366;
constexpr uint32_t kGround = 0x818181;

// The folder the pane browses: made before the program starts, removed when it ends.
test_support::TempFolder *g_folder = nullptr;

std::string Folder() {
  return g_folder->Path();
}
std::string InFolder(const std::string &name) {
  return g_folder->File(name);
}
std::string SettingsFile() {
  return platform::ExecutableFolder() + "dll/Quenda.ini";
}
// The folder tree's path of names for an absolute folder path: "File System", then each
// folder, each name followed by the separator.
std::string TreePath(const std::string &folder) {
  return "File System" + folder + "/";
}

void WriteBmp(const std::string &path, int width, int height, uint32_t colour, size_t padTo = 0) {
  test_support::BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.pixels.assign(size_t(width) * height, colour);
  std::vector<uint8_t> bytes = test_support::EncodeBmp(spec);
  if (bytes.size() < padTo) bytes.resize(padTo, 0);
  test_support::WriteWholeFile(path, bytes);
}

// A form-1 still of one colour, written by the KDT plug-in under a device file name.
void WriteKdt(const std::string &folder, const std::string &deviceName) {
  CImageFileEngine engine;
  engine.Initialization(QUENDA_PLUGIN_DIR);
  std::vector<unsigned char> pixels(720 * 487 * 3);
  for (size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = kKdtColour >> 16;
    pixels[i + 1] = (kKdtColour >> 8) & 0xFF;
    pixels[i + 2] = kKdtColour & 0xFF;
  }
  tagRGBInfo info{720, 487, 24, pixels.data(), nullptr};
  ASSERT_EQ(engine.SaveRGB(folder + "/" + deviceName, "KDT", &info), 0);
}

// A folder whose path is 240 characters long, known to the tree from the start.
std::string DeepFolder() {
  return InFolder("Zdir/" + std::string(240 - Folder().size() - 6, 'd'));
}

// The browsed folder: folders first in the listing, files of every kind, a dot-file and a
// FIFO that would pass the filter, and a damaged still.
void MakeFolder() {
  const std::string kdt = InFolder("MA.QVEL_001.KDT");
  WriteKdt(Folder(), "MA.QVEL_001.KDT");
  for (const char *copy : {"a.kdt", "x.kd", "x.kdt2", ".hidden.kdt"})
    fs::copy_file(kdt, InFolder(copy));
  WriteBmp(InFolder("b.bmp"), 64, 48, kBmpColour);
  WriteBmp(InFolder("c.bmp"), 40, 30, kOtherBmpColour);
  WriteBmp(InFolder("small.bmp"), 8, 8, kBmpColour, 1023);
  test_support::WriteWholeFile(InFolder("damaged.kdt"), std::vector<unsigned char>(1023, 0x5A));
  test_support::WriteWholeFile(InFolder("a.txt"), {'t', 'e', 'x', 't'});
  ASSERT_EQ(mkfifo(InFolder("fifo.kdt").c_str(), 0600), 0);
  // A folder whose name is not UTF-8, known to the tree from the start.
  for (const char *folder : {"sub", "Zdir", "line\nbreak", "dir\xFF\xFE"})
    fs::create_directory(InFolder(folder));
  fs::create_directory(DeepFolder());
  fs::copy_file(kdt, InFolder("dir\xFF\xFE/inner.kdt"));
  // Pairs for the side of a selection under "*.*".
  for (const char *copy : {"a.kdt", "b.kd", "b.kdt"})
    fs::copy_file(kdt, InFolder(std::string("sub/") + copy));
  WriteBmp(InFolder("sub/a.bmp"), 16, 16, kBmpColour);
  WriteBmp(InFolder("sub/b.bmp"), 16, 16, kBmpColour);
  test_support::WriteWholeFile(InFolder("sub/a.txt"), {'t'});
}

CMainFrame &Frame() {
  return *theApp.GetMainFrame();
}
CFilesView &Pane() {
  return *Frame().GetLeftPane();
}

std::vector<std::string> Listed(CFilesView &pane) {
  std::vector<std::string> names;
  for (long i = 0; i < pane.m_lstFiles->GetItemCount(); ++i)
    names.push_back(pane.m_lstFiles->GetItemText(i).utf8_string());
  return names;
}

std::vector<std::string> FilterEntries(CFilesView &pane) {
  std::vector<std::string> entries;
  for (unsigned i = 0; i < pane.m_cmbFilter->GetCount(); ++i)
    entries.push_back(pane.m_cmbFilter->GetString(i).utf8_string());
  return entries;
}

// Chooses a filter as the operator does: the combo's selection, then its change notification.
void ChooseFilter(CFilesView &pane, const std::string &filter) {
  ASSERT_TRUE(pane.m_cmbFilter->SetStringSelection(filter)) << filter;
  wxCommandEvent event(wxEVT_CHOICE, res::IDC_CMB_FILTER);
  event.SetEventObject(pane.m_cmbFilter);
  event.SetInt(pane.m_cmbFilter->GetSelection());
  pane.m_cmbFilter->ProcessWindowEvent(event);
}

// The child of parent that shows name (its bytes or its shown text).
wxTreeItemId ChildNamed(wxTreeCtrl &tree, const wxTreeItemId &parent, const std::string &name) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(parent, cookie); child.IsOk();
       child = tree.GetNextChild(parent, cookie)) {
    if (tree.GetItemText(child) == FileNameLine(name)) return child;
  }
  return {};
}

// Opens folder (an absolute path) in the pane's folder tree, one level after the other, as
// the operator does; each selection lists its folder.
void OpenFolder(CFilesView &pane, const std::string &folder) {
  wxTreeCtrl &tree = *pane.m_cmbDirectory->GetTreeCtrl();
  wxTreeItemId item = ChildNamed(tree, tree.GetRootItem(), "File System");
  ASSERT_TRUE(item.IsOk());
  tree.SelectItem(item);
  for (const fs::path &part : fs::path(folder).relative_path()) {
    item = ChildNamed(tree, item, part.string());
    ASSERT_TRUE(item.IsOk()) << part;
    tree.SelectItem(item);
  }
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

long IndexOf(CFilesView &pane, const std::string &name) {
  return pane.m_lstFiles->FindItem(-1, wxString::FromUTF8(name));
}

// Selects exactly the named items, as a program would; the list reports each change.
void SelectOnly(CFilesView &pane, const std::vector<std::string> &names) {
  CListCtrlFile &list = *pane.m_lstFiles;
  for (long i = 0; i < list.GetItemCount(); ++i) {
    const bool wanted = std::count(names.begin(), names.end(), list.GetItemText(i).utf8_string());
    if (wanted != (list.GetItemState(i, wxLIST_STATE_SELECTED) != 0))
      list.SetItemState(i, wanted ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
  }
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

std::vector<std::string> Paths(const std::vector<std::string> &names) {
  std::vector<std::string> paths;
  for (const std::string &name : names) paths.push_back(InFolder(name));
  return paths;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

// The colour at the middle of the preview pane as the screen shows it, once it is within
// tolerance of expected (the pane draws at the toolkit's next paint) or at the deadline.
uint32_t PreviewCentre(uint32_t expected, int tolerance = 0) {
  uint32_t shown = 0xFFFFFFFF;
  WaitUntil([&] {
    if (!ToolkitIdle()) return false;
    CQuendaView *view = Frame().GetRightPane();
    const wxPoint centre =
        view->ClientToScreen(wxPoint(view->GetClientSize().x / 2, view->GetClientSize().y / 2));
    const std::vector<uint32_t> pixel = GrabScreen(centre.x, centre.y, 1, 1);
    shown = pixel.empty() ? 0xFFFFFFFF : pixel[0];
    return Near(shown, expected, tolerance);
  });
  return shown;
}

template <class Dialog>
Dialog *ShownDialog() {
  for (wxWindow *w : wxTopLevelWindows) {
    if (auto *d = dynamic_cast<Dialog *>(w); d != nullptr && d->IsShown()) return d;
  }
  return nullptr;
}

std::string TextOf(wxWindow &dialog, int id) {
  wxWindow *control = dialog.FindWindow(id);
  if (auto *text = dynamic_cast<wxTextCtrl *>(control)) return text->GetValue().utf8_string();
  if (auto *label = dynamic_cast<wxStaticText *>(control)) return label->GetLabel().utf8_string();
  return "?";
}

// The texts a template puts in a sunken edge show whole inside a drawn edge, centred in their
// height; an edit's margins leave the field's width to its text.
void ExpectTemplateLook(wxWindow &dialog, unsigned templateId) {
  const res::DialogTemplate *t = res::FindDialogTemplate(templateId);
  ASSERT_NE(t, nullptr);
  int edged = 0;
  for (wxWindow *child : dialog.GetChildren()) {
    const wxRect rect = child->GetRect();
    const auto c = std::find_if(t->controls.begin(), t->controls.end(), [&](const auto &c) {
      return dialog.ConvertDialogToPixels(wxPoint(c.x, c.y)) == rect.GetPosition();
    });
    if (c == t->controls.end()) continue;
    GtkWidget *widget = child->GetHandle();
    if (GTK_IS_LABEL(widget) && (c->styles & res::style::kStaticEdge)) {
      ++edged;
      GtkBorder border;
      GtkStyleContext *style = gtk_widget_get_style_context(widget);
      gtk_style_context_get_border(style, gtk_style_context_get_state(style), &border);
      EXPECT_EQ(border.left + border.top + border.right + border.bottom, 4) << c->text;
      EXPECT_EQ(gtk_label_get_yalign(GTK_LABEL(widget)), 0.5f) << c->text;
      EXPECT_FALSE(pango_layout_is_ellipsized(gtk_label_get_layout(GTK_LABEL(widget)))) << c->text;
    }
    if (GTK_IS_ENTRY(widget)) {
      GdkRectangle area;
      gtk_entry_get_text_area(GTK_ENTRY(widget), &area);
      EXPECT_GE(area.width, rect.width - 6) << c->id;
    }
  }
  EXPECT_GE(edged, 3);
}

// ---------------------------------------------------------------------------------------------

// The form's controls stand where its dialog units put them for the pane's font, the captions
// are drawn in their places, and a change of width reaches the three controls only.
TEST(FilePane, FormInDialogUnitsWithCaptionsAndWidthsThatFollowThePane) {
  CFilesView &pane = Pane();
  struct Expected {
    int id;
    int x, y, height;  // dialog units; the filter combo keeps its own height
  };
  const Expected controls[] = {{res::IDC_CMB_DIRECTORY, 1, 13, -1},
                               {res::IDC_LST_FILES, 0, 42, 117},
                               {res::IDC_CMB_FILTER, 0, 173, -1}};
  const int scroll = pane.GetViewStart().y;
  ASSERT_EQ(scroll, 0);
  for (const Expected &e : controls) {
    wxWindow *control = pane.FindWindow(e.id);
    ASSERT_NE(control, nullptr) << e.id;
    EXPECT_EQ(control->GetPosition(), pane.ConvertDialogToPixels(wxPoint(e.x, e.y))) << e.id;
    if (e.height > 0) {
      EXPECT_EQ(control->GetSize().y, pane.ConvertDialogToPixels(wxSize(0, e.height)).y);
    }
    EXPECT_EQ(control->GetSize().x, pane.GetClientSize().x - 2) << e.id;
  }
  // The statics stay hidden; their captions are drawn in the caption colour where they stand.
  for (int id : {res::IDC_STC_DIRECTORY, res::IDC_STC_FILES, res::IDC_STC_FILTER}) {
    wxWindow *caption = pane.FindWindow(id);
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->IsShown());
    const wxRect r = caption->GetRect();
    const wxPoint origin = pane.ClientToScreen(r.GetPosition());
    const std::vector<uint32_t> pixels = GrabScreen(origin.x, origin.y, r.width, r.height);
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0x14703Eu), 10) << id;
  }
  // The one column, as wide as the pane less a scroll bar and 14 pixels at the listing.
  const int column =
      pane.GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, &pane) - 14;
  EXPECT_EQ(pane.m_lstFiles->GetColumnCount(), 1);
  EXPECT_EQ(pane.m_lstFiles->GetColumnWidth(0), column);
  // A wider pane: only the widths change; the column keeps its width until the next listing.
  const wxSize before = pane.GetSize();
  // The controls follow the pane's size event.
  const auto laidOut = [&] {
    return ToolkitIdle() && pane.m_lstFiles->GetSize().x == pane.GetClientSize().x - 2;
  };
  pane.SetSize(before + wxSize(60, 0));
  EXPECT_TRUE(WaitUntil(laidOut));
  ASSERT_EQ(pane.GetSize().x, before.x + 60);
  for (const Expected &e : controls) {
    wxWindow *control = pane.FindWindow(e.id);
    EXPECT_EQ(control->GetSize().x, pane.GetClientSize().x - 2) << e.id;
    EXPECT_EQ(control->GetPosition(), pane.ConvertDialogToPixels(wxPoint(e.x, e.y))) << e.id;
  }
  EXPECT_EQ(pane.m_lstFiles->GetColumnWidth(0), column);
  pane.SetSize(before);
  EXPECT_TRUE(WaitUntil(laidOut));
}

// Each filter lists folders first, then the files of its type by the substring rule; dot-files
// and the FIFO never. The program opened the folder saved in the settings file at start.
TEST(FilePane, ListsTheSavedFolderUnderEachFilter) {
  CFilesView &pane = Pane();
  EXPECT_EQ(pane.m_cmbDirectory->GetFullPath(), TreePath(Folder()));
  EXPECT_EQ(FilterEntries(pane), (std::vector<std::string>{"*.KDT", "*.BMP", "*.*"}));
  EXPECT_EQ(pane.m_cmbFilter->GetStringSelection(), "*.KDT");

  // A line break shows as a mark, on the name's one line, in the list and in the tree.
  const std::string lineBreak =
      "line\xE2\x8F\x8E"
      "break";
  const std::vector<std::string> folders = {"dir\\xFF\\xFE", lineBreak, "sub", "Zdir"};
  const CTreeCtrlFolder &tree = *pane.m_cmbDirectory->GetTreeCtrl();
  const wxTreeItemId inTree = tree.ChildNamed(tree.GetSelection(), "line\nbreak");
  ASSERT_TRUE(inTree.IsOk());
  EXPECT_EQ(tree.GetItemText(inTree).utf8_string(), lineBreak);
  const struct {
    const char *filter;
    std::vector<std::string> files;
    int exportSide;
  } cases[] = {
      {"*.BMP", {"b.bmp", "c.bmp", "small.bmp"}, 0},
      {"*.*",
       {"a.kdt", "a.txt", "b.bmp", "c.bmp", "damaged.kdt", "MA.QVEL_001.KDT", "small.bmp", "x.kd",
        "x.kdt2"},
       0},
      {"*.KDT", {"a.kdt", "damaged.kdt", "MA.QVEL_001.KDT", "x.kd"}, 1},
  };
  for (const auto &c : cases) {
    // A selection and a preview go with a change of filter.
    SelectOnly(pane,
               {pane.m_lstFiles->GetItemText(pane.m_lstFiles->GetItemCount() - 1).utf8_string()});
    ChooseFilter(pane, c.filter);
    std::vector<std::string> expected = folders;
    expected.insert(expected.end(), c.files.begin(), c.files.end());
    EXPECT_EQ(Listed(pane), expected) << c.filter;
    EXPECT_EQ(pane.IsExport(), c.exportSide) << c.filter;
    EXPECT_TRUE(pane.m_sfilesInChoose.empty()) << c.filter;
    EXPECT_EQ(pane.m_pTaskOfPreview, nullptr) << c.filter;
    EXPECT_EQ(PreviewCentre(kGround), kGround) << c.filter;
  }
  // Under any filter but "*.*" the selection can always be converted.
  EXPECT_EQ(pane.IsEnableConvert(), 1);
}

// Ranges selected and cleared from the keyboard: however many items one key changes, and in
// whichever direction, the selection list keeps the list's order and the menu and toolbar
// commands follow the selection as the rule decides them under "*.*". A folder listed again
// keeps the selection list but leaves nothing to convert.
TEST(FilePane, KeyboardRangesKeepTheListOrderAndTheEnabling) {
  CFilesView &pane = Pane();
  CListCtrlFile &list = *pane.m_lstFiles;
  ChooseFilter(pane, "*.*");
  // A key as the list's items window takes it from the keyboard.
  const auto press = [&](int key, int modifiers) {
    wxWindow *items = list.GetChildren().front();
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = key;
    event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
    event.SetEventObject(items);
    items->ProcessWindowEvent(event);
  };
  // Down from the item before name: name alone is selected, and ranges start from it.
  const auto startAt = [&](const char *name) {
    const long before = IndexOf(pane, name) - 1;
    SelectOnly(pane, {});
    list.SetItemState(before, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    press(WXK_DOWN, 0);
  };
  // Import and Reverse Field Dominance in the menu, Property, Settings and Rename on the
  // toolbar, as an idle update leaves them.
  const auto enabled = [&] {
    wxMenuBar &bar = *Frame().GetMenuBar();
    bar.GetMenu(1)->UpdateUI(Frame().GetEventHandler());
    Frame().GetToolBar()->UpdateWindowUI();
    std::string states;
    for (unsigned id : {res::ID_CONVERT_IMPORT, res::ID_CONVERT_YC})
      states += bar.IsEnabled(MenuItemId(id)) ? '1' : '0';
    for (unsigned id : {res::ID_FILE_PROPERTY, res::ID_CONVERT_SETTING, res::ID_FILE_RENAME})
      states += Frame().GetToolBar()->GetToolEnabled(static_cast<int>(id)) ? '1' : '0';
    return states;
  };
  const struct {
    const char *start;  // the item to start from, or null to go on from the last step
    std::vector<std::pair<int, int>> keys;
    std::vector<std::string> chosen;
    const char *enabled;
    int exportSide;
  } steps[] = {
      {"b.bmp", {{WXK_DOWN, wxMOD_SHIFT}}, {"b.bmp", "c.bmp"}, "10010", 0},
      // Ranges run from the item started from: upward past it, c.bmp leaves the selection,
      // and the last item changed is the first in the list.
      {nullptr,
       {{WXK_UP, wxMOD_SHIFT}, {WXK_UP, wxMOD_SHIFT}, {WXK_UP, wxMOD_SHIFT}},
       {"a.kdt", "a.txt", "b.bmp"},
       "00000",
       1},
      // Home selects the first item, a folder, and clears every other.
      {nullptr, {{WXK_HOME, 0}}, {}, "00000", 1},
      {"MA.QVEL_001.KDT", {{WXK_UP, wxMOD_SHIFT}}, {"damaged.kdt", "MA.QVEL_001.KDT"}, "01000", 1},
      // One key selects three items and deselects one.
      {nullptr,
       {{WXK_END, wxMOD_SHIFT}},
       {"MA.QVEL_001.KDT", "small.bmp", "x.kd", "x.kdt2"},
       "00000",
       1},
      {"small.bmp", {{WXK_UP, wxMOD_SHIFT}}, {"MA.QVEL_001.KDT", "small.bmp"}, "00000", 1},
      {"c.bmp", {{WXK_UP, wxMOD_SHIFT}}, {"b.bmp", "c.bmp"}, "10010", 0},
  };
  for (const auto &step : steps) {
    if (step.start != nullptr) startAt(step.start);
    for (const auto &[key, modifiers] : step.keys) press(key, modifiers);
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    const std::string where = step.start ? step.start : "then";
    EXPECT_EQ(pane.m_sfilesInChoose, Paths(step.chosen)) << where;
    EXPECT_EQ(enabled(), step.enabled) << where;
    EXPECT_EQ(pane.IsExport(), step.exportSide) << where;
  }
  pane.m_cmbDirectory->UpdateFolderAgain();
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp", "c.bmp"}));
  EXPECT_EQ(enabled(), "00000");
  SelectOnly(pane, {});
  ChooseFilter(pane, "*.KDT");
}

// One selected file is previewed, two clear the preview, a damaged file is reported with its
// path, one that is gone since it was listed is not loaded, and the preview follows the
// selection list, not the item clicked last.
TEST(FilePane, PreviewShowsTheOneSelectedFile) {
  CFilesView &pane = Pane();
  ChooseFilter(pane, "*.BMP");
  SelectOnly(pane, {"b.bmp"});
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp"}));
  EXPECT_EQ(PreviewCentre(kBmpColour), kBmpColour);
  SelectOnly(pane, {"b.bmp", "c.bmp"});
  EXPECT_EQ(pane.GetFilesNum(), 2);
  EXPECT_EQ(pane.m_pTaskOfPreview, nullptr);
  EXPECT_EQ(PreviewCentre(kGround), kGround);
  SelectOnly(pane, {"sub"});  // a folder is no file
  EXPECT_TRUE(pane.m_sfilesInChoose.empty());

  // Clicks as the operator makes them: b, ctrl-click c, ctrl-click b again: c is previewed.
  wxUIActionSimulator sim;
  CListCtrlFile &list = *pane.m_lstFiles;
  const auto clickOn = [&](const char *name, bool ctrl) {
    wxRect r;
    ASSERT_TRUE(list.GetItemRect(IndexOf(pane, name), r));
    sim.MouseMove(list.ClientToScreen(r.GetPosition() + wxPoint(8, r.height / 2)));
    ASSERT_TRUE(WaitUntil(ToolkitIdle));
    if (ctrl) sim.KeyDown(WXK_CONTROL);
    SingleClick(sim);
    if (ctrl) sim.KeyUp(WXK_CONTROL);
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
  };
  clickOn("b.bmp", false);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp"}));
  // A click in a pane makes it the active view, also a click on a control that holds the focus
  // already: the preview's picture, then a file of the list again.
  EXPECT_EQ(Frame().GetActiveView(), &pane);
  sim.MouseMove(Frame().GetRightPane()->GetScreenRect().GetPosition() + wxPoint(40, 40));
  SingleClick(sim);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  EXPECT_EQ(Frame().GetActiveView(), Frame().GetRightPane());
  clickOn("c.bmp", true);
  EXPECT_EQ(Frame().GetActiveView(), &pane);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp", "c.bmp"}));
  clickOn("b.bmp", true);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"c.bmp"}));
  EXPECT_EQ(PreviewCentre(kOtherBmpColour), kOtherBmpColour);
  // A second click on the item clicked last loads nothing again.
  clickOn("c.bmp", false);
  const CTaskBaseClass *task = pane.m_pTaskOfPreview.get();
  clickOn("c.bmp", false);
  EXPECT_EQ(pane.m_pTaskOfPreview.get(), task);
  EXPECT_EQ(PreviewCentre(kOtherBmpColour), kOtherBmpColour);
  // After a Ctrl+click has deselected an item, a plain click selects its own item alone (the
  // two Ctrl+clicks are single clicks, not a double-click).
  clickOn("small.bmp", true);
  clickOn("small.bmp", true);
  clickOn("b.bmp", false);
  EXPECT_EQ(list.GetSelectedItemCount(), 1);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp"}));

  // A KDT still, then a damaged one: its full path and the message, and an empty preview.
  ChooseFilter(pane, "*.KDT");
  SelectOnly(pane, {"MA.QVEL_001.KDT"});
  const uint32_t still = PreviewCentre(kKdtColour, 4);
  EXPECT_TRUE(Near(still, kKdtColour, 4)) << std::hex << still;
  ScriptedMessageBox boxes;
  SelectOnly(pane, {"damaged.kdt"});
  EXPECT_EQ(boxes.Texts(),
            std::vector<std::string>{InFolder("damaged.kdt") +
                                     " cann't be load in, the format of this file wasn't "
                                     "supported or the file was crashed."});
  EXPECT_EQ(PreviewCentre(kGround), kGround);
  EXPECT_EQ(pane.GetFilesNum(), 1);

  // Listed stills that have since gone, or given their name to a folder, are no files when
  // chosen alone: nothing is loaded, no message shows, nothing is left to convert.
  const char *const stale[] = {"gone.kdt", "now-a-folder.kdt"};
  for (const char *name : stale) fs::copy_file(InFolder("a.kdt"), InFolder(name));
  pane.m_cmbDirectory->UpdateFolderAgain();
  for (const char *name : stale) fs::remove(InFolder(name));
  fs::create_directory(InFolder("now-a-folder.kdt"));
  for (const char *name : stale) {
    ASSERT_GE(IndexOf(pane, name), 0) << name;
    SelectOnly(pane, {name});
    EXPECT_TRUE(pane.m_sfilesInChoose.empty()) << name;
    EXPECT_EQ(pane.m_pTaskOfPreview, nullptr) << name;
  }
  EXPECT_EQ(boxes.Texts().size(), 1u);  // the damaged still's only

  // A still whose path is too long for a record is not called damaged; one character less
  // previews.
  const auto nameOfLength = [&](size_t length) {
    std::string name("L");
    name.append(length - Folder().size() - 6, 'x');
    return name.append(".kdt");
  };
  const std::string fits = nameOfLength(kFileNameSize - 1), tooLong = nameOfLength(kFileNameSize);
  ASSERT_EQ(InFolder(tooLong).size(), size_t(kFileNameSize));
  for (const std::string &name : {fits, tooLong})
    fs::copy_file(InFolder("MA.QVEL_001.KDT"), InFolder(name));
  pane.m_cmbDirectory->UpdateFolderAgain();
  SelectOnly(pane, {fits});
  EXPECT_TRUE(Near(PreviewCentre(kKdtColour, 4), kKdtColour, 4));
  SelectOnly(pane, {tooLong});
  EXPECT_EQ(boxes.Texts().back(), InFolder(tooLong) + res::LoadString(res::IDS_PATH_TOO_LONG));
  EXPECT_EQ(PreviewCentre(kGround), kGround);
  SelectOnly(pane, {});
  for (const std::string &name : {fits, tooLong}) fs::remove(InFolder(name));
  fs::remove(InFolder("now-a-folder.kdt"));
  pane.m_cmbDirectory->UpdateFolderAgain();
}

// Choosing in the tree a folder gone since the tree showed it changes nothing else: the tree
// goes back to the folder listed, whose list, preview and selection stay.
TEST(FilePane, ChoosingAFolderGoneSinceItWasShownChangesNothing) {
  CFilesView &pane = Pane();
  ChooseFilter(pane, "*.BMP");
  SelectOnly(pane, {"b.bmp"});
  const std::vector<std::string> listed = Listed(pane);
  wxTreeCtrl &tree = *pane.m_cmbDirectory->GetTreeCtrl();
  const wxTreeItemId shown = tree.GetSelection();
  const wxTreeItemId gone = ChildNamed(tree, shown, "Zdir");
  ASSERT_TRUE(gone.IsOk());
  fs::rename(InFolder("Zdir"), InFolder("Zdir.away"));
  tree.SelectItem(gone);
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  fs::rename(InFolder("Zdir.away"), InFolder("Zdir"));
  EXPECT_EQ(tree.GetSelection(), shown);
  EXPECT_EQ(pane.m_cmbDirectory->GetFullPath(), TreePath(Folder()));
  EXPECT_EQ(Listed(pane), listed);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"b.bmp"}));
  EXPECT_EQ(PreviewCentre(kBmpColour), kBmpColour);
  SelectOnly(pane, {});
}

// A double-click on a folder opens it in the tree, which lists it; on a file it does nothing.
// The filter combo takes Up and Down only: Tab leaves the focus on it and Enter opens nothing.
// A double-click with the mouse on the item shown as name.
void DoubleClick(CFilesView &pane, const std::string &name) {
  wxRect r;
  ASSERT_TRUE(pane.m_lstFiles->GetItemRect(IndexOf(pane, name), r)) << name;
  wxUIActionSimulator sim;
  sim.MouseMove(pane.m_lstFiles->ClientToScreen(r.GetPosition() + wxPoint(8, r.height / 2)));
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  sim.MouseDblClick();
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

TEST(FilePane, DoubleClickOpensAFolderAndTheFilterTakesUpAndDownOnly) {
  CFilesView &pane = Pane();
  ChooseFilter(pane, "*.*");
  wxUIActionSimulator sim;
  const auto doubleClick = [&](const char *name) { DoubleClick(pane, name); };
  doubleClick("a.txt");
  EXPECT_EQ(pane.m_cmbDirectory->GetFullPath(), TreePath(Folder()));
  doubleClick("sub");
  EXPECT_EQ(pane.m_cmbDirectory->GetFullPath(), TreePath(InFolder("sub")));
  EXPECT_EQ(Listed(pane),
            (std::vector<std::string>{"a.bmp", "a.kdt", "a.txt", "b.bmp", "b.kd", "b.kdt"}));
  OpenFolder(pane, Folder());

  ChooseFilter(pane, "*.KDT");
  pane.m_cmbFilter->SetFocus();
  EXPECT_TRUE(
      WaitUntil([&] { return wxWindow::FindFocus() == pane.m_cmbFilter && ToolkitIdle(); }));
  for (int key : {int(WXK_TAB), int(WXK_RETURN), int('a'), int(WXK_ESCAPE)}) {
    sim.Char(key);
    EXPECT_TRUE(WaitUntil(ToolkitIdle));
    EXPECT_EQ(wxWindow::FindFocus(), pane.m_cmbFilter) << key;
    EXPECT_EQ(pane.m_cmbFilter->GetStringSelection(), "*.KDT") << key;
  }
  sim.Char(WXK_DOWN);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  EXPECT_EQ(pane.m_cmbFilter->GetStringSelection(), "*.BMP");
  EXPECT_EQ(pane.IsExport(), 0);  // the filter was chosen
  EXPECT_EQ(IndexOf(pane, "MA.QVEL_001.KDT"), -1);
  sim.Char(WXK_UP);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  EXPECT_EQ(pane.m_cmbFilter->GetStringSelection(), "*.KDT");
  EXPECT_NE(IndexOf(pane, "MA.QVEL_001.KDT"), -1);
}

// The entries of a context menu with their enabled states, "-" for a separator.
std::vector<std::string> Entries(const wxMenu &menu) {
  std::vector<std::string> entries;
  for (const wxMenuItem *item : menu.GetMenuItems()) {
    if (item->IsSeparator()) {
      entries.push_back("-");
      continue;
    }
    std::string entry = item->GetItemLabel().utf8_string() + (item->IsEnabled() ? "" : " (gray)");
    if (const wxMenu *sub = item->GetSubMenu()) {
      entry += " [";
      for (const wxMenuItem *subItem : sub->GetMenuItems())
        entry += subItem->GetItemLabel().utf8_string() + "=" +
                 std::to_string(subItem->GetId() + 0x8000) + " ";
      entry += "]";
    }
    entries.push_back(entry);
  }
  return entries;
}

TEST(FilePane, ContextMenuFollowsTheSideAndTheSelection) {
  CFilesView &pane = Pane();
  const struct {
    const char *filter;
    std::vector<std::string> selected;
    std::vector<std::string> entries;
  } cases[] = {
      {"*.KDT",
       {"MA.QVEL_001.KDT"},
       {"Export To [BMP=32774 ]", "Reverse Field Dominance", "-", "&Property", "&Rename"}},
      {"*.KDT",
       {"MA.QVEL_001.KDT", "a.kdt"},
       {"Export To [BMP=32774 ]", "Reverse Field Dominance", "-", "&Property (gray)",
        "&Rename (gray)"}},
      {"*.KDT",
       {},
       {"Export To (gray) [BMP=32774 ]", "Reverse Field Dominance (gray)", "-", "&Property (gray)",
        "&Rename (gray)"}},
      {"*.BMP", {"b.bmp"}, {"Import to KDT", "Reverse Field Dominance (gray)", "-", "&Property"}},
  };
  for (const auto &c : cases) {
    ChooseFilter(pane, c.filter);
    SelectOnly(pane, c.selected);
    wxMenu *menu = pane.m_lstFiles->LoadContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Entries(*menu), c.entries) << c.filter << " " << c.selected.size();
  }
}

// The export entry of a real right click runs its command once: the list takes it, and
// nothing further up (the frame handles the same range for its menu bar) sees it.
TEST(FilePane, ContextMenuCommandRunsOnce) {
  CFilesView &pane = Pane();
  ChooseFilter(pane, "*.KDT");
  SelectOnly(pane, {"MA.QVEL_001.KDT"});
  CListCtrlFile &list = *pane.m_lstFiles;
  int atList = 0, further = 0;
  const auto countAtList = [&](wxCommandEvent &event) {
    ++atList;
    event.Skip();
  };
  const auto countFurther = [&](wxCommandEvent &event) {
    ++further;
    event.Skip();
  };
  list.Bind(wxEVT_MENU, countAtList, res::ID_EXPORT_FIRST);
  pane.Bind(wxEVT_MENU, countFurther, res::ID_EXPORT_FIRST);
  Frame().Bind(wxEVT_MENU, countFurther, res::ID_EXPORT_FIRST);

  // A right click on the item, as the list gets it from the toolkit; the menu's own loop runs
  // until an entry is chosen.
  wxRect r;
  ASSERT_TRUE(list.GetItemRect(IndexOf(pane, "MA.QVEL_001.KDT"), r));
  const wxPoint at = list.ClientToScreen(r.GetPosition() + wxPoint(8, r.height / 2));
  wxUIActionSimulator sim;
  sim.MouseMove(at);
  ASSERT_TRUE(WaitUntil(ToolkitIdle));
  bool opened = false;
  const auto noteOpen = [&](wxMenuEvent &event) {
    opened = true;
    event.Skip();
  };
  list.Bind(wxEVT_MENU_OPEN, noteOpen);
  // Once the menu is up: into "Export To", then its first entry.
  Poll keys([&] {
    wxMenu *menu = list.GetLoadedMenu();
    if (!opened || menu == nullptr || !gtk_widget_get_mapped(menu->m_menu) || !ToolkitIdle())
      return false;
    sim.Char(WXK_DOWN);
    sim.Char(WXK_RIGHT);
    sim.Char(WXK_RETURN);
    return true;
  });
  // The entry starts an export into its format: its parameter dialog is left with Cancel.
  std::string exportFormat;
  Poll settings([&] {
    CDlgSetting *dialog = ShownDialog<CDlgSetting>();
    if (dialog == nullptr) return false;
    exportFormat = dialog->m_sExt;
    dialog->EndModal(platform::gui::kIdCancel);
    return true;
  });
  wxContextMenuEvent click(wxEVT_CONTEXT_MENU, list.GetId(), at);
  click.SetEventObject(&list);
  list.ProcessWindowEvent(click);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  list.Unbind(wxEVT_MENU_OPEN, noteOpen);
  list.Unbind(wxEVT_MENU, countAtList, res::ID_EXPORT_FIRST);
  pane.Unbind(wxEVT_MENU, countFurther, res::ID_EXPORT_FIRST);
  Frame().Unbind(wxEVT_MENU, countFurther, res::ID_EXPORT_FIRST);
  EXPECT_TRUE(opened);
  EXPECT_EQ(atList, 1);
  EXPECT_EQ(further, 0);
  EXPECT_EQ(exportFormat, "BMP");
  EXPECT_EQ(list.GetLoadedMenu(), nullptr);  // the command unloaded the menu
  // The right click reported the item under the mouse first.
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"MA.QVEL_001.KDT"}));
}

// The entries, with their states as shown, of each context menu that a real right click on the
// item shown as name (or below the items) opens; each menu is left with Esc. With prompts, the
// pointer first rests on each entry of the menu in turn, and prompts gets what the status bar
// shows then, and what it shows once the menu is gone.
std::vector<std::vector<std::string>> RightClickMenus(CFilesView &pane, const std::string &name,
                                                      std::vector<std::string> *prompts = nullptr) {
  CListCtrlFile &list = *pane.m_lstFiles;
  std::vector<std::vector<std::string>> menus;
  wxRect r;
  wxPoint at(8, list.GetClientSize().y - 3);  // no name: the bottom of the list, below the items
  if (!name.empty()) {
    EXPECT_TRUE(list.GetItemRect(IndexOf(pane, name), r)) << name;
    at = r.GetPosition() + wxPoint(8, r.height / 2);
  }
  int flags = 0;
  EXPECT_EQ(list.HitTest(at, flags) != wxNOT_FOUND, !name.empty()) << name;
  wxUIActionSimulator sim;
  sim.MouseMove(list.ClientToScreen(at));
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  // The states are read while the menu is open, after the updates the toolkit sends it.
  wxMenu *open = nullptr;
  const auto noteOpen = [&](wxMenuEvent &event) {
    if (event.GetMenu() != nullptr && event.GetMenu() == list.GetLoadedMenu())
      open = event.GetMenu();
    event.Skip();
  };
  const auto noteClose = [&](wxMenuEvent &event) {
    open = nullptr;
    event.Skip();
  };
  list.Bind(wxEVT_MENU_OPEN, noteOpen);
  list.Bind(wxEVT_MENU_CLOSE, noteClose);
  const wxStatusBar &status = *dynamic_cast<wxFrame &>(*wxGetTopLevelParent(&list)).GetStatusBar();
  size_t pointed = 0;  // entries the pointer has rested on
  // Each step once the menu has handled the one before.
  Poll escape([&] {
    if (open == nullptr || !gtk_widget_get_mapped(open->m_menu) || !ToolkitIdle()) return false;
    const wxMenuItemList &items = open->GetMenuItems();
    if (prompts != nullptr && pointed < items.size()) {
      if (pointed > 0) prompts->push_back(status.GetStatusText(0).utf8_string());
      while (items[pointed]->IsSeparator()) ++pointed;
      sim.MouseMove(MiddleOnScreen(items[pointed++]->GetMenuItem()));
      return false;
    }
    if (prompts != nullptr) prompts->push_back(status.GetStatusText(0).utf8_string());
    menus.push_back(Entries(*open));
    sim.Char(WXK_ESCAPE);
    return false;
  });
  SingleClick(sim, wxMOUSE_BTN_RIGHT);
  EXPECT_TRUE(WaitUntil([&] { return !menus.empty() && open == nullptr && ToolkitIdle(); }))
      << name;
  list.Unbind(wxEVT_MENU_OPEN, noteOpen);
  list.Unbind(wxEVT_MENU_CLOSE, noteClose);
  if (prompts != nullptr) prompts->push_back(status.GetStatusText(0).utf8_string());
  return menus;
}

// Runs the pane's rename command; step is called with the open dialog at each poll until it
// returns true (the dialog must be closed by then). A dialog left open fails the test.
void RunRename(CFilesView &pane, const std::function<bool(CDlgRename &)> &step) {
  bool seen = false, done = false;
  const auto started = std::chrono::steady_clock::now();
  Poll drive([&] {
    if (wxDialog *shown = ShownDialog<wxDialog>();
        shown != nullptr && CloseWhenOverdue(*shown, started, done ? "left open" : "renaming"))
      return false;
    CDlgRename *dialog = ShownDialog<CDlgRename>();
    if (dialog == nullptr || done) return false;
    seen = true;
    done = step(*dialog);
    return false;
  });
  pane.ReName();
  EXPECT_TRUE(seen);
}

// Makes a file under the name the rename dialog accepted, as another program might between
// the dialog's check and the rename.
class FileMadeAfterTheCheck : public wxModalDialogHook {
 public:
  FileMadeAfterTheCheck() { Register(); }
  ~FileMadeAfterTheCheck() override { Unregister(); }
  int Enter(wxDialog *) override { return wxID_NONE; }
  void Exit(wxDialog *dialog) override {
    if (auto *rename = dynamic_cast<CDlgRename *>(dialog); rename && !rename->m_sNewName.empty())
      test_support::WriteWholeFile(rename->m_sPath + rename->m_sNewName, {'m', 'i', 'n', 'e'});
  }
};

// What the property command's dialog shows: path, format, width*height, kilobytes, time.
std::vector<std::string> PropertyTexts(CFilesView &pane, bool checkLook = false) {
  std::vector<std::string> shown;
  Poll read([&] {
    CDlgFileProperty *dialog = ShownDialog<CDlgFileProperty>();
    if (dialog == nullptr) return false;
    EXPECT_EQ(dialog->GetTitle(), "File Property");
    if (checkLook) ExpectTemplateLook(*dialog, res::IDD_FILE_PROPERTY);
    for (int id : {res::IDC_EDT_FILE_NAME, res::IDC_STC_FORMAT, res::IDC_STC_WIDTH_HEIGHT,
                   res::IDC_STC_SIZE, res::IDC_STC_UPDATE_TIME})
      shown.push_back(TextOf(*dialog, id));
    Click(*dialog, res::IDOK);
    return true;
  });
  pane.ViewProperty();
  return shown;
}

TEST(FilePane, RenameChecksTheNewNameAndNeverReplacesAFile) {
  CFilesView &pane = Pane();
  fs::copy_file(InFolder("a.kdt"), InFolder("MTITLE.QVEL_012.KDT"));
  fs::copy_file(InFolder("a.kdt"), InFolder("MTAKEN.QVEL_001.KDT"));
  ChooseFilter(pane, "*.BMP");
  ChooseFilter(pane, "*.KDT");
  SelectOnly(pane, {"MTITLE.QVEL_012.KDT"});
  ScriptedMessageBox boxes;

  // Refused entries keep the dialog open with their message; then a good one renames.
  const struct {
    const char *head, *number;
    unsigned message;  // 0: accepted
  } attempts[] = {
      {"a-b", "123", res::IDS_INVALID_CHAR},  {"ab", "12", res::IDS_THREE_DIGITS},
      {"ab", "1a3", res::IDS_THREE_DIGITS},   {"\xC3\xA9", "123", res::IDS_INVALID_CHAR},
      {"TAKEN", "001", res::IDS_NAME_EXISTS}, {"ab_1", "007", 0},
  };
  size_t next = 0;
  int typing = 0;
  wxUIActionSimulator keys;
  RunRename(pane, [&](CDlgRename &dialog) {
    auto *head = dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_HEAD));
    auto *number = dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_NUMBER));
    // First what the fields take as typed: seven characters of a head, digits of a number.
    // Each typing is read once every typed key has been handled.
    if (typing == 1 || typing == 2) {
      if (!ToolkitIdle()) return false;
    }
    const int poll = typing < 3 ? typing++ : 3;
    if (poll == 0) {
      EXPECT_EQ(TextOf(dialog, res::IDC_EDT_SRC_NAME), "MTITLE.QVEL_012.KDT");
      EXPECT_EQ(TextOf(dialog, res::IDC_EDT_NUMBER), "012");
      head->SetFocus();
      keys.Text("abcdefgh");
    } else if (poll == 1) {
      EXPECT_EQ(head->GetValue(), "abcdefg");
      ExpectTemplateLook(dialog, res::IDD_RENAME);
      GdkRectangle area;
      gtk_entry_get_text_area(GTK_ENTRY(head->GetHandle()), &area);
      EXPECT_GE(area.width, head->GetTextExtent("abcdefg").x);  // the whole head shows
      number->ChangeValue("");
      number->SetFocus();
      keys.Text("1a2");
    } else if (poll == 2) {
      EXPECT_EQ(number->GetValue(), "12");
    }
    if (poll < 3) return false;
    const auto &a = attempts[next++];
    head->ChangeValue(wxString::FromUTF8(a.head));
    number->ChangeValue(a.number);  // as a paste would put it
    const size_t shown = boxes.Texts().size();
    Click(dialog, res::IDOK);
    if (a.message != 0) {
      EXPECT_EQ(boxes.Texts().size(), shown + 1) << a.head;
      EXPECT_EQ(boxes.Texts().back(), res::LoadString(a.message)) << a.head;
      EXPECT_TRUE(dialog.IsShown());
    }
    return a.message == 0;
  });
  EXPECT_EQ(next, std::size(attempts));
  EXPECT_FALSE(fs::exists(InFolder("MTITLE.QVEL_012.KDT")));
  EXPECT_TRUE(fs::exists(InFolder("Mab_1.QVEL_007.KDT")));
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"Mab_1.QVEL_007.KDT"}));
  EXPECT_NE(IndexOf(pane, "Mab_1.QVEL_007.KDT"), -1);  // listed again
  // The preview's record names the file by its new name, so its properties are the file's.
  const std::vector<std::string> properties = PropertyTexts(pane);
  ASSERT_EQ(properties.size(), 5u);
  EXPECT_EQ(properties[0], InFolder("Mab_1.QVEL_007.KDT"));
  EXPECT_EQ(properties[3], "920");
  EXPECT_FALSE(properties[4].empty());

  // An empty head.
  RunRename(pane, [&](CDlgRename &dialog) {
    dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_HEAD))->ChangeValue("");
    dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_NUMBER))->ChangeValue("123");
    Click(dialog, res::IDOK);
    return true;
  });
  EXPECT_TRUE(fs::exists(InFolder("M.QVEL_123.KDT")));
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"M.QVEL_123.KDT"}));

  // A file that appears under the new name after the dialog's check is not replaced.
  const size_t shown = boxes.Texts().size();
  {
    FileMadeAfterTheCheck race;
    RunRename(pane, [&](CDlgRename &dialog) {
      dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_HEAD))->ChangeValue("RACE");
      Click(dialog, res::IDOK);
      return true;
    });
  }
  EXPECT_EQ(test_support::ReadWholeFile(InFolder("MRACE.QVEL_123.KDT")),
            (std::vector<unsigned char>{'m', 'i', 'n', 'e'}));
  EXPECT_TRUE(fs::exists(InFolder("M.QVEL_123.KDT")));
  EXPECT_EQ(boxes.Texts().size(), shown + 1);
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"M.QVEL_123.KDT"}));
  SelectOnly(pane, {});
  for (const char *name :
       {"Mab_1.QVEL_007.KDT", "M.QVEL_123.KDT", "MRACE.QVEL_123.KDT", "MTAKEN.QVEL_001.KDT"})
    fs::remove(InFolder(name));

  // A new name whose path a record could not hold is refused: the still could no longer be
  // previewed or converted.
  const std::string deep = DeepFolder();
  fs::copy_file(InFolder("a.kdt"), deep + "/M.QVEL_123.KDT");
  OpenFolder(pane, deep);
  SelectOnly(pane, {"M.QVEL_123.KDT"});
  RunRename(pane, [&](CDlgRename &dialog) {
    dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_HEAD))->ChangeValue("ABCDEFG");
    Click(dialog, res::IDOK);
    return true;
  });
  EXPECT_EQ(boxes.Texts().back(),
            deep + "/MABCDEFG.QVEL_123.KDT" + res::LoadString(res::IDS_PATH_TOO_LONG));
  EXPECT_TRUE(fs::exists(deep + "/M.QVEL_123.KDT"));
  SelectOnly(pane, {});
  OpenFolder(pane, Folder());
}

// The property dialog of the previewed file: size in whole kilobytes, picture size, format and
// the last-write time in local time; a file gone since its preview shows size 0 and no time.
TEST(FilePane, PropertiesOfThePreviewedFile) {
  CFilesView &pane = Pane();
  setenv("TZ", "UTC", 1);
  tzset();
  const timeval when[2] = {{1078668309, 0}, {1078668309, 0}};  // 2004-03-07 14:05:09 UTC
  fs::copy_file(InFolder("small.bmp"), InFolder("gone.bmp"));
  // Beyond what 32 bits count: the bitmap's rows come first, the rest is a hole in the file.
  fs::copy_file(InFolder("small.bmp"), InFolder("huge.bmp"));
  fs::resize_file(InFolder("huge.bmp"), (uint64_t{4} << 30) + 2048);
  // A bitmap stored top row first: its header records the height negative.
  WriteBmp(InFolder("topdown.bmp"), 250, 150, kBmpColour);
  {
    std::fstream file(InFolder("topdown.bmp"), std::ios::in | std::ios::out | std::ios::binary);
    const int32_t height = -150;
    file.seekp(22);
    file.write(reinterpret_cast<const char *>(&height), sizeof height);
  }
  for (const char *name : {"MA.QVEL_001.KDT", "small.bmp", "huge.bmp", "topdown.bmp"})
    ASSERT_EQ(utimes(InFolder(name).c_str(), when), 0);

  const struct {
    const char *filter, *file;
    bool removeFirst;
    std::vector<std::string> shown;  // path, format, width*height, kilobytes, time
  } cases[] = {
      {"*.KDT",
       "MA.QVEL_001.KDT",
       false,
       {InFolder("MA.QVEL_001.KDT"), "KDT", "720*487", "920", "03/07/2004 14:05:09"}},
      {"*.BMP",
       "small.bmp",
       false,
       {InFolder("small.bmp"), "BMP", "8*8", "0", "03/07/2004 14:05:09"}},
      {"*.BMP", "gone.bmp", true, {InFolder("gone.bmp"), "BMP", "8*8", "0", ""}},
      {"*.BMP",
       "huge.bmp",
       false,
       {InFolder("huge.bmp"), "BMP", "8*8", "4194306", "03/07/2004 14:05:09"}},
      {"*.BMP",
       "topdown.bmp",
       false,
       {InFolder("topdown.bmp"), "BMP", "250*-150", "110", "03/07/2004 14:05:09"}},
  };
  for (const auto &c : cases) {
    ChooseFilter(pane, c.filter);
    SelectOnly(pane, {c.file});
    if (c.removeFirst) fs::remove(InFolder(c.file));
    EXPECT_EQ(PropertyTexts(pane, c.removeFirst), c.shown) << c.file;
  }
  SelectOnly(pane, {});
  fs::remove(InFolder("huge.bmp"));
  fs::remove(InFolder("topdown.bmp"));
  unsetenv("TZ");
  tzset();
}

// Records the text of each message box and answers it at once.
class MessageTexts : public wxModalDialogHook {
 public:
  MessageTexts() { Register(); }
  ~MessageTexts() override { Unregister(); }
  int Enter(wxDialog *dialog) override {
    auto *box = dynamic_cast<wxMessageDialog *>(dialog);
    if (box == nullptr) return wxID_NONE;
    texts.push_back(box->GetMessage().utf8_string());
    return wxID_OK;
  }
  void Exit(wxDialog *) override {}
  std::vector<std::string> texts;
};

// Names that are not UTF-8 are shown by their bytes, the same way in the list, the tree, the
// combo, the dialogs and the message boxes, and every way back to the file takes the name's own
// bytes: the selection, the preview, a double-click on a folder and the rename.
TEST(FilePane, NamesThatAreNotUtf8ShowTheirBytesAndLeadBackToTheirFiles) {
  CFilesView &pane = Pane();
  const std::string cafe = "caf\xE9.KDT", folder = "dir\xFF\xFE", damaged = "bad\xE9.kdt";
  fs::copy_file(InFolder("MA.QVEL_001.KDT"), InFolder(cafe));
  test_support::WriteWholeFile(InFolder(damaged), std::vector<unsigned char>(100, 0x5A));
  ChooseFilter(pane, "*.BMP");
  ChooseFilter(pane, "*.KDT");
  const std::vector<std::string> listed = Listed(pane);
  for (const char *shown : {"caf\\xE9.KDT", "dir\\xFF\\xFE", "bad\\xE9.kdt"})
    EXPECT_NE(std::find(listed.begin(), listed.end(), shown), listed.end()) << shown;

  SelectOnly(pane, {"caf\\xE9.KDT"});
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({cafe}));
  EXPECT_TRUE(Near(PreviewCentre(kKdtColour, 4), kKdtColour, 4));
  std::string shownPath;
  Poll property([&] {
    CDlgFileProperty *dialog = ShownDialog<CDlgFileProperty>();
    if (dialog == nullptr) return false;
    shownPath = TextOf(*dialog, res::IDC_EDT_FILE_NAME);
    Click(*dialog, res::IDOK);
    return true;
  });
  pane.ViewProperty();
  EXPECT_EQ(shownPath, Folder() + "/caf\\xE9.KDT");

  // The load failure names the file as the list does.
  {
    platform::gui::WxMessageBoxService service("Quenda", &FileNameText);
    platform::gui::ScopedMessageBoxService installed(service);
    MessageTexts boxes;
    SelectOnly(pane, {"bad\\xE9.kdt"});
    EXPECT_EQ(boxes.texts, std::vector<std::string>{Folder() + "/bad\\xE9.kdt" +
                                                    res::LoadString(res::IDS_CANNOT_LOAD)});
  }

  // The folder opens in the tree, which shows it as the list did; the combo shows its path.
  DoubleClick(pane, "dir\\xFF\\xFE");
  EXPECT_EQ(pane.m_cmbDirectory->GetFullPath(), TreePath(InFolder(folder)));
  EXPECT_EQ(Listed(pane), std::vector<std::string>{"inner.kdt"});
  const CTreeCtrlFolder &tree = *pane.m_cmbDirectory->GetTreeCtrl();
  EXPECT_EQ(tree.GetItemText(tree.GetSelection()).utf8_string(), "dir\\xFF\\xFE");
  EXPECT_EQ(pane.m_cmbDirectory->GetValue().utf8_string(), Folder() + "/dir\\xFF\\xFE");
  OpenFolder(pane, Folder());

  SelectOnly(pane, {"caf\\xE9.KDT"});
  RunRename(pane, [&](CDlgRename &dialog) {
    EXPECT_EQ(TextOf(dialog, res::IDC_EDT_SRC_NAME), "caf\\xE9.KDT");
    dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_HEAD))->ChangeValue("CAFE");
    dynamic_cast<wxTextCtrl *>(dialog.FindWindow(res::IDC_EDT_NUMBER))->ChangeValue("009");
    Click(dialog, res::IDOK);
    return true;
  });
  EXPECT_FALSE(fs::exists(InFolder(cafe)));
  EXPECT_TRUE(fs::exists(InFolder("MCAFE.QVEL_009.KDT")));
  SelectOnly(pane, {});
  for (const std::string &name : {std::string("MCAFE.QVEL_009.KDT"), damaged})
    fs::remove(InFolder(name));
}

// A second main window stands for the next start of the program: it reads the settings file
// at its first update and writes it when it goes, as exactly one entry, other sections kept.
CMainFrame *StartWindow() {
  auto *frame = new CMainFrame(*theApp.GetDocument());
  if (!frame->LoadFrame("Quenda")) return nullptr;
  frame->Show();
  frame->InitialUpdateFrame();
  EXPECT_TRUE(WaitUntil([frame] { return ShownAndSettled(*frame); }));
  return frame;
}

void CloseWindow(CMainFrame *frame) {
  frame->Destroy();
  EXPECT_TRUE(
      WaitUntil([frame] { return !wxTheApp->IsScheduledForDestruction(frame) && ToolkitIdle(); }));
}

TEST(FilePane, SettingsFileKeepsTheFolderListedLast) {
  // Written by hand: another section, and an entry of our section that goes.
  {
    std::ofstream ini(SettingsFile(), std::ios::trunc);
    ini << "[Other]\nkeep=1\n[Quenda]\nSourceKey=" << TreePath(Folder()) << "\nExtra=2\n";
  }
  const struct {
    std::string open;   // the folder the window lists last
    std::string saved;  // SourceKey's value afterwards
  } cases[] = {
      {InFolder("sub"), TreePath(InFolder("sub"))},
      {InFolder("line\nbreak"), ""},  // a line break never becomes a line of its own
  };
  for (const auto &c : cases) {
    CMainFrame *frame = StartWindow();
    ASSERT_NE(frame, nullptr);
    OpenFolder(*frame->GetLeftPane(), c.open);
    CloseWindow(frame);
    EXPECT_EQ(platform::ReadIniSection(SettingsFile(), "Quenda"),
              std::vector<std::string>{"SourceKey=" + c.saved});
    EXPECT_EQ(platform::ReadIniSection(SettingsFile(), "Other"),
              std::vector<std::string>{"keep=1"});
  }
  // The next start reopens the folder saved last.
  platform::ReplaceIniSection(SettingsFile(), "Quenda", {"SourceKey=" + TreePath(InFolder("sub"))});
  CMainFrame *frame = StartWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetLeftPane()->m_cmbDirectory->GetFullPath(), TreePath(InFolder("sub")));
  ChooseFilter(*frame->GetLeftPane(), "*.*");
  EXPECT_EQ(Listed(*frame->GetLeftPane()),
            (std::vector<std::string>{"a.bmp", "a.kdt", "a.txt", "b.bmp", "b.kd", "b.kdt"}));
  CloseWindow(frame);

  // A saved folder longer than the read is cut inside a name: the window opens the deepest
  // folder read whole, not a sibling that bears the cut name.
  std::string deep = InFolder("deep");
  while (TreePath(deep).size() < 200) deep += "/" + std::string(40, 'd');
  const size_t kept = 260 - 2 - std::strlen("SourceKey=") - TreePath(deep).size();
  std::string cutName(kept + 20, 'n');
  cutName.front() = 'M';
  fs::create_directories(deep + "/" + cutName);
  fs::create_directories(deep + "/" + cutName.substr(0, kept));
  platform::ReplaceIniSection(SettingsFile(), "Quenda",
                              {"SourceKey=" + TreePath(deep + "/" + cutName)});
  frame = StartWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetLeftPane()->m_cmbDirectory->GetFullPath(), TreePath(deep));
  CloseWindow(frame);
  fs::remove_all(InFolder("deep"));

  // A saved folder of megabytes of separators is read only so far, so the window comes at once;
  // the other sections keep their bytes, line ends included.
  {
    std::ofstream ini(SettingsFile(), std::ios::trunc | std::ios::binary);
    ini << "[Other]\r\nkeep=1\r\n[Quenda]\r\nSourceKey=" << std::string(24 << 20, '/') << "\r\n";
  }
  const auto start = std::chrono::steady_clock::now();
  frame = StartWindow();
  ASSERT_NE(frame, nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  OpenFolder(*frame->GetLeftPane(), InFolder("sub"));
  CloseWindow(frame);
  std::ifstream saved(SettingsFile(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}),
            "[Other]\r\nkeep=1\r\n[Quenda]\r\nSourceKey=" + TreePath(InFolder("sub")) + "\r\n");
}

// With the KDT plug-in alone there is no pattern: the filter holds "*.KDT" and "*.*", and the
// context menu's "Export To" is empty and grayed while the field exchange stays.
TEST(FilePane, WithOnlyTheKdtPlugIn) {
  const std::string bmp = platform::ExecutableFolder() + "dll/bmpplug.dll";
  ASSERT_TRUE(fs::remove(bmp));
  CMainFrame *frame = StartWindow();
  fs::copy_file(QUENDA_PLUGIN_DIR "bmpplug.dll", bmp);
  ASSERT_NE(frame, nullptr);
  CFilesView &pane = *frame->GetLeftPane();
  EXPECT_EQ(FilterEntries(pane), (std::vector<std::string>{"*.KDT", "*.*"}));
  OpenFolder(pane, Folder());
  // The window's first right clicks, with no click before them, beside the items and then on a
  // file: each opens one menu; the file is selected and reported first, and the menu shows the
  // list's own states (the frame's rule for the menu bar's "Property" asks for no pattern).
  EXPECT_EQ(RightClickMenus(pane, ""), (std::vector<std::vector<std::string>>{
                                           {"Export To (gray) []", "Reverse Field Dominance (gray)",
                                            "-", "&Property (gray)", "&Rename (gray)"}}));
  // The status bar shows the prompt of the entry under the pointer, greyed or not, and its
  // idle text once the menu is gone ("Export To" has none).
  std::vector<std::string> prompts;
  EXPECT_EQ(
      RightClickMenus(pane, "MA.QVEL_001.KDT", &prompts),
      (std::vector<std::vector<std::string>>{{"Export To (gray) []", "Reverse Field Dominance", "-",
                                              "&Property (gray)", "&Rename (gray)"}}));
  EXPECT_EQ(pane.m_sfilesInChoose, Paths({"MA.QVEL_001.KDT"}));
  EXPECT_EQ(prompts, (std::vector<std::string>{
                         "", "Convert files with Y/C data only in NELVOR format(*.KDT)",
                         "Display the property of file in choose", "Rename the file", "Status"}));
  CloseWindow(frame);
}

}  // namespace

// No message box of the program waits for an operator: those the tests do not check go to
// standard error.
class NoModalMessages : public testing::Environment {
 public:
  void SetUp() override { platform::SetMessageBoxService(nullptr); }
};

int main(int argc, char **argv) {
  testing::AddGlobalTestEnvironment(new NoModalMessages);
  // This program's own dll/ folder: the build's plug-ins and a settings file that saves the
  // browsed folder, so the program starts on it.
  test_support::TempFolder folder;
  g_folder = &folder;
  const std::string dll = platform::ExecutableFolder() + "dll/";
  fs::create_directories(dll);
  for (const char *plugin : {"kdtplug.dll", "bmpplug.dll"})
    fs::copy_file(std::string(QUENDA_PLUGIN_DIR) + plugin, dll + plugin,
                  fs::copy_options::overwrite_existing);
  MakeFolder();
  platform::ReplaceIniSection(SettingsFile(), "Quenda", {"SourceKey=" + TreePath(folder.Path())});
  const int result = RunTestsInEventLoop(argc, argv, theApp, [] {
    return theApp.GetMainFrame() != nullptr &&
           theApp.GetMainFrame()->ProcessCommand(MenuItemId(res::ID_APP_EXIT)) &&
           theApp.GetMainFrame() == nullptr;
  });
  g_folder = nullptr;
  return result;
}
