// The plug-in host: which libraries it binds, the patterns it reports and where it sends each
// load and save. Stand-in plug-ins (built beside this test) make binding order and dispatch
// visible; the real KDT and BMP plug-ins check the road from picture to file and back.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kStandIns = HOST_TEST_PLUGIN_DIR;
const std::string kTga = kStandIns + "host_tga.dll";                   // "*.TGA", marker 901
const std::string kBmpLower = kStandIns + "host_bmp_lower.dll";        // "*.bmp", marker 902
const std::string kNoSave = kStandIns + "host_no_save.dll";            // no SaveRgb export
const std::string kEmptyLoad = kStandIns + "host_empty_load.dll";      // "*.BMP", loads nothing
const std::string kNoPattern = kStandIns + "host_no_pattern.dll";      // ""
const std::string kNullPattern = kStandIns + "host_null_pattern.dll";  // no text at all
const std::string kPattern39 = kStandIns + "host_pattern_39.dll";
const std::string kPattern40 = kStandIns + "host_pattern_40.dll";
const std::string kKdt = std::string(QUENDA_PLUGIN_DIR) + "kdtplug.dll";
const std::string kBmp = std::string(QUENDA_PLUGIN_DIR) + "bmpplug.dll";

// A plug-in folder holding copies of libraries under chosen names; the host binds them in name
// order.
struct PluginFolder {
  explicit PluginFolder(const std::vector<std::pair<std::string, std::string>> &copies) {
    for (const auto &[name, library] : copies) fs::copy_file(library, folder.File(name));
  }
  std::string path() const { return folder.Folder(); }
  test_support::TempFolder folder;
};

