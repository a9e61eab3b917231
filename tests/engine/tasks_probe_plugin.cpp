// A plug-in for the task tests: it serves "*.BMP" by handing every call on to the build's real
// BMP plug-in, and first tells the test which call is about to run, so a test can read a task's
// progress between its loads and saves, or make one save fail.
#include <dlfcn.h>

#include "plugins/PluginInterface.h"

// operation is 'L' for a load (full is isRGBReadIn) or 'S' for a save; a non-zero return from a
// save is returned in place of saving.
using ProbeHook = int (*)(char operation, int full);

namespace {
ProbeHook g_hook = nullptr;
FRGBLOAD g_load = nullptr;
FRGBSAVE g_save = nullptr;

bool BindRealPlugin() {
  if (g_load != nullptr && g_save != nullptr) return true;
  void *library = dlopen(QUENDA_PLUGIN_DIR "bmpplug.dll", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
  g_load = reinterpret_cast<FRGBLOAD>(dlsym(library, "LoadRgb"));
  g_save = reinterpret_cast<FRGBSAVE>(dlsym(library, "SaveRgb"));
  return g_load != nullptr && g_save != nullptr;
}
}  // namespace

QUENDA_PLUGIN_API void ProbeSetHook(ProbeHook hook) {
  g_hook = hook;
}

QUENDA_PLUGIN_API const char *QueryInfo() {
  return "*.BMP";
}

QUENDA_PLUGIN_API tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result) {
  if (g_hook != nullptr) g_hook('L', isRGBReadIn);
  if (!BindRealPlugin()) {
    *result = ERR_FILE_OPEN;
    return nullptr;
  }
  return g_load(path, isRGBReadIn, result);
}

QUENDA_PLUGIN_API int SaveRgb(const char *path, const char *format, tagRGBInfo *picture) {
  if (g_hook != nullptr) {
    if (const int forced = g_hook('S', 1)) return forced;
  }
  if (!BindRealPlugin()) return ERR_FILE_WRITE;
  return g_save(path, format, picture);
}
