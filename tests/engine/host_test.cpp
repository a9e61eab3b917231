// The plug-in host: which libraries it binds, the patterns it reports and where it sends each
// load and save. Stand-in plug-ins (built beside this test) make binding order and dispatch
// visible; the real KDT and BMP plug-ins check the whole road from file to record and back.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/ImageFileEngine.h"

namespace fs = std::filesystem;

namespace {

const std::string kStandIns = HOST_TEST_PLUGIN_DIR;
const std::string kTga = kStandIns + "host_tga.dll";               // "*.TGA", marker 901
const std::string kBmpLower = kStandIns + "host_bmp_lower.dll";    // "*.bmp", marker 902
const std::string kNoSave = kStandIns + "host_no_save.dll";        // no SaveRgb export
const std::string kEmptyLoad = kStandIns + "host_empty_load.dll";  // "*.BMP", loads nothing
const std::string kPattern39 = kStandIns + "host_pattern_39.dll";
const std::string kPattern40 = kStandIns + "host_pattern_40.dll";
const std::string kKdt = std::string(QUENDA_PLUGIN_DIR) + "kdtplug.dll";
const std::string kBmp = std::string(QUENDA_PLUGIN_DIR) + "bmpplug.dll";

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quenda-host-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern + "/" : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

// A plug-in folder holding copies of libraries under chosen names; the host binds them in name
// order.
struct PluginFolder {
  explicit PluginFolder(const std::vector<std::pair<std::string, std::string>> &copies) {
    for (const auto &[name, library] : copies) fs::copy_file(library, path() + name);
  }
  std::string path() const { return folder.path(); }
  TempFolder folder;
};

bool IsLoaded(const std::string &path) {
  void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

void RequireRealPlugins() {
  if (!fs::exists(kKdt) || !fs::exists(kBmp)) GTEST_SKIP() << "the real plug-ins are not built";
}

// A picture of the given size whose pixels differ from each other.
struct Picture {
  Picture(uint32_t width, uint32_t height) : pixels(size_t{width} * height * 3) {
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7 + 3);
    info = {width, height, 24, pixels.data(), nullptr};
  }
  std::vector<unsigned char> pixels;
  tagRGBInfo info;
};

struct RecordDeleter {
  void operator()(tagFileInfo *record) const { PluginFreeFileInfo(record); }
};
using Record = std::unique_ptr<tagFileInfo, RecordDeleter>;

Record Load(const CImageFileEngine &engine, const std::string &path, int isRGBReadIn, int &ret) {
  return Record(engine.LoadRGB(path, isRGBReadIn, ret));
}

// A path of exactly `length` characters ending in `name`, its folders created under `base`.
std::string PathOfLength(const std::string &base, size_t length, const std::string &name) {
  std::string path = base;
  while (length - path.size() > name.size() + 100) {
    path += std::string(99, 'd') + "/";
    fs::create_directory(path);
  }
  const size_t padding = length - path.size() - name.size();
  return path + std::string(padding, 'f') + name;
}

TEST(HostBinding, BindsOnlyLibrariesExportingAllThreeEntryPoints) {
  PluginFolder plugins(
      {{"a.dll", kTga}, {"b.dll", kNoSave}, {"E.DLL", kBmpLower}, {"readme.txt", kBmpLower}});
  fs::create_directory(plugins.path() + "c.dll");  // a folder named like a library
  std::ofstream(plugins.path() + "c.dll/inner") << "x";
  std::ofstream(plugins.path() + "d.dll") << "not a library";  // fails to load

  CImageFileEngine engine;
  engine.Initialization(plugins.path());
  // The upper-case name matches "*.dll"; readme.txt does not.
  EXPECT_EQ(engine.GetFilesSet(), "*.TGA;*.BMP");
  // The library without SaveRgb was released, the bound ones stay loaded.
  EXPECT_FALSE(IsLoaded(plugins.path() + "b.dll"));
  EXPECT_TRUE(IsLoaded(plugins.path() + "a.dll"));
  int ret = 0;
  EXPECT_EQ(Load(engine, "/p/a.xyz", 1, ret), nullptr);
  EXPECT_EQ(ret, ERR_NO_ENGINE);
}

TEST(HostBinding, RefusesPatternThatDoesNotFitItsField) {
  PluginFolder plugins({{"a.dll", kPattern39}, {"b.dll", kPattern40}});
  CImageFileEngine engine;
  engine.Initialization(plugins.path());
  EXPECT_EQ(engine.GetFilesSet(), "*.ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789A");
  EXPECT_FALSE(IsLoaded(plugins.path() + "b.dll"));
}

TEST(HostBinding, MissingOrEmptyFolderServesNothing) {
  TempFolder empty;
  for (const std::string &folder : {empty.path(), empty.path() + "missing/"}) {
    CImageFileEngine engine;
    engine.Initialization(folder);
    EXPECT_EQ(engine.GetFilesSet(), "");
    int ret = 0;
    EXPECT_EQ(Load(engine, "/p/a.bmp", 1, ret), nullptr);
    EXPECT_EQ(ret, ERR_NO_ENGINE);
    Picture picture(2, 2);
    EXPECT_EQ(engine.SaveRGB(empty.path() + "a.bmp", "BMP", &picture.info), ERR_NO_ENGINE);
  }
}

TEST(HostBinding, DestructorReleasesEveryLibrary) {
  PluginFolder plugins({{"a.dll", kTga}, {"b.dll", kBmpLower}});
  {
    CImageFileEngine engine;
    engine.Initialization(plugins.path());
    ASSERT_TRUE(IsLoaded(plugins.path() + "a.dll"));
    ASSERT_TRUE(IsLoaded(plugins.path() + "b.dll"));
  }
  EXPECT_FALSE(IsLoaded(plugins.path() + "a.dll"));
  EXPECT_FALSE(IsLoaded(plugins.path() + "b.dll"));
}

TEST(HostBinding, DefaultFolderIsDllBesideTheProgram) {
  RequireRealPlugins();
  CImageFileEngine engine;
  engine.Initialization();  // this test program lives in the build folder, beside dll/
  EXPECT_EQ(engine.GetFilesSet(), "*.BMP");
}

TEST(HostFilesSet, ListsUpperCasePatternsInBindingOrderWithoutKdt) {
  RequireRealPlugins();
  const struct {
    std::vector<std::string> libraries;
    std::string expected;
  } cases[] = {
      {{kBmp, kKdt}, "*.BMP"},
      {{kKdt, kBmp}, "*.BMP"},
      {{kBmp, kKdt, kTga}, "*.BMP;*.TGA"},
      {{kTga, kKdt, kBmp}, "*.TGA;*.BMP"},
      {{kKdt}, ""},
      {{kKdt, kBmpLower}, "*.BMP"},
  };
  for (const auto &c : cases) {
    std::vector<std::pair<std::string, std::string>> copies;
    for (const std::string &library : c.libraries)
      copies.push_back({std::to_string(copies.size()) + ".dll", library});
    PluginFolder plugins(copies);
    CImageFileEngine engine;
    engine.Initialization(plugins.path());
    EXPECT_EQ(engine.GetFilesSet(), c.expected) << "with " << c.libraries.size() << " libraries";
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
  // which comes first.
  for (const std::string path : {"/p/a.bmp", "/p/a.BMP", "/p/a.b", "/p/a.mp", "/p/a."}) {
    for (int isRGBReadIn : {0, 1}) {
      int ret = 0;
      Record record = Load(engine_, path, isRGBReadIn, ret);
      ASSERT_NE(record, nullptr) << path;
      EXPECT_EQ(record->rgbInfo.width, 902u) << path;
      EXPECT_EQ(ret, 902) << path;  // the plug-in's code comes back unchanged
      EXPECT_STREQ(record->filename, path.c_str());
      EXPECT_EQ(record->rgbInfo.height, static_cast<uint32_t>(isRGBReadIn));
    }
  }
  int ret = 0;
  Record record = Load(engine_, "/p/a.tga", 1, ret);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->rgbInfo.width, 901u);
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
  Picture picture(2, 2);
  EXPECT_EQ(engine_.SaveRGB("/p/a.bmp", "BMP", &picture.info), 902);
  EXPECT_EQ(engine_.SaveRGB("/p/a.tga", "TGA", &picture.info), 901);
  EXPECT_EQ(engine_.SaveRGB("/p/a.tga", "GA", &picture.info), 901);
  // The format is not upper-cased: lower case matches no pattern.
  EXPECT_EQ(engine_.SaveRGB("/p/a.bmp", "bmp", &picture.info), ERR_NO_ENGINE);
  EXPECT_EQ(engine_.SaveRGB("/p/a.png", "PNG", &picture.info), ERR_NO_ENGINE);
}

TEST(HostDispatchFirstMatch, LaterPluginsAreNotTriedAfterAnEmptyLoad) {
  PluginFolder plugins({{"1.dll", kEmptyLoad}, {"2.dll", kBmpLower}});
  CImageFileEngine engine;
  engine.Initialization(plugins.path());
  int ret = -1;
  EXPECT_EQ(Load(engine, "/p/a.bmp", 1, ret), nullptr);
  EXPECT_EQ(ret, 0);
}

class HostRealPlugins : public ::testing::Test {
 protected:
  void SetUp() override {
    RequireRealPlugins();
    plugins_ = std::make_unique<PluginFolder>(std::vector<std::pair<std::string, std::string>>{
        {"kdtplug.dll", kKdt}, {"bmpplug.dll", kBmp}});
    engine_.Initialization(plugins_->path());
  }
  TempFolder files_;
  std::unique_ptr<PluginFolder> plugins_;
  CImageFileEngine engine_;
};

TEST_F(HostRealPlugins, BmpRoundTrip) {
  Picture picture(5, 3);  // odd width: rows carry padding in the file
  const std::string path = files_.path() + "picture.bmp";
  ASSERT_EQ(engine_.SaveRGB(path, "BMP", &picture.info), 0);

  int ret = -1;
  Record record = Load(engine_, path, 1, ret);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ret, 0);
  EXPECT_STREQ(record->filename, path.c_str());
  EXPECT_EQ(record->rgbInfo.width, 5u);
  EXPECT_EQ(record->rgbInfo.height, 3u);
  EXPECT_EQ(record->rgbInfo.bitsPixl, 24u);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(std::vector<unsigned char>(record->rgbInfo.ptBits,
                                       record->rgbInfo.ptBits + picture.pixels.size()),
            picture.pixels);
}

