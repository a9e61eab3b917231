#include "tests/engine/ModeConvFiles.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "codec/ColorConvert.h"
#include "engine/ImageFileEngine.h"

namespace fs = std::filesystem;

namespace modeconv_test {

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "quenda-modeconv-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

RecordedMessages::RecordedMessages() {
  platform::SetMessageBoxService(this);
}
RecordedMessages::~RecordedMessages() {
  platform::SetMessageBoxService(nullptr);
}

platform::MessageAnswer RecordedMessages::Show(const std::string &text,
                                               platform::MessageButtons buttons) {
  std::lock_guard<std::mutex> lock(mutex_);
  texts_.push_back(text);
  return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok
                                                 : platform::MessageAnswer::No;
}

std::vector<std::string> RecordedMessages::texts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_;
}

const Format &FormatOf(int form) {
  static const Format kFormats[] = {
      {1, 720, 487, 942720, 471360},
      {2, 720, 576, 1111680, 555840},
      {3, 1920, 1080, 5188800, 2594400},
      {4, 1280, 720, 2307200, 1153600},
  };
  return kFormats[form - 1];
}

std::vector<unsigned char> RandomBody(int form, uint32_t seed) {
  std::vector<unsigned char> body(FormatOf(form).bodyBytes);
  std::mt19937 random(seed);
  for (size_t i = 0; i < body.size(); i += 4) {
    const uint32_t word = random();
    std::memcpy(&body[i], &word, 4);
  }
  return body;
}

void WriteKdt(const std::string &path, int form, const std::vector<unsigned char> &body,
              uint16_t login) {
  kdt_header header{};
  std::memcpy(header.kdtFlagName, "QVEL_000.KDT", 12);
  std::snprintf(header.kdtFlagName + 5, 4, "%03u", login % 1000u);
  header.kdtFlagName[8] = '.';
  std::memcpy(header.kdtRegisterName, "REG", 3);
  header.kdtRegisterName[3] = static_cast<char>('A' + login % 26);
  unsigned char *loginBytes = reinterpret_cast<unsigned char *>(&header.kdtLogin);  // big-endian
  loginBytes[0] = static_cast<unsigned char>(login >> 8);
  loginBytes[1] = static_cast<unsigned char>(login & 0xFF);
  FILE *fp = std::fopen(path.c_str(), "wb");
  if (fp == nullptr) throw std::runtime_error("cannot create " + path);
  const int result = writeKDT(fp, &header, body.data(), static_cast<int>(body.size()), form);
  std::fclose(fp);
  if (result != 0) throw std::runtime_error("cannot write " + path);
}

KdtFile ReadKdt(const std::string &path) {
  KdtFile file;
  FILE *fp = std::fopen(path.c_str(), "rb");
  if (fp == nullptr) return file;
  unsigned char *body = nullptr;
  int length = 0;
  file.result = readKDT(fp, &file.header, &body, &length);
  std::fclose(fp);
  if (body != nullptr) file.body.assign(body, body + length);
  std::free(body);
  return file;
}

std::vector<unsigned char> Frame::Line(int row) const {
  const size_t stride = static_cast<size_t>(width) * 3;
  return std::vector<unsigned char>(rgb.begin() + row * stride, rgb.begin() + (row + 1) * stride);
}

Frame Decode(const std::vector<unsigned char> &body) {
  Frame frame;
  unsigned char *rgb = nullptr;
  int length = 0;
  if (tranYUV2RGB(body.data(), static_cast<int>(body.size()), &rgb, &length) != 0) return frame;
  for (int form = 1; form <= 4; ++form) {
    if (FormatOf(form).bodyBytes == body.size()) {
      frame.width = FormatOf(form).width;
      frame.height = FormatOf(form).height;
    }
  }
  frame.rgb.assign(rgb, rgb + length);
  std::free(rgb);
  return frame;
}

bool WriteBmp(const CImageFileEngine &engine, const std::string &path, uint32_t width,
              uint32_t height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3, 0x80);
  tagRGBInfo picture{width, height, 24, pixels.data(), nullptr};
  return engine.SaveRGB(path, "BMP", &picture) == 0;
}

bool FileExists(const std::string &path) {
  return fs::exists(path);
}

std::vector<std::string> FolderEntries(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace modeconv_test
