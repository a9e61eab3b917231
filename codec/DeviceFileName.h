// The device's file-name scheme: "M" (picture) or "S" (its key), a register name of up to 8
// characters, ".QVEL_", three digits and ".KDT". The name check and the file-name lookup that
// the still writer needs; the program's target naming is in TargetName.h.
#pragma once

#include "codec/KdtFile.h"

// Checks a bare file name against the device scheme and, when it fits, fills kdtFlagName,
// kdtRegisterName and kdtLogin of `header`. Returns 0, or ERR_CODEC with `header` untouched.
int checkKDTName(const char *filename, kdt_header *header);

// The file name inside a path: the position after its last separator (no copy).
const char *getFileName(const char *szFullPathName);
char *getFileName(char *szFullPathName);
