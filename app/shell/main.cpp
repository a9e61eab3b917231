// The program's entry: the toolkit runs the application object theApp.
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>

#include "app/shell/QuendaApp.h"
#include "platform/HeapTuning.h"

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();
  // The single-instance test and the window placement speak X11; under a Wayland session the
  // toolkit is asked for its X11 back end (the user's own choice, if any, stands).
  setenv("GDK_BACKEND", "x11", 0);
  wxApp::SetInstance(&theApp);
  // The toolkit warns of an argument it cannot turn into text (a file name that is not UTF-8)
  // and leaves it out; the application takes its arguments by their bytes, so the warning would
  // only be noise. Logging comes back once the application starts.
  theApp.SetGivenArguments(argc, argv);
  wxLog::EnableLogging(false);
  return wxEntry(argc, argv);
}
