// The device's file-name scheme: "M" (picture) or "S" (its key), a register name of up to 8
// characters, ".QVEL_", three digits and ".KDT"; and the path helpers around it.
#pragma once

#include <string>

#include "codec/KdtFile.h"
#include "platform/Path.h"

// Checks a bare file name against the device scheme and, when it fits, fills kdtFlagName,
// kdtRegisterName and kdtLogin of `header`. Returns 0, or ERR_CODEC with `header` untouched.
int checkKDTName(const char *filename, kdt_header *header);

// The file name inside a path: the position after its last separator (no copy).
const char *getFileName(const char *szFullPathName);
char *getFileName(char *szFullPathName);

// The name of the conversion target of `srcName` in format `objExt` (no dot, e.g. "KDT"):
// a device name ending in ".QVEL_000.KDT" for KDT, else the source's base name with objExt.
std::string MakeTargetName(const std::string &srcName, const std::string &objExt);

// The part after the last separator, or the whole path when that separator is at position 0 or
// missing.
std::string GetFileName(const std::string &sFullPath);

// The part before the last separator, or the whole path when that separator is at position 0
// or missing.
std::string GetFolder(const std::string &sFullPath);
