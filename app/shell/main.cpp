// The program's entry: the toolkit runs the application object theApp.
#include <wx/init.h>

#include <cstdlib>

#include "app/shell/QuendaApp.h"
#include "platform/HeapTuning.h"

int main(int argc, char **argv) {
  platform::TuneHeapForPictures();
  // The single-instance test and the window placement speak X11; under a Wayland session the
  // toolkit is asked for its X11 back end (the user's own choice, if any, stands).
  setenv("GDK_BACKEND", "x11", 0);
  wxApp::SetInstance(&theApp);
  return wxEntry(argc, argv);
}
