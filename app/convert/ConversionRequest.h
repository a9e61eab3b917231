// What one conversion works on. A conversion takes its request by value and hands its worker a
// copy of it, so the worker never reads anything the window may change.
#pragma once

#include <string>
#include <vector>

struct ConversionRequest {
  std::vector<std::string> files;  // the sources in list order; the first is the first source
  std::string format;              // the target format string: "KDT", or an export format
  std::string target;              // target folder (batch, Y/C) or target file (composite)
  unsigned imageSize = 0;          // the row of the target size table
  unsigned shiftMode = 0;          // ShiftMode
  unsigned composite = 0;          // CompositeMode; 0: one target for each source
  unsigned ycMode = 2;             // the planes a Y/C exchange works on: 0 Y, 1 C, 2 both
};
