// A plug-in for the task tests: it serves "*.BMP" and "*.KDT" by handing every call on to the
// build's real BMP plug-in (a KDT target is written as a bitmap under its KDT name, unless the
// test asks for KDT targets to be written by the real KDT plug-in, key companion and all), and
// tells the test of each call, so a test can read a task's progress between its loads and saves,
// make one save fail, change what a load gives (a key plane, a claimed size), or look at the
// picture a save is given.
#include <dlfcn.h>

#include <cstring>

#include "plugins/PluginInterface.h"

// operation is 'L' after a load (full is isRGBReadIn, loaded the record or null) or 'S' before
// a save (saving the picture); a non-zero return from a save is returned in place of saving.
using ProbeHook = int (*)(char operation, int full, tagFileInfo *loaded, tagRGBInfo *saving);

namespace {
ProbeHook g_hook = nullptr;
FRGBLOAD g_load = nullptr;
FRGBSAVE g_save = nullptr;
FRGBSAVE g_saveKdt = nullptr;  // set while KDT targets go to the real KDT plug-in

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

// Non-zero: saves in the format "KDT" go to the build's real KDT plug-in from now on.
QUENDA_PLUGIN_API void ProbeSaveKdtAsKdt(int real) {
  g_saveKdt = nullptr;
  if (real == 0) return;
  void *library = dlopen(QUENDA_PLUGIN_DIR "kdtplug.dll", RTLD_NOW | RTLD_LOCAL);
  if (library != nullptr) g_saveKdt = reinterpret_cast<FRGBSAVE>(dlsym(library, "SaveRgb"));
}

QUENDA_PLUGIN_API const char *QueryInfo() {
  return "*.BMP;*.KDT";
}

QUENDA_PLUGIN_API tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result) {
  tagFileInfo *record = nullptr;
  if (BindRealPlugin()) {
    record = g_load(path, isRGBReadIn, result);
  } else {
    *result = ERR_FILE_OPEN;
  }
  if (g_hook != nullptr) g_hook('L', isRGBReadIn, record, nullptr);
  return record;
}

QUENDA_PLUGIN_API int SaveRgb(const char *path, const char *format, tagRGBInfo *picture) {
  if (g_hook != nullptr) {
    if (const int forced = g_hook('S', 1, nullptr, picture)) return forced;
  }
  if (g_saveKdt != nullptr && std::strcmp(format, "KDT") == 0) {
    return g_saveKdt(path, format, picture);
  }
  if (!BindRealPlugin()) return ERR_FILE_WRITE;
  return g_save(path, format, picture);
}
