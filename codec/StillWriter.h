// Writes one RGB picture as a KDT file under a device file name, and its key plane, when there is
// one, as the key companion: the same path with "S" as the first character of the file name.
#pragma once

// lpBits: width * height * 3 bytes (red, green, blue, top row first); lpAlpha: width * height
// key bytes or null. Returns the picture format 1 to 4 (no companion), the format + 10 (picture
// and companion written), 0 when a conversion or write failed, -2 when the file name does not
// fit the device scheme, a file cannot be opened, or the picture's name already begins with "S"
// so its companion would replace it (the picture is then written, the companion not), -4 when
// width x height is not one of the four picture sizes (no file is created).
int WriteToKdt(const char *szfileName, const unsigned char *lpBits, const unsigned char *lpAlpha,
               int width, int height);
