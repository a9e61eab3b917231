#include "codec/StillWriter.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "codec/ColourConvert.h"
#include "codec/DeviceFileName.h"
#include "codec/KdtFile.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace {

// WriteOneStill's result for a file written whole.
constexpr int kWritten = 1;

// Encodes `pixels` (3 bytes per pixel, or 1 with `keyPlane`) and writes it as a KDT file into
// `file`, which the caller commits. Returns kWritten, STILL_NAME_REFUSED when the file cannot be
// opened, STILL_WRITE_FAILED when the conversion or a write fails.
int WriteOneStill(platform::AtomicFile &file, kdt_header *header, const unsigned char *pixels,
                  int form, bool keyPlane) {
  if (file.Stream() == nullptr) return STILL_NAME_REFUSED;
  unsigned char *body = nullptr;
  int lenYUV = 0;
  int result = STILL_WRITE_FAILED;
  if (tranRGB2YUV(pixels, &body, &lenYUV, form, keyPlane ? 1 : 0) == 0) {
    result =
        writeKDT(file.Stream(), header, body, lenYUV, form) == 0 ? kWritten : STILL_WRITE_FAILED;
  }
  std::free(body);
  return result;
}

// Puts a written still in place: a file whose last bytes could not reach the disk is not
// written, whatever the writes said.
int CommitStill(platform::AtomicFile &file, int written) {
  if (written != kWritten) return written;
  return file.Commit() ? kWritten : STILL_WRITE_FAILED;
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

  // The picture and its companion replace the old files together, once both are written whole.
  platform::AtomicFile pictureFile(szfileName);
  const int written = WriteOneStill(pictureFile, &picture, lpBits, format->form, false);
  if (lpAlpha == nullptr || written != kWritten) {
    const int committed = CommitStill(pictureFile, written);
    return committed != kWritten ? committed : format->form;
  }

  // A picture named as a key would have its companion written over it; a companion refused by
  // name leaves the picture written alone.
  const std::string companionPath = KeyCompanionPath(szfileName);
  kdt_header companion{};
  if (name[0] == kKeyLetter || checkKDTName(getFileName(companionPath.c_str()), &companion) != 0) {
    const int committed = CommitStill(pictureFile, written);
    return committed != kWritten ? committed : STILL_NAME_REFUSED;
  }
  platform::AtomicFile companionFile(companionPath);
  const int companionWritten =
      WriteOneStill(companionFile, &companion, lpAlpha, format->form, true);
  if (companionWritten != kWritten) return companionWritten;
  if (!pictureFile.Close() || !companionFile.Close()) return STILL_WRITE_FAILED;
  // The key goes into place first and the picture last: the picture's name is what shows the
  // pair, so a picture never stands beside a key that is not its own. A failure between the two
  // renames leaves the old picture; a key this call created is taken back with it (a key it
  // replaced is gone; its old content is for the caller to have kept).
  const bool companionIsNew = !platform::PathExists(companionPath);
  if (!companionFile.Commit()) return STILL_WRITE_FAILED;
  if (!pictureFile.Commit()) {
    if (companionIsNew) platform::DeleteFile(companionPath);
    return STILL_WRITE_FAILED;
  }
  return format->form + STILL_WITH_KEY;
}

std::string KeyCompanionPath(const std::string &picturePath) {
  std::string key = picturePath;
  char *name = getFileName(key.data());
  if (*name != '\0') *name = kKeyLetter;
  return key;
}
