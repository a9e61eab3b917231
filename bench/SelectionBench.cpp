// The file pane over large folders, in the real program's window on a private X server: a
// folder of --files tiny bitmaps (20,000 by default) listed under "*.*", and beside it a folder
// of as many subfolders. Shift+End from the first item selects them all, Home clears that
// selection back to the first item, and one update of every menu entry and toolbar button runs
// while all are selected. Each key is handled as the list handles it, and the reports the list
// puts off are run before the time stops. Then the folders themselves: listing the bitmaps
// again, the first selection of a bitmap in that fresh listing, changing the filter, opening the
// program's tree on the saved folder of bitmaps as at start-up, and, on a tree freshly opened on
// their parent, the first selection of the folder of subfolders (listing and expanding it) and its
// expansion alone. Time is processor time of the whole process.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/listctrl.h>
#include <wx/menu.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/filepane/ComboBoxColor.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "app/res/Resource.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/HeapTuning.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/gui/MenuCommandIds.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/PrivateDisplay.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

int g_files = 20000;
// The tree's paths of names of the folder that holds the two folders, and of the bitmaps.
std::string g_parentPath, g_stillsPath;
constexpr const char *kStills = "stills";
constexpr const char *kFolders = "folders";

// A bitmap of one pixel: the smallest file the bitmap plug-in previews.
void WriteTinyBmp(const fs::path &path) {
  static const unsigned char kBytes[58] = {
      'B',  'M',  58,   0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40,   0,    0,    0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
      4,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  // info header
      0x40, 0x80, 0xC0, 0};  // one pixel, row padded
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char *>(kBytes), sizeof kBytes);
}

// A benchmark whose result is not what it measures fails the program.
bool g_failed = false;
void Fail(benchmark::State &state, const char *what) {
  g_failed = true;
  state.SkipWithError(what);
}

CFilesView &Pane() {
  return *theApp.GetMainFrame()->GetLeftPane();
}

// A key as the list's items window takes it, then the work the list has put off.
void PressKey(int key, bool shift) {
  CListCtrlFile &list = *Pane().m_lstFiles;
  wxWindow *items = list.GetChildren().empty() ? &list : list.GetChildren().front();
  wxKeyEvent event(wxEVT_CHAR);
  event.m_keyCode = key;
  event.m_shiftDown = shift;
  event.SetEventObject(items);
  items->ProcessWindowEvent(event);
  wxTheApp->ProcessPendingEvents();
}

void SelectAll() {
  PressKey(WXK_HOME, false);
  PressKey(WXK_END, true);
}

bool AllSelected() {
  return Pane().m_lstFiles->GetSelectedItemCount() == g_files && Pane().GetFilesNum() == g_files;
}

void BM_SelectAllWithShiftEnd(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    PressKey(WXK_HOME, false);
    state.ResumeTiming();
    PressKey(WXK_END, true);
  }
  if (!AllSelected()) Fail(state, "not every file was selected");
}

void BM_ClearSelectionWithHome(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    SelectAll();
    state.ResumeTiming();
    PressKey(WXK_HOME, false);
  }
  if (Pane().GetFilesNum() != 1) Fail(state, "the selection was not cleared");
}

void BM_UpdateCommandsWithAllSelected(benchmark::State &state) {
  SelectAll();
  if (!AllSelected()) Fail(state, "not every file was selected");
  CMainFrame &frame = *theApp.GetMainFrame();
  for (auto _ : state) frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
  const wxMenuItem *import =
      frame.GetMenuBar()->FindItem(platform::gui::MenuItemId(res::ID_CONVERT_IMPORT));
  if (import == nullptr || !import->IsEnabled()) Fail(state, "the import is not enabled");
}

CTreeCtrlFolder &Tree() {
  return *Pane().m_cmbDirectory->GetTreeCtrl();
}

// Chooses a filter as the operator does.
void ChooseFilter(const char *filter) {
  CFilesView &pane = Pane();
  pane.m_cmbFilter->SetStringSelection(filter);
  wxCommandEvent choose(wxEVT_CHOICE, res::IDC_CMB_FILTER);
  choose.SetEventObject(pane.m_cmbFilter);
  pane.m_cmbFilter->ProcessWindowEvent(choose);
  wxTheApp->ProcessPendingEvents();
}

// Opens the tree afresh on a saved folder, as the program does at start-up.
void OpenTreeOn(const std::string &saved) {
  Pane().m_cmbDirectory->Initilize(0, 300, &Pane(), saved);
  wxTheApp->ProcessPendingEvents();
}

void BM_ListTheFolderOfFiles(benchmark::State &state) {
  for (auto _ : state) {
    Tree().UpateAgain();
    wxTheApp->ProcessPendingEvents();
  }
  if (Pane().m_lstFiles->GetItemCount() != g_files) Fail(state, "the files were not listed");
}

// The first file selected in a fresh listing, as a click selects it, and its preview.
void BM_FirstSelectionOfAFile(benchmark::State &state) {
  CListCtrlFile &list = *Pane().m_lstFiles;
  for (auto _ : state) {
    state.PauseTiming();
    Tree().UpateAgain();
    wxTheApp->ProcessPendingEvents();
    state.ResumeTiming();
    list.SetItemState(0, wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED,
                      wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED);
    wxTheApp->ProcessPendingEvents();
    theApp.GetMainFrame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  }
  if (Pane().GetFilesNum() != 1) Fail(state, "the file was not selected");
}

