// The contract between the program and every format plug-in: the two records that cross the
// library boundary, the three entry points, the result codes and the one allocator pair that
// both sides use for what crosses it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#define QUENDA_PLUGIN_API extern "C" __attribute__((visibility("default")))

// Result codes of the plug-ins.
enum : int {
  ERR_FILE_OPEN = 10001,
  ERR_BAD_DATA = 10002,
  ERR_FILE_WRITE = 10003,
  ERR_NO_MEMORY = 11000,
};

// The length of a record's file name field; a path must leave room for its terminating zero.
constexpr int kFileNameSize = 260;

// True when `path` is a path that a record's file name field holds whole, terminator included.
inline bool PathFitsRecord(std::string_view path) {
  return path.size() < static_cast<size_t>(kFileNameSize);
}

// The platform's file time: a 64-bit count of 100-nanosecond intervals in two 32-bit halves.
struct tagFILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

struct tagRGBInfo {
  uint32_t width;
  uint32_t height;
  uint32_t bitsPixl;
  unsigned char *ptBits;   // width * height * 3 bytes, R G B, top row first, no padding
  unsigned char *ptAlpha;  // width * height key bytes, or null
};
using RGBINFO = tagRGBInfo;
using LPRGBINFO = tagRGBInfo *;

struct tagFileInfo {
  char filename[kFileNameSize];
  tagRGBInfo rgbInfo;
  tagFILETIME updateTime;
  tagFileInfo *next;
  int32_t iError;
};
using FILEINFO = tagFileInfo;
using LPFILEINFO = tagFileInfo *;

// The path a plug-in put in a record, read no further than its field.
inline std::string FileNameOf(const tagFileInfo &record) {
  return std::string(record.filename, strnlen(record.filename, sizeof record.filename));
}

using QUERYINFO = const char *(*)();
using FRGBLOAD = tagFileInfo *(*)(const char *path, int isRGBReadIn, int *result);
using FRGBSAVE = int (*)(const char *path, const char *format, tagRGBInfo *picture);

// Everything that crosses the boundary (a record, its pixels, its key plane) is allocated and
// freed with this pair: the process has one heap shared by the program and every plug-in.
// PluginAlloc returns zero-filled memory, so a record's unset bytes are zero.
inline void *PluginAlloc(size_t size) {
  return std::calloc(1, size == 0 ? 1 : size);
}
// The same heap, for a buffer that its maker writes whole: not cleared first.
inline void *PluginAllocUncleared(size_t size) {
  return std::malloc(size == 0 ? 1 : size);
}
inline void PluginFree(void *p) {
  std::free(p);
}

// Frees a record that a plug-in returned: key plane first, then pixels, then the record.
inline void PluginFreeFileInfo(tagFileInfo *info) {
  if (info == nullptr) return;
  PluginFree(info->rgbInfo.ptAlpha);
  PluginFree(info->rgbInfo.ptBits);
  PluginFree(info);
}
