// What the field-exchange tests work with: temporary folders, real KDT files with chosen bodies,
// reading targets back, decoded frame lines, and a message-box service that records messages.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "codec/KdtFile.h"
#include "platform/MessageBox.h"

class CImageFileEngine;

namespace modeconv_test {

// A folder under the system's temporary folder, removed with everything in it. path() ends
// with the separator.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

// Records every message and answers Ok; installed for its lifetime.
class RecordedMessages : public platform::MessageBoxService {
 public:
  RecordedMessages();
  ~RecordedMessages() override;
  platform::MessageAnswer Show(const std::string &text, platform::MessageButtons buttons) override;
  std::vector<std::string> texts() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
};

struct Format {
  int form;
  int width;
  int height;
  size_t bodyBytes;
  size_t planeBytes;
};
// Formats 1 to 4: 720 x 487, 720 x 576, 1920 x 1080, 1280 x 720.
const Format &FormatOf(int form);

// A body of the format filled with bytes from `seed`.
std::vector<unsigned char> RandomBody(int form, uint32_t seed);

// Writes a valid KDT file of `form` holding `body`, with name fields taken from `login`.
void WriteKdt(const std::string &path, int form, const std::vector<unsigned char> &body,
              uint16_t login = 7);

struct KdtFile {
  int result = 0;  // what the KDT reader returned: 1 for a valid file
  kdt_header header{};
  std::vector<unsigned char> body;
};
KdtFile ReadKdt(const std::string &path);

// The decoded picture of a body: frame lines of width * 3 bytes.
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
  std::vector<unsigned char> Line(int row) const;
};
Frame Decode(const std::vector<unsigned char> &body);

// Writes a grey 24-bit BMP of the given size through the host's BMP plug-in; false on failure.
bool WriteBmp(const CImageFileEngine &engine, const std::string &path, uint32_t width,
              uint32_t height);

bool FileExists(const std::string &path);
std::vector<std::string> FolderEntries(const std::string &folder);

}  // namespace modeconv_test
