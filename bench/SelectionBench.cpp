// The file list under a large selection, in the real program's window on a private X server:
// a folder of --files tiny bitmaps (20,000 by default) listed under "*.*"; Shift+End from the
// first item selects them all, Home clears that selection back to the first item, and one
// update of every menu entry and toolbar button runs while all are selected. Each key is
// handled as the list handles it, and the reports the list puts off are run before the time
// stops. Time is processor time of the whole process.
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
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"
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

BENCHMARK(BM_SelectAllWithShiftEnd)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ClearSelectionWithHome)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_UpdateCommandsWithAllSelected)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

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

  // The folder, and the settings file beside the program that opens it at start-up.
  const fs::path folder =
      fs::temp_directory_path() / ("quenda-selection-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (int i = 0; i < g_files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "still%05d.bmp", i);
    WriteTinyBmp(folder / name);
  }
  const std::string settings = platform::ExecutableFolder() + "dll/Quenda.ini";
  platform::ReplaceIniSection(settings, "Quenda",
                              {"SourceKey=File System" + folder.string() + "/"});

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
          pane.m_cmbFilter->SetStringSelection("*.*");
          wxCommandEvent choose(wxEVT_CHOICE, res::IDC_CMB_FILTER);
          choose.SetEventObject(pane.m_cmbFilter);
          pane.m_cmbFilter->ProcessWindowEvent(choose);
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
