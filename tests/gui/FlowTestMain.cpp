// The main of the end-to-end test programs: HOME in a temporary folder whose "work" folder the
// settings file beside the program names as the file pane's start folder, then the program's
// real start-up on a private display, and every test inside its event loop.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "FlowTestSupport.h"
#include "app/res/Resource.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/gui/MenuCommandIds.h"
#include "tests/support/ExitCleanup.h"

namespace fs = std::filesystem;

namespace flow_test {

namespace {

std::string &HomeFolder() {
  static std::string home;
  return home;
}

}  // namespace

const std::string &Home() {
  return HomeFolder();
}

std::string Work(const std::string &name) {
  return Home() + "/work/" + name;
}

CMainFrame &Frame() {
  return *theApp.GetMainFrame();
}

}  // namespace flow_test

int main(int argc, char **argv) {
  // HOME in a temporary folder, its "work" folder the start folder of the file pane.
  std::string home = (fs::temp_directory_path() / "quenda-flow-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 1;
  test_support::RemoveOnAbnormalEnd(home);
  flow_test::HomeFolder() = home;
  setenv("HOME", home.c_str(), 1);
  fs::create_directories(fs::path(home) / "work");
  fs::create_directories(fs::path(home) / "out");
  const fs::path dll = fs::read_symlink("/proc/self/exe").parent_path() / "dll";
  std::ofstream(dll / "Quenda.ini") << "[Quenda]\nSourceKey=Home/work/\n";

  const int result = RunTestsInEventLoop(argc, argv, theApp, [] {
    return theApp.GetMainFrame() != nullptr &&
           theApp.GetMainFrame()->ProcessCommand(platform::gui::MenuItemId(res::ID_APP_EXIT)) &&
           theApp.GetMainFrame() == nullptr;
  });
  std::error_code ignored;
  fs::remove_all(home, ignored);
  test_support::ForgetFolder(home);
  return result;
}
