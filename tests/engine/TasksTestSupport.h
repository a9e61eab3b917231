// Shared pieces of the task tests: pictures with recognisable pixels, an engine bound to the
// real plug-ins (or to the probe) with a temporary folder, and a view of a task's protected parts.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "engine/TaskBasic.h"
#include "tests/support/BmpFileBuilder.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace tasks_test {

using platform::MessageAnswer;
using test_support::ScriptedMessageBox;

inline bool Exists(const std::string &path) {
  return std::filesystem::exists(path);
}

// The names in folder, hidden ones included, sorted.
inline std::vector<std::string> FilesIn(const std::string &folder) {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// "<prefix><number>.bmp". Built by appending: GCC 12 at -O3 wrongly warns (-Wrestrict) about a
// literal joined to a temporary string.
inline std::string NumberedBmp(const char *prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  name += ".bmp";
  return name;
}

// A picture of our own. Pattern: red the row, green the column (+ shade), blue never 0, so a
// copied pixel is never mistaken for black. Solid: one grey level.
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<unsigned char> bits, alpha;

  static Picture Pattern(uint32_t width, uint32_t height, unsigned shade = 0) {
    Picture p{width, height, std::vector<unsigned char>(size_t{width} * height * 3), {}};
    for (size_t i = 0; i < size_t{width} * height; ++i) {
      const size_t r = i / width, c = i % width;
      p.bits[i * 3] = static_cast<unsigned char>(r);
      p.bits[i * 3 + 1] = static_cast<unsigned char>(c + shade);
      p.bits[i * 3 + 2] = static_cast<unsigned char>(1 + (r >> 8) + 8 * (c >> 8));
    }
    return p;
  }
  static Picture Solid(uint32_t width, uint32_t height, unsigned char grey) {
    return {width, height, std::vector<unsigned char>(size_t{width} * height * 3, grey), {}};
  }
  tagRGBInfo Info() {  // points into this picture, which stays ours
    return tagRGBInfo{width, height, 24, bits.data(), alpha.empty() ? nullptr : alpha.data()};
  }
};

// The engine bound to the plug-ins of PluginDir() (the build's real KDT and BMP plug-ins), and a
// temporary folder.
class RealPluginsTest : public ::testing::Test {
 protected:
  void SetUp() override { m_engine.Initialization(PluginDir()); }
  virtual std::string PluginDir() const { return QUENDA_PLUGIN_DIR; }
  std::string Path(const std::string &name) const { return m_folder.File(name); }
  // Writes a picture through the plug-in of format ("BMP" or "KDT").
  void Write(const std::string &name, Picture picture, const std::string &format = "BMP") {
    tagRGBInfo info = picture.Info();
    ASSERT_EQ(m_engine.SaveRGB(Path(name), format, &info), 0) << name;
  }
  // Sources whose record loads but whose full load gives no picture: a bitmap stored top-down, a
  // bitmap whose unpadded rows are cut short, and a KDT still whose checksum fails.
  std::vector<std::string> WriteDamagedSources() {
    using test_support::BmpSpec;
    test_support::WriteWholeFile(Path("topdown.bmp"),
                                 test_support::EncodeBmp(BmpSpec{.width = 4, .height = -2}));
    std::vector<unsigned char> cut = test_support::EncodeBmp(
        BmpSpec{.width = 4, .height = 2, .pixels = std::vector<uint32_t>(8, 0x445566)});
    cut.resize(54 + 12);
    test_support::WriteWholeFile(Path("cut.bmp"), cut);
    Write("Mbad.QVEL_000.KDT", Picture::Pattern(720, 487), "KDT");
    std::vector<unsigned char> kdt = test_support::ReadWholeFile(Path("Mbad.QVEL_000.KDT"));
    kdt.at(64 + 1000) ^= 0x10;
    test_support::WriteWholeFile(Path("Mbad.QVEL_000.KDT"), kdt);
    return {Path("topdown.bmp"), Path("cut.bmp"), Path("Mbad.QVEL_000.KDT")};
  }
  // Reads a picture back; empty when it does not load with pixels.
  Picture Read(const std::string &name) {
    int ret = 0;
    tagFileInfo *record = m_engine.LoadRGB(Path(name), 1, ret);
    Picture p;
    if (record != nullptr && record->rgbInfo.ptBits != nullptr) {
      p.width = record->rgbInfo.width;
      p.height = record->rgbInfo.height;
      p.bits.assign(record->rgbInfo.ptBits,
                    record->rgbInfo.ptBits + size_t{p.width} * p.height * 3);
    }
    PluginFreeFileInfo(record);
    return p;
  }

