// The namespace the folder tree and the file list browse, on a temporary tree with its own home
// folder and medium, so nothing depends on the machine's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/MountTable.h"
#include "platform/ShellIcons.h"
#include "platform/ShellItemList.h"
#include "platform/ShellNamespace.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

using FolderPtr = ShellFolderPtr;

std::string Name(const ShellFolder &folder, const ITEMIDLIST *item, unsigned flags) {
  std::string name = "<none>";
  GetName(&folder, item, flags, name);
  return name;
}

std::vector<std::string> Names(const ShellFolder &folder, unsigned flags = SHGDN_NORMAL) {
  std::vector<ItemIdPtr> items;
  EXPECT_TRUE(folder.EnumObjects(items));
  std::vector<std::string> names;
  for (const ItemIdPtr &item : items) names.push_back(Name(folder, item.get(), flags));
  return names;
}

// The item of `folder` shown as `name`.
ItemIdPtr Child(const ShellFolder &folder, const std::string &name) {
  std::vector<ItemIdPtr> items;
  folder.EnumObjects(items);
  for (ItemIdPtr &item : items)
    if (Name(folder, item.get(), SHGDN_NORMAL) == name) return std::move(item);
  ADD_FAILURE() << "no item " << name;
  return nullptr;
}

class ShellNamespaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = root_.File("home");
    medium_ = root_.File("media/user/USB STICK");
    fs::create_directories(home_);
    fs::create_directories(medium_);
    SetShellEnvironmentSource([this] { return ShellEnvironment{home_, {medium_}}; });
    desktop_.reset(DesktopFolder());
  }
  void TearDown() override { SetShellEnvironmentSource(nullptr); }

  void Touch(const std::string &path) { std::ofstream{path}; }

  test_support::TempFolder root_;
  std::string home_, medium_;
  FolderPtr desktop_;
};

