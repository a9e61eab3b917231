// The device's file-name scheme: "M" (picture) or "S" (its key), a register name of up to 8
// characters, ".QVEL_", three digits and ".KDT", every part case-sensitive. Its one format and
// its one parse, the name check that fills a header from the parse, and the file-name lookup that
// the still writer needs; DeviceFileName.cpp implements them, on plain strings, so the KDT
// plug-in carries them as well as the program. The program's target naming is in TargetName.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "codec/KdtFile.h"

inline constexpr char kPictureLetter = 'M';
inline constexpr char kKeyLetter = 'S';
inline constexpr size_t kLongestRegisterName = 8;
inline constexpr std::string_view kDeviceTag = ".QVEL_";
inline constexpr size_t kDeviceNumberDigits = 3;

// The parts of a name of the scheme; they view the parsed name.
struct DeviceFileName {
  char kind;                      // kPictureLetter or kKeyLetter
  std::string_view registerName;  // 0 to kLongestRegisterName characters of any kind
  std::string_view number;        // kDeviceNumberDigits decimal digits
};

// True when text is a device number: exactly kDeviceNumberDigits decimal digits.
bool IsDeviceNumber(std::string_view text);

// The parts of the bare file name `name` when it fits the scheme; nullopt otherwise.
std::optional<DeviceFileName> ParseDeviceFileName(std::string_view name);

// kind, registerName, ".QVEL_", number and ".KDT": a name of the scheme when the parts are of
// it, which the callers' own rules see to.
std::string FormatDeviceFileName(char kind, std::string_view registerName, std::string_view number);

// Where a device name keeps its number: the last kDeviceNumberDigits characters before its
// extension (all of them when fewer), or nothing when it has no extension. Taken on any name.
std::string_view NumberFieldOf(std::string_view name);

// Checks a bare file name against the device scheme and, when it fits, fills kdtFlagName,
// kdtRegisterName and kdtLogin of `header`. Returns 0, or ERR_CODEC with `header` untouched.
int checkKDTName(const char *filename, kdt_header *header);

// The file name inside a path: the position after its last separator (no copy).
const char *getFileName(const char *szFullPathName);
char *getFileName(char *szFullPathName);