bool IsLoaded(const std::string &path) {
  void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

struct RecordDeleter {
  void operator()(tagFileInfo *record) const { PluginFreeFileInfo(record); }
};
using Record = std::unique_ptr<tagFileInfo, RecordDeleter>;

Record Load(const CImageFileEngine &engine, const std::string &path, int isRGBReadIn, int &ret) {
  return Record(engine.LoadRGB(path, isRGBReadIn, ret));
}

TEST(HostBinding, BindsOnlyLibrariesExportingAllThreeEntryPointsWithAFittingPattern) {
  PluginFolder plugins({{"a.dll", kTga},
                        {"b.dll", kNoSave},
                        {"E.DLL", kBmpLower},
                        {"f.dll", kPattern40},
                        {"g.dll", kPattern39},
                        {"h.dll", kNullPattern},
                        {"readme.txt", kBmpLower}});
  fs::create_directory(plugins.path() + "c.dll");  // a folder named like a library
  std::ofstream(plugins.path() + "c.dll/inner") << "x";
  std::ofstream(plugins.path() + "d.dll") << "not a library";  // fails to load
  // A FIFO, whose opening would wait for a writer for ever.
  ASSERT_EQ(mkfifo((plugins.path() + "e.dll").c_str(), 0600), 0);
  {
    CImageFileEngine engine;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(test_support::ReturnsAtOnce(plugins.path() + "e.dll",
                                            [&] { engine.Initialization(plugins.path()); }));
    const std::string said = testing::internal::GetCapturedStderr();
    // Each library that is skipped is named, with its reason.
    for (const char *reason :
         {"c.dll: a folder", "e.dll: a FIFO", "f.dll: the plug-in's pattern is too long",
          "h.dll: the plug-in names no pattern"})
      EXPECT_NE(said.find(reason), std::string::npos) << reason << " in " << said;
    // The upper-case name matches "*.dll"; readme.txt does not; a 40-character pattern does not
    // fit its field, 39 characters do.
    EXPECT_EQ(engine.GetFilesSet(), "*.TGA;*.BMP;*.ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789A");
    // Libraries that were not bound are released, the bound ones stay loaded.
    EXPECT_FALSE(IsLoaded(plugins.path() + "b.dll"));
    EXPECT_FALSE(IsLoaded(plugins.path() + "f.dll"));
    EXPECT_TRUE(IsLoaded(plugins.path() + "a.dll"));
    int ret = 0;
    EXPECT_EQ(Load(engine, "/p/a.png", 1, ret), nullptr);
    EXPECT_EQ(ret, ERR_NO_ENGINE);
  }
  EXPECT_FALSE(IsLoaded(plugins.path() + "a.dll")) << "the destructor releases every library";
  EXPECT_FALSE(IsLoaded(plugins.path() + "E.DLL"));
}

TEST(HostBinding, MissingOrEmptyFolderServesNothing) {
  test_support::TempFolder empty;
  for (const std::string &folder : {empty.Folder(), empty.File("missing/")}) {
    CImageFileEngine engine;
    engine.Initialization(folder);
    EXPECT_EQ(engine.GetFilesSet(), "");
    int ret = 0;
    EXPECT_EQ(Load(engine, "/p/a.bmp", 1, ret), nullptr);
    EXPECT_EQ(ret, ERR_NO_ENGINE);
    tagRGBInfo picture{};
    EXPECT_EQ(engine.SaveRGB(empty.File("a.bmp"), "BMP", &picture), ERR_NO_ENGINE);
  }
}

TEST(HostBinding, DefaultFolderIsDllBesideTheProgram) {
  CImageFileEngine engine;
  engine.Initialization();  // this test program lives in the build folder, beside dll/
  EXPECT_EQ(engine.GetFilesSet(), "*.BMP");
}

// A program that cannot tell its own folder has only "dll/" to go by, which would be looked up
// from whatever folder it was started in: it loads no plug-in and says why on standard error.
TEST(HostBinding, PluginFolderGivenByNoFullPathLoadsNothingAndSaysWhy) {
  test_support::TempFolder started;
  fs::create_directory(started.File("dll"));
  fs::copy_file(kBmp, started.File("dll/bmpplug.dll"));
  const fs::path previous = fs::current_path();
  fs::current_path(started.Path());
  testing::internal::CaptureStderr();
  {
    CImageFileEngine engine;
    engine.Initialization("dll/");
    EXPECT_EQ(engine.GetFilesSet(), "");
  }
  const std::string said = testing::internal::GetCapturedStderr();
  fs::current_path(previous);
  EXPECT_NE(said.find("no plug-in"), std::string::npos) << said;
  EXPECT_NE(said.find("dll/"), std::string::npos) << said;
}

TEST(HostFilesSet, ListsUpperCasePatternsInBindingOrderWithoutKdtOrEmptyEntries) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{kBmp, kKdt}, "*.BMP"},
      {{kKdt, kBmp}, "*.BMP"},
      {{kBmp, kKdt, kTga}, "*.BMP;*.TGA"},
      {{kTga, kKdt, kBmp}, "*.TGA;*.BMP"},
      {{kKdt}, ""},
      {{kKdt, kBmpLower}, "*.BMP"},
      {{kNoPattern, kTga, kNoPattern}, "*.TGA"},
  };
  for (const auto &[libraries, expected] : cases) {
    std::vector<std::pair<std::string, std::string>> copies;
    for (const std::string &library : libraries)
      copies.push_back({std::to_string(copies.size()) + ".dll", library});
    PluginFolder plugins(copies);
    CImageFileEngine engine;
    engine.Initialization(plugins.path());
    EXPECT_EQ(engine.GetFilesSet(), expected) << "with " << libraries.size() << " libraries";
  }
}

class HostDispatch : public ::testing::Test {
 protected:
  void SetUp() override { engine_.Initialization(plugins_.path()); }
  PluginFolder plugins_{{{"1.dll", kBmpLower}, {"2.dll", kTga}}};
  CImageFileEngine engine_;
};

