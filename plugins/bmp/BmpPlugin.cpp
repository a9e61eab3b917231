// The bitmap plug-in's three entry points.
#include <type_traits>

#include "plugins/PluginInterface.h"
#include "plugins/bmp/BmpReader.h"
#include "plugins/bmp/BmpWriter.h"

QUENDA_PLUGIN_API const char *QueryInfo() {
  return "*.BMP";
}

// Every load stores 0; a failed load is a null record.
QUENDA_PLUGIN_API tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result) {
  if (result != nullptr) *result = 0;
  try {
    return ReadFromBmp(path, isRGBReadIn);
  } catch (...) {
    return nullptr;
  }
}

QUENDA_PLUGIN_API int SaveRgb(const char *path, const char * /*format*/, tagRGBInfo *picture) {
  try {
    return WriteToBmp(path, picture);
  } catch (...) {
    return ERR_FILE_WRITE;
  }
}

static_assert(std::is_same_v<decltype(&QueryInfo), QUERYINFO>);
static_assert(std::is_same_v<decltype(&LoadRgb), FRGBLOAD>);
static_assert(std::is_same_v<decltype(&SaveRgb), FRGBSAVE>);
