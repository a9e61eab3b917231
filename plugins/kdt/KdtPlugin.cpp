// The KDT plug-in's three entry points.
#include <climits>
#include <type_traits>

#include "codec/KdtFormatName.h"
#include "codec/StillWriter.h"
#include "plugins/PluginInterface.h"
#include "plugins/kdt/KdtReader.h"

QUENDA_PLUGIN_API const char *QueryInfo() {
  return kKdtPattern;
}

QUENDA_PLUGIN_API tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result) {
  int code = 0;
  tagFileInfo *record = nullptr;
  try {
    record = ReadFromKdt(path, isRGBReadIn, code);
  } catch (...) {
    code = ERR_NO_MEMORY;
  }
  if (result != nullptr) *result = code;
  return record;
}

// Every failure of the still writer (a name outside the device scheme, a size that is no picture
// format, an open or write failure) is a failed write.
QUENDA_PLUGIN_API int SaveRgb(const char *path, const char * /*format*/, tagRGBInfo *picture) {
  if (picture == nullptr || picture->ptBits == nullptr) return ERR_BAD_DATA;
  if (path == nullptr || picture->width > INT_MAX || picture->height > INT_MAX) {
    return ERR_FILE_WRITE;
  }
  try {
    const int written =
        WriteToKdt(path, picture->ptBits, picture->ptAlpha, static_cast<int>(picture->width),
                   static_cast<int>(picture->height));
    return StillWasWritten(written) ? 0 : ERR_FILE_WRITE;
  } catch (...) {
    return ERR_FILE_WRITE;
  }
}

static_assert(std::is_same_v<decltype(&QueryInfo), QUERYINFO>);
static_assert(std::is_same_v<decltype(&LoadRgb), FRGBLOAD>);
static_assert(std::is_same_v<decltype(&SaveRgb), FRGBSAVE>);
