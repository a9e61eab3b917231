// The name check and the file-name lookup that the still writer needs; byte by byte on plain
// strings, so the KDT plug-in can carry them.
#include <cstring>

#include "codec/DeviceFileName.h"
#include "platform/Path.h"

namespace {

constexpr size_t kShortestName = 14;  // kind letter, ".QVEL_", three digits, ".KDT"
constexpr size_t kLongestName = 22;   // with a register name of 8 characters
constexpr size_t kRegisterNameField = 8;
constexpr size_t kFlagNameField = 12;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

int checkKDTName(const char *filename, kdt_header *header) {
  const size_t length = std::strlen(filename);
  if (length < kShortestName || length > kLongestName) return ERR_CODEC;
  if (filename[0] != 'M' && filename[0] != 'S') return ERR_CODEC;
  const char *extension = filename + length - 4;
  if (std::memcmp(extension, ".KDT", 4) != 0) return ERR_CODEC;
  const char *digits = extension - 3;
  if (!IsDigit(digits[0]) || !IsDigit(digits[1]) || !IsDigit(digits[2])) return ERR_CODEC;
  if (std::memcmp(digits - 6, ".QVEL_", 6) != 0) return ERR_CODEC;

  std::memcpy(header->kdtFlagName, filename + length - kFlagNameField, kFlagNameField);
  // Eight bytes from the second character always lie inside a name of at least 14 characters;
  // a shorter register name is ended by a zero in place of the dot of ".QVEL_".
  std::memcpy(header->kdtRegisterName, filename + 1, kRegisterNameField);
  const size_t registerLength = length - kShortestName;
  if (registerLength < kRegisterNameField) header->kdtRegisterName[registerLength] = '\0';
  const int number = (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
  const unsigned char login[2] = {static_cast<unsigned char>(number >> 8),
                                  static_cast<unsigned char>(number & 0xFF)};
  std::memcpy(&header->kdtLogin, login, 2);
  return 0;
}

const char *getFileName(const char *szFullPathName) {
  const char *separator = std::strrchr(szFullPathName, platform::kPathSeparator);
  return separator == nullptr ? szFullPathName : separator + 1;
}

char *getFileName(char *szFullPathName) {
  return const_cast<char *>(getFileName(static_cast<const char *>(szFullPathName)));
}
