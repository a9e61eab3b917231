// The names of conversion targets and the path helpers of the program's tasks and dialogs (built
// into the program only).
#pragma once

#include <string>

// The name of the conversion target of `srcName` in format `objExt` (no dot, e.g. "KDT"):
// a device name ending in ".QVEL_000.KDT" for KDT, else the source's base name with objExt.
std::string MakeTargetName(const std::string &srcName, const std::string &objExt);

// The part after the last separator, or the whole path when that separator is at position 0 or
// missing.
std::string GetFileName(const std::string &sFullPath);

// The part before the last separator, or the whole path when that separator is at position 0
// or missing.
std::string GetFolder(const std::string &sFullPath);
