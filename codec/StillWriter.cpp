#include "codec/StillWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "codec/ColourConvert.h"
#include "codec/DeviceFileName.h"
#include "codec/KdtFile.h"

namespace {

// WriteOneStill's result for a file written whole.
constexpr int kWritten = 1;

// Encodes `pixels` (3 bytes per pixel, or 1 with `keyPlane`) and writes it as a KDT file to
// `path` under `header`. Returns kWritten, STILL_NAME_REFUSED when the file cannot be opened,
// STILL_WRITE_FAILED when the conversion, a write or the final flush fails.
int WriteOneStill(const char *path, kdt_header *header, const unsigned char *pixels, int form,
                  bool keyPlane) {
  FILE *fp = std::fopen(path, "wb");
  if (fp == nullptr) return STILL_NAME_REFUSED;
  unsigned char *body = nullptr;
  int lenYUV = 0;
  int result = STILL_WRITE_FAILED;
  if (tranRGB2YUV(pixels, &body, &lenYUV, form, keyPlane ? 1 : 0) == 0) {
    result = writeKDT(fp, header, body, lenYUV, form) == 0 ? kWritten : STILL_WRITE_FAILED;
  }
  std::free(body);
  // A file whose last bytes could not be flushed is not written, whatever fwrite said.
  if (std::fclose(fp) != 0) result = STILL_WRITE_FAILED;
  return result;
}

}  // namespace

int WriteToKdt(const char *szfileName, const unsigned char *lpBits, const unsigned char *lpAlpha,
               int width, int height) {
  kdt_header picture{};
  const char *name = getFileName(szfileName);
  if (checkKDTName(name, &picture) != 0) return STILL_NAME_REFUSED;

  // The sum of the sides names the format, but only the exact size is read safely as one.
  const KdtPictureFormat *format = KdtFormatBySizeSum(int64_t{width} + height);
  if (format == nullptr || format->width != width || format->height != height) {
    return STILL_SIZE_REFUSED;
  }

  const int written = WriteOneStill(szfileName, &picture, lpBits, format->form, false);
  if (written != kWritten) return written;
  if (lpAlpha == nullptr) return format->form;

  // A picture named as a key would have its companion written over it.
  if (name[0] == 'S') return STILL_NAME_REFUSED;
  const std::string companionPath = KeyCompanionPath(szfileName);
  kdt_header companion{};
  if (checkKDTName(getFileName(companionPath.c_str()), &companion) != 0) return STILL_NAME_REFUSED;
  const int companionWritten =
      WriteOneStill(companionPath.c_str(), &companion, lpAlpha, format->form, true);
  return companionWritten != kWritten ? companionWritten : format->form + STILL_WITH_KEY;
}

std::string KeyCompanionPath(const std::string &picturePath) {
  std::string key = picturePath;
  char *name = getFileName(key.data());
  if (*name != '\0') *name = 'S';
  return key;
}