TEST_F(HostRealPlugins, KdtSavedWithKdtFormatOnlyInUpperCase) {
  Picture picture(1280, 720);
  const std::string path = files_.path() + "MX.QVEL_000.KDT";
  EXPECT_EQ(engine_.SaveRGB(path, "kdt", &picture.info), ERR_NO_ENGINE);
  EXPECT_FALSE(fs::exists(path));
  ASSERT_EQ(engine_.SaveRGB(path, "KDT", &picture.info), 0);

  int ret = -1;
  Record record = Load(engine_, path, 1, ret);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ret, 0);
  EXPECT_EQ(record->rgbInfo.width, 1280u);
  EXPECT_EQ(record->rgbInfo.height, 720u);
  EXPECT_NE(record->rgbInfo.ptBits, nullptr);
}

TEST_F(HostRealPlugins, RecordOutlivesTheLibraryThatMadeIt) {
  Picture picture(4, 4);
  const std::string path = files_.path() + "picture.bmp";
  ASSERT_EQ(engine_.SaveRGB(path, "BMP", &picture.info), 0);
  int ret = -1;
  tagFileInfo *record = nullptr;
  {
    CImageFileEngine own;
    own.Initialization(plugins_->path());
    record = own.LoadRGB(path, 1, ret);
  }
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->rgbInfo.ptBits, nullptr);
  EXPECT_EQ(record->rgbInfo.ptBits[0], picture.pixels[0]);
  PluginFreeFileInfo(record);  // the sanitizer build checks this frees cleanly
}

TEST_F(HostRealPlugins, PathsTooLongForTheRecordAreRefused) {
  Picture picture(2, 2);
  for (const std::string name : {"a.bmp", "MX.QVEL_000.KDT"}) {
    const std::string fits = PathOfLength(files_.path(), kFileNameSize - 1, name);
    const std::string tooLong = PathOfLength(files_.path(), kFileNameSize, name);
    // A 2 x 2 bitmap in both places, so only the length differs between the two loads.
    ASSERT_EQ(engine_.SaveRGB(files_.path() + "b.bmp", "BMP", &picture.info), 0);
    fs::copy_file(files_.path() + "b.bmp", fits, fs::copy_options::overwrite_existing);
    fs::copy_file(files_.path() + "b.bmp", tooLong, fs::copy_options::overwrite_existing);

    int ret = -1;
    Record record = Load(engine_, fits, 1, ret);
    ASSERT_NE(record, nullptr) << name;
    EXPECT_STREQ(record->filename, fits.c_str());

    ret = -1;
    EXPECT_EQ(Load(engine_, tooLong, 1, ret), nullptr) << name;
    EXPECT_EQ(ret, name == "a.bmp" ? 0 : ERR_FILE_OPEN) << name;
  }
}

}  // namespace
