// The device file-name scheme, byte by byte on plain strings, so the KDT plug-in can carry it.
#include "codec/DeviceFileName.h"

#include <algorithm>
#include <cstring>

#include "codec/KdtFormatName.h"
#include "platform/FileExtension.h"
#include "platform/Path.h"

namespace {

constexpr size_t kShortestName = 1 + kDeviceTag.size() + kDeviceNumberDigits + kKdtExtension.size();
constexpr size_t kFlagNameField = sizeof kdt_header::kdtFlagName;  // "QVEL_", digits, ".KDT"
constexpr size_t kRegisterNameField = sizeof kdt_header::kdtRegisterName;
static_assert(kFlagNameField == kShortestName - 2 && kRegisterNameField == kLongestRegisterName);

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool IsDeviceNumber(std::string_view text) {
  return text.size() == kDeviceNumberDigits && std::all_of(text.begin(), text.end(), IsDigit);
}

std::string_view NumberFieldOf(std::string_view name) {
  if (!platform::ExtensionOf(name)) return {};
  const std::string_view stem = platform::WithoutExtension(name);
  return stem.substr(stem.size() - std::min(stem.size(), kDeviceNumberDigits));
}

std::optional<DeviceFileName> ParseDeviceFileName(std::string_view name) {
  if (name.size() < kShortestName || name.size() > kShortestName + kLongestRegisterName)
    return std::nullopt;
  const char kind = name.front();
  if (kind != kPictureLetter && kind != kKeyLetter) return std::nullopt;
  if (!name.ends_with(kKdtExtension)) return std::nullopt;
  const std::string_view number = NumberFieldOf(name);
  if (!IsDeviceNumber(number)) return std::nullopt;
  const std::string_view tagged =
      name.substr(0, name.size() - kKdtExtension.size() - number.size());
  if (!tagged.ends_with(kDeviceTag)) return std::nullopt;
  return DeviceFileName{kind, tagged.substr(1, tagged.size() - 1 - kDeviceTag.size()), number};
}

std::string FormatDeviceFileName(char kind, std::string_view registerName,
                                 std::string_view number) {
  std::string name(1, kind);
  name.append(registerName).append(kDeviceTag).append(number).append(kKdtExtension);
  return name;
}

int checkKDTName(const char *filename, kdt_header *header) {
  const std::string_view name(filename);
  const std::optional<DeviceFileName> parts = ParseDeviceFileName(name);
  if (!parts) return ERR_CODEC;

  std::memcpy(header->kdtFlagName, name.data() + name.size() - kFlagNameField, kFlagNameField);
  // Eight bytes from the second character always lie inside a name of at least 14 characters;
  // a shorter register name is ended by a zero in place of the dot of ".QVEL_".
  std::memcpy(header->kdtRegisterName, parts->registerName.data(), kRegisterNameField);
  if (parts->registerName.size() < kRegisterNameField)
    header->kdtRegisterName[parts->registerName.size()] = '\0';
  const std::string_view digits = parts->number;
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
