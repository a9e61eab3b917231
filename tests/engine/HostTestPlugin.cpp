// A stand-in format plug-in for the host's tests, built several times with different settings:
//   TEST_PATTERN       the pattern QueryInfo returns
//   TEST_MARKER        the code LoadRgb stores and SaveRgb returns, and the width of its
//                      records, so a test can tell which library served a call
//   TEST_LOAD_NOTHING  LoadRgb returns no record, with code 0
//   TEST_WITHOUT_SAVE  the library exports no SaveRgb, so it is no plug-in
//   TEST_NO_PATTERN    QueryInfo returns no text at all
#include <cstring>

#include "plugins/PluginInterface.h"

QUENDA_PLUGIN_API const char *QueryInfo() {
#ifdef TEST_NO_PATTERN
  return nullptr;
#else
  return TEST_PATTERN;
#endif
}

QUENDA_PLUGIN_API tagFileInfo *LoadRgb(const char *path, int isRGBReadIn, int *result) {
#ifdef TEST_LOAD_NOTHING
  (void)path;
  (void)isRGBReadIn;
  *result = 0;
  return nullptr;
#else
  auto *info = static_cast<tagFileInfo *>(PluginAlloc(sizeof(tagFileInfo)));
  if (info == nullptr) {
    *result = ERR_NO_MEMORY;
    return nullptr;
  }
  std::strncpy(info->filename, path, kFileNameSize - 1);
  info->rgbInfo.width = TEST_MARKER;
  info->rgbInfo.height = static_cast<uint32_t>(isRGBReadIn);
  *result = TEST_MARKER;
  return info;
#endif
}

#ifndef TEST_WITHOUT_SAVE
QUENDA_PLUGIN_API int SaveRgb(const char *, const char *, tagRGBInfo *) {
  return TEST_MARKER;
}
#endif
