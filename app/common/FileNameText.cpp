#include "app/common/FileNameText.h"

#include <cstddef>
#include <cstdint>

namespace {

// The length of the well-formed UTF-8 character at the start of bytes, or 0 when there is none
// (a stray continuation byte, a truncated sequence, an overlong form, a surrogate, or a value
// beyond U+10FFFF).
std::size_t CharacterLength(std::string_view bytes) {
  const auto at = [&bytes](std::size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (at(i) < 0x80 || at(i) > 0xBF) return 0;
  }
  return length;
}

// Walks name as its well-formed UTF-8 characters and the bytes that are no part of one, in
// order: character for each of the first, byte for each of the others.
template <typename Character, typename Byte>
void ForEachPiece(std::string_view name, Character character, Byte byte) {
  while (!name.empty()) {
    const std::size_t length = CharacterLength(name);
    if (length > 0) {
      character(name.substr(0, length));
    } else {
      byte(static_cast<uint8_t>(name.front()));
    }
    name.remove_prefix(length > 0 ? length : 1);
  }
}

// The toolkit keeps a byte that is no part of a UTF-8 character as this private character plus
// the byte.
constexpr uint32_t kToolkitRawByte = 0x100000;

}  // namespace

std::string ShownFileName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(name.size());
  ForEachPiece(
      name, [&shown](std::string_view character) { shown.append(character); },
      [&shown](uint8_t byte) {
        shown += "\\x";
        shown += kHex[byte >> 4];
        shown += kHex[byte & 0x0F];
      });
  return shown;
}

wxString FileNameText(std::string_view name) {
  return wxString::FromUTF8(ShownFileName(name));
}

wxString FileNameLine(std::string_view name) {
  static constexpr char kLineBreakMark[] = "\xE2\x8F\x8E";  // U+23CE RETURN SYMBOL
  std::string line;
  for (const char c : ShownFileName(name)) {
    if (c == '\n' || c == '\r') {
      line += kLineBreakMark;
    } else {
      line += c;
    }
  }
  return wxString::FromUTF8(line);
}

std::string FileNameBehind(const std::string &shown, const std::string &name) {
  return shown == ShownFileName(name) ? name : shown;
}

wxString ToolkitFileName(std::string_view name) {
  wxString path;
  ForEachPiece(
      name,
      [&path](std::string_view character) {
        path += wxString::FromUTF8(character.data(), character.size());
      },
      [&path](uint8_t byte) { path += wxUniChar(kToolkitRawByte + byte); });
  return path;
}

std::string FileNameFromToolkit(const wxString &path) {
  std::string name;
  name.reserve(path.length());
  for (const wxUniChar character : path) {
    const uint32_t value = character.GetValue();
    // Encoded by hand: the toolkit may also hold an encoded surrogate it read from a name as the
    // surrogate itself, which goes back to the same three bytes.
    if (value >= kToolkitRawByte && value <= kToolkitRawByte + 0xFF) {
      name += static_cast<char>(value - kToolkitRawByte);
    } else if (value < 0x80) {
      name += static_cast<char>(value);
    } else if (value < 0x800) {
      name += static_cast<char>(0xC0 | (value >> 6));
      name += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
      name += static_cast<char>(0xE0 | (value >> 12));
      name += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      name += static_cast<char>(0x80 | (value & 0x3F));
    } else {
      name += static_cast<char>(0xF0 | (value >> 18));
      name += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
      name += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      name += static_cast<char>(0x80 | (value & 0x3F));
    }
  }
  return name;
}