  test_support::TempFolder m_folder;
  CImageFileEngine m_engine;
};

// The engine bound to the probe plug-in alone (BMP and KDT through the real BMP plug-in), which
// calls back at every load and save: s_events holds the watched task's progress at each, as
// "L0 10" (a load of a record only at progress 10), "L1 32" (a load with pixels) or "S 55" (a
// save), and s_results the task's result at each, as a poll would see it. s_onLoad may change each
// record a load gives; s_onSave sees each picture a save is given.
class ProbePluginTest : public RealPluginsTest {
 protected:
  using ProbeHook = int (*)(char operation, int full, tagFileInfo *loaded, tagRGBInfo *saving);
  std::string PluginDir() const override { return TASKS_PROBE_DIR; }
  void SetUp() override {
    RealPluginsTest::SetUp();
    m_probe = dlopen(TASKS_PROBE_DIR "tasks_probe.dll", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(m_probe, nullptr);
    m_setHook = reinterpret_cast<void (*)(ProbeHook)>(dlsym(m_probe, "ProbeSetHook"));
    ASSERT_NE(m_setHook, nullptr);
    m_setHook(&Record);
  }
  void TearDown() override {
    SaveKdtAsKdt(false);
    if (m_setHook != nullptr) m_setHook(nullptr);
    if (m_probe != nullptr) dlclose(m_probe);
    s_task = nullptr;
    s_onLoad = nullptr;
    s_onSave = nullptr;
  }
  static int Record(char operation, int full, tagFileInfo *loaded, tagRGBInfo *saving) {
    std::string event(1, operation);
    if (operation == 'L') event += std::to_string(full);
    s_events.push_back(event + " " + std::to_string(s_task ? s_task->GetProgressStatus() : 0));
    s_results.push_back(s_task ? s_task->GetConvertResult() : 0);
    if (operation == 'L' && s_onLoad) s_onLoad(loaded);
    if (operation == 'S' && s_onSave) s_onSave(*saving);
    return operation == 'S' && ++s_saves == s_failingSave ? ERR_FILE_WRITE : 0;
  }
  // true: KDT targets are written by the real KDT plug-in, key companion and all, from now on.
  void SaveKdtAsKdt(bool real) {
    auto set = reinterpret_cast<void (*)(int)>(dlsym(m_probe, "ProbeSaveKdtAsKdt"));
    ASSERT_NE(set, nullptr);
    set(real ? 1 : 0);
  }
  // Watches task from now on; its failingSave-th save from now fails (0: none).
  static void Watch(CTaskBaseClass &task, int failingSave = 0) {
    s_task = &task;
    s_events.clear();
    s_results.clear();
    s_saves = 0;
    s_failingSave = failingSave;
  }

  void *m_probe = nullptr;
  void (*m_setHook)(ProbeHook) = nullptr;
  static inline CTaskBaseClass *s_task = nullptr;
  static inline std::vector<std::string> s_events;
  static inline std::vector<int> s_results;  // the task's result at each event
  static inline int s_saves = 0, s_failingSave = 0;
  static inline std::function<void(tagFileInfo *)> s_onLoad;
  static inline std::function<void(const tagRGBInfo &)> s_onSave;
};

// Opens the protected parts of the task base for the tests.
class OpenTask : public CTaskBasic {
 public:
  using CTaskBaseClass::CramRgbIntoConvass, CTaskBaseClass::DeletePicture, CTaskBaseClass::LoadRgb,
      CTaskBaseClass::NewPicture, CTaskBaseClass::SaveRgb;
  using CTaskBaseClass::m_sfilesInSave, CTaskBaseClass::m_uiCompositeMode,
      CTaskBaseClass::m_uiObjectHeight, CTaskBaseClass::m_uiObjectWidth,
      CTaskBaseClass::m_uiShiftMode;
  using CTaskBasic::CTaskBasic;
};

}  // namespace tasks_test