void BM_ChangeTheFilter(benchmark::State &state) {
  bool all = false;
  for (auto _ : state) {
    all = !all;
    ChooseFilter(all ? "*.*" : "*.BMP");
  }
  if (Pane().m_lstFiles->GetItemCount() != g_files) Fail(state, "the files were not listed");
  ChooseFilter("*.*");
}

void BM_StartUpOnTheFolderOfFiles(benchmark::State &state) {
  for (auto _ : state) OpenTreeOn(g_stillsPath);
  if (Pane().m_cmbDirectory->GetFullPath() != g_stillsPath ||
      Pane().m_lstFiles->GetItemCount() != g_files) {
    Fail(state, "the saved folder was not opened");
  }
}

// The folder of subfolders in a tree freshly opened on its parent, neither listed nor expanded.
wxTreeItemId FreshFolderOfFolders() {
  OpenTreeOn(g_parentPath);
  return Tree().ChildNamed(Tree().GetSelection(), kFolders);
}

void BM_FirstSelectionOfTheFolderOfFolders(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    const wxTreeItemId folders = FreshFolderOfFolders();
    state.ResumeTiming();
    Tree().SelectItem(folders);
    wxTheApp->ProcessPendingEvents();
  }
  if (Pane().m_lstFiles->GetItemCount() != g_files ||
      Tree().GetChildrenCount(Tree().GetSelection(), false) != size_t(g_files)) {
    Fail(state, "the folder was not listed and expanded");
  }
}

void BM_ExpandTheFolderOfFolders(benchmark::State &state) {
  wxTreeItemId folders;
  for (auto _ : state) {
    state.PauseTiming();
    folders = FreshFolderOfFolders();
    state.ResumeTiming();
    Tree().Expand(folders);
    wxTheApp->ProcessPendingEvents();
  }
  if (Tree().GetChildrenCount(folders, false) != size_t(g_files))
    Fail(state, "the folder was not expanded");
  OpenTreeOn(g_stillsPath);
}

BENCHMARK(BM_SelectAllWithShiftEnd)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ClearSelectionWithHome)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_UpdateCommandsWithAllSelected)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ListTheFolderOfFiles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
// A few rounds: each lists the folder afresh while the clock is stopped.
BENCHMARK(BM_FirstSelectionOfAFile)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(20);
BENCHMARK(BM_ChangeTheFilter)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_StartUpOnTheFolderOfFiles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FirstSelectionOfTheFolderOfFolders)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ExpandTheFolderOfFolders)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void ReportAssert(const wxString &file, int line, const wxString &, const wxString &condition,
                  const wxString &message) {
  std::fprintf(stderr, "toolkit assertion %s:%d %s %s\n", file.utf8_str().data(), line,
               condition.utf8_str().data(), message.utf8_str().data());
}

}  // namespace

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--files=", 8) == 0) g_files = std::max(1, std::atoi(argv[i] + 8));
  }
  benchmark::Initialize(&argc, argv);

  // The folders, and the settings file beside the program that opens the bitmaps at start-up.
  const fs::path folder =
      fs::temp_directory_path() / ("quenda-selection-" + std::to_string(getpid()));
  fs::create_directories(folder / kStills);
  fs::create_directories(folder / kFolders);
  for (int i = 0; i < g_files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "still%05d.bmp", i);
    WriteTinyBmp(folder / kStills / name);
    std::snprintf(name, sizeof name, "folder%05d", i);
    fs::create_directory(folder / kFolders / name);
  }
  g_parentPath = "File System" + folder.string() + "/";
  g_stillsPath = g_parentPath + kStills + "/";
  const std::string settings = platform::ExecutableFolder() + "dll/Quenda.ini";
  platform::ReplaceIniSection(settings, "Quenda", {"SourceKey=" + g_stillsPath});

  int result = 1;
  {
    PrivateDisplay display;
    if (display.Name().empty()) {
      std::fprintf(stderr, "Xvfb could not be started\n");
    } else {
      setenv("DISPLAY", display.Name().c_str(), 1);
      setenv("GDK_BACKEND", "x11", 1);
      wxSetAssertHandler(ReportAssert);
      platform::SetMessageBoxService(nullptr);
      wxApp::SetInstance(&theApp);
      if (wxEntryStart(argc, argv) && theApp.CallOnInit()) {
        theApp.CallAfter([&] {
          WaitUntil(ToolkitIdle);  // the window shown and laid out
          CFilesView &pane = Pane();
          ChooseFilter("*.*");
          WaitUntil([&] { return pane.m_lstFiles->GetItemCount() == g_files && ToolkitIdle(); });
          if (pane.m_lstFiles->GetItemCount() != g_files) {
            std::fprintf(stderr, "%d files listed, not %d\n", pane.m_lstFiles->GetItemCount(),
                         g_files);
          } else {
            // The first item current, as after a click on it.
            pane.m_lstFiles->SetItemState(0, wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED,
                                          wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED);
            WaitUntil(ToolkitIdle);
            benchmark::RunSpecifiedBenchmarks();
            result = g_failed ? 1 : 0;
          }
          theApp.GetMainFrame()->ProcessCommand(platform::gui::MenuItemId(res::ID_APP_EXIT));
        });
        theApp.OnRun();
        theApp.OnExit();
      }
      wxEntryCleanup();
    }
  }
  benchmark::Shutdown();
  fs::remove_all(folder);
  return result;
}