TEST_F(ShellNamespaceTest, DesktopChildrenInFixedOrderWithTheirPathsAndAttributes) {
  EXPECT_EQ(Names(*desktop_), (std::vector<std::string>{"Home", "File System", "USB STICK"}));
  EXPECT_EQ(Names(*desktop_, SHGDN_FORPARSING), (std::vector<std::string>{home_, "/", medium_}));
  EXPECT_EQ(Name(*desktop_, nullptr, SHGDN_NORMAL), "Desktop");
  EXPECT_EQ(Name(*desktop_, nullptr, SHGDN_FORPARSING), "");

  const unsigned long all = ~0ul;
  EXPECT_EQ(desktop_->GetAttributesOf(nullptr, all), SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
  // The empty medium answers has-subfolder without being read.
  EXPECT_EQ(desktop_->GetAttributesOf(Child(*desktop_, "USB STICK").get(), all),
            SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_REMOVABLE | SFGAO_HASSUBFOLDER);
  EXPECT_EQ(desktop_->GetAttributesOf(Child(*desktop_, "Home").get(), all),
            SFGAO_FOLDER | SFGAO_FILESYSTEM);

  // Sorting keeps the fixed order.
  const ItemIdPtr home = Child(*desktop_, "Home"), system = Child(*desktop_, "File System");
  EXPECT_LT(desktop_->CompareIDs(home.get(), system.get()), 0);
  EXPECT_GT(desktop_->CompareIDs(Child(*desktop_, "USB STICK").get(), system.get()), 0);

  // Without a home folder there is no "Home".
  SetShellEnvironmentSource([] { return ShellEnvironment{"", {}}; });
  EXPECT_EQ(Names(*FolderPtr(DesktopFolder())), std::vector<std::string>{"File System"});
}

TEST_F(ShellNamespaceTest, FolderListsRegularFilesAndFoldersOnlyInItsOrder) {
  for (const char *folder : {"b", "A", "A/deep", "b/.git", ".hidden-folder", "many"})
    fs::create_directory(home_ + "/" + folder);
  for (const char *file : {"a.kdt", "B.bmp", "x", "X", ".hidden", "b/only-a-file"})
    Touch(home_ + "/" + file);
  fs::create_directory_symlink(home_ + "/A", home_ + "/link-to-A");
  fs::create_symlink(home_ + "/a.kdt", home_ + "/link-to-a.kdt");
  fs::create_symlink(home_ + "/missing", home_ + "/broken-link");
  fs::create_symlink("/dev/null", home_ + "/device-link");
  ASSERT_EQ(mkfifo((home_ + "/fifo").c_str(), 0600), 0);
  for (int i = 0; i < 1001; ++i) Touch(home_ + "/many/f" + std::to_string(i));

  FolderPtr home(desktop_->BindToObject(Child(*desktop_, "Home").get()));
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(Names(*home), (std::vector<std::string>{"A", "b", "link-to-A", "many", "a.kdt", "B.bmp",
                                                    "link-to-a.kdt", "X", "x"}));
  EXPECT_EQ(Name(*home, Child(*home, "a.kdt").get(), SHGDN_FORPARSING), home_ + "/a.kdt");

  const unsigned long asked = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_LINK | SFGAO_FILESYSTEM;
  struct Case {
    const char *name;
    unsigned long attributes;
    ShellIcon icon, openIcon;
  } cases[] = {
      {"A", SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER, kIconFolder, kIconFolderOpen},
      {"b", SFGAO_FOLDER | SFGAO_FILESYSTEM, kIconFolder, kIconFolderOpen},     // .git is hidden
      {"many", SFGAO_FOLDER | SFGAO_FILESYSTEM, kIconFolder, kIconFolderOpen},  // 1001 files
      {"link-to-A", SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_LINK,
       kIconFolderLink, kIconFolderOpenLink},
      {"a.kdt", SFGAO_FILESYSTEM, kIconPicture, kIconPicture},
      {"link-to-a.kdt", SFGAO_FILESYSTEM | SFGAO_LINK, kIconPictureLink, kIconPictureLink},
      {"x", SFGAO_FILESYSTEM, kIconFile, kIconFile},
  };
  ItemIdPtr homeList(GetFullyQualPidl(home_));
  for (const Case &c : cases) {
    const ItemIdPtr item = Child(*home, c.name);
    EXPECT_EQ(home->GetAttributesOf(item.get(), asked), c.attributes) << c.name;
    // Has-subfolder is worked out only when asked for.
    EXPECT_EQ(home->GetAttributesOf(item.get(), SFGAO_FOLDER), c.attributes & SFGAO_FOLDER);
    ItemIdPtr absolute(ConcatPidls(homeList.get(), item.get()));
    EXPECT_EQ(GetItemIcon(absolute.get(), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
              c.icon)
        << c.name;
    EXPECT_EQ(GetItemIcon(absolute.get(),
                          SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON),
              c.openIcon)
        << c.name;
  }
  ItemIdPtr empty(Create(2));
  EXPECT_EQ(GetItemIcon(empty.get(), 0), kIconDesktop);
  EXPECT_EQ(GetItemIcon(homeList.get(), 0), kIconHome);
  EXPECT_EQ(GetItemIcon(nullptr, 0), kIconFile);
  EXPECT_EQ(GetItemIcon(ItemIdPtr(GetFullyQualPidl(medium_)).get(), 0), kIconRemovable);
  EXPECT_EQ(GetItemIcon(ItemIdPtr(GetFullyQualPidl("/")).get(), 0), kIconDrive);
}

TEST_F(ShellNamespaceTest, BindsOnlyFoldersThatOpenNow) {
  fs::create_directories(home_ + "/gone/inner");
  Touch(home_ + "/file");
  FolderPtr home(desktop_->BindToObject(Child(*desktop_, "Home").get()));
  ASSERT_NE(home, nullptr);
  const ItemIdPtr gone = Child(*home, "gone"), file = Child(*home, "file");

  FolderPtr bound(home->BindToObject(gone.get()));
  ASSERT_NE(bound, nullptr);
  EXPECT_EQ(Names(*bound), std::vector<std::string>{"inner"});
  EXPECT_EQ(home->BindToObject(file.get()), nullptr);
  EXPECT_EQ(home->BindToObject(nullptr), nullptr);
  // The desktop's own empty list binds to nothing: the desktop's children are inserted once.
  EXPECT_EQ(desktop_->BindToObject(ItemIdPtr(Create(2)).get()), nullptr);

  // A folder deleted after it was listed no longer binds, and its attributes are gone.
  fs::remove_all(home_ + "/gone");
  EXPECT_EQ(home->BindToObject(gone.get()), nullptr);
  EXPECT_EQ(home->GetAttributesOf(gone.get(), ~0ul), 0u);
  std::vector<ItemIdPtr> items;
  EXPECT_FALSE(bound->EnumObjects(items));

  // A medium that is no longer mounted does not bind through a new desktop.
  const ItemIdPtr medium = Child(*desktop_, "USB STICK");
  SetShellEnvironmentSource([this] { return ShellEnvironment{home_, {}}; });
  EXPECT_EQ(FolderPtr(DesktopFolder())->BindToObject(medium.get()), nullptr);
}

TEST_F(ShellNamespaceTest, ParsingNamesAndAbsoluteLists) {
  const std::string deep = home_ + "/A/" + std::string(200, 'n') + "/" + std::string(100, 'm');
  fs::create_directories(deep);
  fs::create_directories(medium_ + "/DCIM");
  ASSERT_EQ(mkfifo((home_ + "/fifo").c_str(), 0600), 0);

  ItemIdPtr list(GetFullyQualPidl(deep + "/"));
  ASSERT_NE(list, nullptr);
  // Names are not cut: the path is longer than 260 bytes.
  EXPECT_EQ(Name(*desktop_, list.get(), SHGDN_FORPARSING), deep);
  EXPECT_EQ(Name(*desktop_, list.get(), SHGDN_NORMAL), std::string(100, 'm'));
  ItemIdPtr parent(GetFullyQualPidl(home_ + "/A"));
  EXPECT_EQ(ComparePidl(parent.get(), list.get()), 1);
  EXPECT_EQ(Name(*desktop_, ItemIdPtr(CopyITEMID(parent.get())).get(), SHGDN_NORMAL), "Home");

  // Each path goes below the desktop child that holds it most closely.
  ItemIdPtr onMedium(GetFullyQualPidl(medium_ + "/DCIM"));
  EXPECT_EQ(Name(*desktop_, ItemIdPtr(CopyITEMID(onMedium.get())).get(), SHGDN_NORMAL),
            "USB STICK");
  EXPECT_EQ(Name(*desktop_, onMedium.get(), SHGDN_FORPARSING), medium_ + "/DCIM");
  ItemIdPtr elsewhere(GetFullyQualPidl(root_.Path()));
  EXPECT_EQ(Name(*desktop_, ItemIdPtr(CopyITEMID(elsewhere.get())).get(), SHGDN_NORMAL),
            "File System");
  EXPECT_EQ(Name(*desktop_, elsewhere.get(), SHGDN_FORPARSING), root_.Path());

  for (const std::string &bad : {home_ + "/missing", home_ + "/fifo", std::string("relative")})
    EXPECT_EQ(GetFullyQualPidl(bad), nullptr) << bad;
}

TEST_F(ShellNamespaceTest, NamesAreReadWithinTheirItems) {
  fs::create_directories(home_ + "/ab/cd");
  FolderPtr home(desktop_->BindToObject(Child(*desktop_, "Home").get()));
  // Two entry items; the first one's name runs to the end of its item with no zero byte.
  const unsigned char bytes[] = {6, 0, 4, 1, 'a', 'b', 7, 0, 4, 1, 'c', 'd', 0, 0, 0};
  const auto *list = reinterpret_cast<const ITEMIDLIST *>(bytes);
  EXPECT_EQ(Name(*home, list, SHGDN_FORPARSING), home_ + "/ab/cd");
  EXPECT_EQ(Name(*home, list, SHGDN_NORMAL), "cd");
  FolderPtr bound(home->BindToObject(list));
  ASSERT_NE(bound, nullptr);
  // Items that are not entries, or name a parent, name nothing.
  const unsigned char up[] = {7, 0, 4, 1, '.', '.', 0, 0, 0};
  const unsigned char unknown[] = {6, 0, 9, 1, 'a', 0, 0, 0};
  for (const unsigned char *bad : {up, unknown}) {
    const auto *badList = reinterpret_cast<const ITEMIDLIST *>(bad);
    EXPECT_EQ(Name(*home, badList, SHGDN_NORMAL), "<none>");
    EXPECT_EQ(home->BindToObject(badList), nullptr);
  }
}

TEST(MountTable, RemovableMediaOfTheUser) {
  const char *table =
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
      "/dev/sdc1 /run/media/ann/CARD exfat rw 0 0\n"
      "/dev/sdd1 /media/bob/OTHER vfat rw 0 0\n"
      "/dev/sde1 /media/ann/USB\\040STICK/inner vfat rw 0 0\n"
      "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
      "/dev/sdf1 /media/ann vfat rw 0 0\n"
      "broken-line";
  EXPECT_EQ(RemovableMediaMounts(table, "ann"),
            (std::vector<std::string>{"/media/ann/USB STICK", "/run/media/ann/CARD"}));
  EXPECT_TRUE(RemovableMediaMounts(table, "").empty());
}

}  // namespace
