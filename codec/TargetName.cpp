// Target naming and path splitting for the program's tasks and dialogs.
#include "codec/TargetName.h"

#include "codec/DeviceFileName.h"
#include "codec/KdtFormatName.h"
#include "platform/FileExtension.h"
#include "platform/Path.h"
#include "platform/StringCase.h"

namespace {

// The number a new target is named with; the save renumbers it past a file of that name.
constexpr std::string_view kFirstNumber = "000";

// The position of the last separator when it stands past the first character, else npos: a
// path whose only separator leads it is taken as a whole.
size_t InnerSeparator(const std::string &path) {
  const size_t position = path.rfind(platform::kPathSeparator);
  return position != std::string::npos && position > 0 ? position : std::string::npos;
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence that lead begins, judged by the lead alone; 0 for a byte
// that begins none.
size_t SequenceLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  return 0;
}

// The first `limit` bytes of stem, shortened to the start of a character that the cut would
// split: the device shows the register name as text, and half a character is none. Bytes that
// form no character are cut as they come.
std::string StemWithin(const std::string &stem, size_t limit) {
  if (stem.size() <= limit) return stem;
  size_t lead = limit;
  while (lead > 0 && limit - lead < 3 && IsContinuationByte(stem[lead])) --lead;
  const size_t length = SequenceLength(stem[lead]);
  bool split = lead < limit && lead + length > limit && lead + length <= stem.size();
  for (size_t i = lead + 1; split && i < lead + length; ++i) split = IsContinuationByte(stem[i]);
  return stem.substr(0, split ? lead : limit);
}

}  // namespace

std::string GetFileName(const std::string &sFullPath) {
  const size_t separator = InnerSeparator(sFullPath);
  return separator == std::string::npos ? sFullPath : sFullPath.substr(separator + 1);
}

std::string GetFolder(const std::string &sFullPath) {
  const size_t separator = InnerSeparator(sFullPath);
  return separator == std::string::npos ? sFullPath : sFullPath.substr(0, separator);
}

std::string MakeTargetName(const std::string &srcName, const std::string &objExt) {
  const std::string name = GetFileName(srcName);
  if (!platform::EqualsNoCase(objExt, kKdtFormat))
    return std::string(platform::WithoutExtension(name)) + "." + objExt;

  // A source named with a kind letter keeps it within its seven characters; any other is named
  // as a picture ahead of them.
  const size_t firstDot = name.find('.');
  const std::string stem = firstDot == std::string::npos ? name : name.substr(0, firstDot);
  constexpr size_t kStemKept = 7;
  const std::string kept = StemWithin(stem, kStemKept);
  if (!kept.empty() && (kept[0] == kPictureLetter || kept[0] == kKeyLetter))
    return FormatDeviceFileName(kept[0], std::string_view(kept).substr(1), kFirstNumber);
  return FormatDeviceFileName(kPictureLetter, kept, kFirstNumber);
}
