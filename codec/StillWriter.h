// Writes one RGB picture as a KDT file under a device file name, and its key plane, when there is
// one, as the key companion: the same path with "S" as the first character of the file name.
#pragma once

#include <string>

// The results of WriteToKdt besides the picture format 1 to 4, which it returns when the picture
// alone was written.
enum : int {
  STILL_WITH_KEY = 10,      // added to the format: picture and key companion written
  STILL_WRITE_FAILED = 0,   // a conversion or write failed
  STILL_NAME_REFUSED = -2,  // see WriteToKdt
  STILL_SIZE_REFUSED = -4,  // width x height is not one of the four picture sizes
};

// lpBits: width * height * 3 bytes (red, green, blue, top row first); lpAlpha: width * height
// key bytes or null. Returns the picture format 1 to 4 (no companion), the format +
// STILL_WITH_KEY (picture and companion written), STILL_WRITE_FAILED, STILL_NAME_REFUSED when the
// file name does not fit the device scheme, a file cannot be opened, or the picture's name
// already begins with "S" so its companion would replace it (the picture is then written, the
// companion not), STILL_SIZE_REFUSED (no file is created).
int WriteToKdt(const char *szfileName, const unsigned char *lpBits, const unsigned char *lpAlpha,
               int width, int height);

// Whether a result of WriteToKdt is a picture format (maybe + STILL_WITH_KEY), every failure
// being 0 or below.
constexpr bool StillWasWritten(int result) {
  return result > STILL_WRITE_FAILED;
}

// The path of the key companion of the picture at `picturePath`: the same path with "S" for the
// first character of its file name (unchanged when the path ends in a separator).
std::string KeyCompanionPath(const std::string &picturePath);