TEST_F(HostDispatch, LoadGoesToFirstPatternContainingTheExtension) {
  // Whole extensions in either case, parts of one, and the empty extension all match "*.BMP",
  // which comes first; the plug-in's code and record come back unchanged.
  for (const std::string path : {"/p/a.bmp", "/p/a.BMP", "/p/a.b", "/p/a.mp", "/p/a."}) {
    for (int isRGBReadIn : {0, 1}) {
      int ret = 0;
      Record record = Load(engine_, path, isRGBReadIn, ret);
      ASSERT_NE(record, nullptr) << path;
      EXPECT_EQ(ret, 902) << path;
      EXPECT_EQ(record->rgbInfo.width, 902u) << path;
      EXPECT_STREQ(record->filename, path.c_str());
      EXPECT_EQ(record->rgbInfo.height, static_cast<uint32_t>(isRGBReadIn));
    }
  }
  int ret = 0;
  Record record = Load(engine_, "/p/a.tga", 1, ret);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->rgbInfo.width, 901u);
  // A path that the record's name field cannot hold whole reaches no plug-in, whose record would
  // name the file by the cut path; one character less still does.
  const std::string longest = "/p/" + std::string(kFileNameSize - 8, 'x') + ".bmp";
  ASSERT_EQ(longest.size(), size_t(kFileNameSize) - 1);
  EXPECT_NE(Load(engine_, longest, 1, ret), nullptr);
  EXPECT_EQ(Load(engine_, "/p/x" + longest.substr(3), 1, ret), nullptr);
  EXPECT_EQ(ret, ERR_FILE_OPEN);
}

TEST_F(HostDispatch, LoadWithoutUsableExtensionFindsNoPlugin) {
  // No dot in the file name: the extension runs from the folder's dot. A dot as the first
  // character gives no extension at all.
  for (const std::string path : {"/p.d/readme", ".bmp", "/p/a.png", "noextension"}) {
    int ret = 0;
    EXPECT_EQ(Load(engine_, path, 1, ret), nullptr) << path;
    EXPECT_EQ(ret, ERR_NO_ENGINE) << path;
  }
}

TEST_F(HostDispatch, SaveMatchesTheFormatAsGiven) {
  tagRGBInfo picture{};
  EXPECT_EQ(engine_.SaveRGB("/p/a.bmp", "BMP", &picture), 902);
  EXPECT_EQ(engine_.SaveRGB("/p/a.tga", "TGA", &picture), 901);
  EXPECT_EQ(engine_.SaveRGB("/p/a.tga", "GA", &picture), 901);
  // The format is not upper-cased: lower case matches no pattern.
  EXPECT_EQ(engine_.SaveRGB("/p/a.bmp", "bmp", &picture), ERR_NO_ENGINE);
  EXPECT_EQ(engine_.SaveRGB("/p/a.png", "PNG", &picture), ERR_NO_ENGINE);
}

TEST(HostDispatchFirstMatch, LaterPluginsAreNotTriedAfterAnEmptyLoad) {
  PluginFolder plugins({{"1.dll", kEmptyLoad}, {"2.dll", kBmpLower}});
  CImageFileEngine engine;
  engine.Initialization(plugins.path());
  int ret = -1;
  EXPECT_EQ(Load(engine, "/p/a.bmp", 1, ret), nullptr);
  EXPECT_EQ(ret, 0);
}

// The road the program takes: a KDT still saved with the format "KDT" and loaded back through the
// real plug-ins; the record outlives the engine and its libraries (the sanitizer build checks
// the free).
TEST(HostRealPlugins, KdtStillSavedAndLoadedBack) {
  PluginFolder plugins({{"bmpplug.dll", kBmp}, {"kdtplug.dll", kKdt}});
  test_support::TempFolder files;
  const std::string path = files.File("MX.QVEL_000.KDT");
  std::vector<unsigned char> pixels(size_t{1280} * 720 * 3, 0x80);
  tagRGBInfo picture{1280, 720, 24, pixels.data(), nullptr};
  int ret = -1;
  Record record;
  {
    CImageFileEngine engine;
    engine.Initialization(plugins.path());
    ASSERT_EQ(engine.SaveRGB(path, "KDT", &picture), 0);
    record = Load(engine, path, 1, ret);
  }
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ret, 0);
  EXPECT_EQ(record->rgbInfo.width, 1280u);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(record->rgbInfo.ptBits[pixels.size() - 1], 0x80);
}

}  // namespace
