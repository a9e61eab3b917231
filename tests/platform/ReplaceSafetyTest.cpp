// An operator's file replaced by a run that may die at any moment or whose last write fails:
// the file's name holds the old content or the new, whole, at every moment; what a killed run
// leaves is cleared by the next run into the folder; a write that fails at its very end is a
// failed write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/HiddenSibling.h"
#include "platform/IniFile.h"
#include "platform/KeptFile.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/SyncLog.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
using test_support::ReadWholeFile;
using test_support::WriteWholeFile;

std::set<std::string> NamesIn(const std::string &folder) {
  std::set<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// A name of this running process's pattern with one field of its writer changed: the character
// right after `field` (found in the name) becomes `replacement`.
std::string WithWriterChanged(std::string name, const std::string &field, char replacement) {
  const size_t at = name.find(field) + field.size();
  name[at] = name[at] == replacement ? static_cast<char>(replacement + 1) : replacement;
  return name;
}

enum class Holds { Old, New };

struct KillMoment {
  const char *event;  // the call the writer is stopped before ("" runs to its end)
  int occurrence;
  Holds holds;           // what the name holds then, and after the kill
  bool operatorRemoves;  // the operator deletes the file before the next run
  Holds holdsAfterNextRun;
};

// The overwrite of a conversion run that replaces `path` after the operator's Yes: the old
// content kept aside, the new one written and renamed over the name, the kept content let go.
// Runs in a child process that stops itself at `moment`, on a file system without hard links.
[[noreturn]] void OverwriteInChild(const std::string &folder, const std::string &path,
                                   const Bytes &content, const KillMoment &moment) {
  test_support::SyncLog log(folder);
  log.FailLinks(EPERM);
  log.StopBefore(moment.event, moment.occurrence);
  std::optional<platform::KeptFile> kept = platform::KeepFile(path);
  if (!kept) _exit(2);
  platform::AtomicFile file(path);
  const size_t half = content.size() / 2;
  if (file.Stream() == nullptr || std::fwrite(content.data(), 1, half, file.Stream()) != half ||
      std::fflush(file.Stream()) != 0)
    _exit(3);
  if (std::string(moment.event) == "half written") raise(SIGSTOP);
  if (std::fwrite(content.data() + half, 1, content.size() - half, file.Stream()) !=
          content.size() - half ||
      !file.Commit())
    _exit(4);
  platform::LetGo(*kept);
  _exit(0);
}

// Stops an overwrite of a file of `folder` at each moment of the table and kills it there.
void KillAtEachMoment(const std::string &folder) {
  const KillMoment moments[] = {
      {"link tmp", 1, Holds::Old, false, Holds::Old},
      {"write tmp", 2, Holds::Old, false, Holds::Old},  // a kept copy half made
      {"sync tmp", 1, Holds::Old, false, Holds::Old},   // the kept copy not yet on the disk
      {"sync .", 1, Holds::Old, false, Holds::Old},
      {"half written", 0, Holds::Old, false, Holds::Old},
      {"sync tmp", 2, Holds::Old, false, Holds::Old},  // the new content whole, not on the disk
      {"rename x.KDT", 1, Holds::Old, false, Holds::Old},
      {"rename x.KDT", 1, Holds::Old, true, Holds::Old},  // the kept copy comes back
      // The writer's own first unlink clears the copy of a process that had its number.
      {"unlink tmp", 2, Holds::New, false, Holds::New},
      {"unlink tmp", 2, Holds::New, true, Holds::Old},
      {"", 0, Holds::New, false, Holds::New},
  };
  Bytes oldContent(1 << 20), newContent(3 << 20);
  for (size_t i = 0; i < oldContent.size(); ++i) oldContent[i] = static_cast<unsigned char>(i * 7);
  for (size_t i = 0; i < newContent.size(); ++i) newContent[i] = static_cast<unsigned char>(i * 3);
  int row = 0;
  for (const KillMoment &moment : moments) {
    SCOPED_TRACE(std::string(moment.event) + " #" + std::to_string(moment.occurrence) +
                 (moment.operatorRemoves ? ", then the operator removes the file" : ""));
    // A folder of its own for each moment: the next run clears a folder once.
    const std::string dir = folder + "/" + std::to_string(row++);
    fs::create_directory(dir);
    const std::string path = dir + "/x.KDT";
    WriteWholeFile(path, oldContent);
    // Names the next run must leave: the operator's own, a file this running process is
    // writing, and one of a writer on another computer.
    const std::string running =
        fs::path(platform::HiddenSiblingName(path, platform::SiblingKind::NewContent)).filename();
    const std::string mine =
        fs::path(platform::HiddenSiblingName(path, platform::SiblingKind::KeptContent)).filename();
    const std::string elsewhere = WithWriterChanged(mine, "-old-", '0');
    std::set<std::string> lasting = {"x.KDT",
                                     ".x.KDT.k3j9x2",
                                     ".x.KDT.quenda-tmp",
                                     "x.KDT.quenda-tmp-" + mine.substr(mine.rfind("-old-") + 5),
                                     running,
                                     elsewhere};
    for (const std::string &name : lasting) {
      if (name != "x.KDT") WriteWholeFile(dir + "/" + name, {'k'});
    }
    // A kept copy of an earlier process of this number, which started at another moment.
    const std::string reused = WithWriterChanged(mine, "-" + std::to_string(getpid()) + "-", '9');
    WriteWholeFile(dir + "/" + reused, {'r'});

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) OverwriteInChild(dir, path, newContent, moment);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
    const Bytes expected = moment.holds == Holds::Old ? oldContent : newContent;
    if (moment.event[0] != '\0') {
      ASSERT_TRUE(WIFSTOPPED(status)) << "the writer ran past the moment: " << status;
      EXPECT_TRUE(ReadWholeFile(path) == expected) << "while the writer stands";
      kill(child, SIGKILL);
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFSIGNALED(status));
    } else {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_TRUE(ReadWholeFile(path) == expected) << "after the kill";
    if (moment.operatorRemoves) fs::remove(path);

    // The next run that writes into the folder.
    ASSERT_TRUE(platform::WriteFileAtomically(dir + "/later.txt", "later"));
    lasting.insert("later.txt");
    EXPECT_EQ(NamesIn(dir), lasting);
    const Bytes after = moment.holdsAfterNextRun == Holds::Old ? oldContent : newContent;
    EXPECT_TRUE(ReadWholeFile(path) == after) << "after the next run";
  }
}

TEST(ReplaceSafety, KilledOverwriteWithoutHardLinksLeavesOldOrNewAndTheNextRunClearsUp) {
  test_support::TempFolder folder;
  KillAtEachMoment(folder.Path());
}

// Without hard links the kept copy serves a run's end as a link does: put back, the old content
// with its mode is under the name again; let go, the new content stays; nothing else is left.
TEST(ReplaceSafety, KeptCopyIsPutBackOrLetGo) {
  test_support::TempFolder dir;
  const std::string path = dir.File("x.KDT");
  test_support::SyncLog log(dir.Path());
  log.FailLinks(EOPNOTSUPP);
  for (const bool cancelled : {true, false}) {
    WriteWholeFile(path, {'o', 'l', 'd'});
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::optional<platform::KeptFile> kept = platform::KeepFile(path);
    ASSERT_TRUE(kept.has_value());
    ASSERT_TRUE(platform::WriteFileAtomically(path, "new"));
    EXPECT_TRUE(cancelled ? platform::PutBack(*kept) : platform::LetGo(*kept));
    EXPECT_TRUE(ReadWholeFile(path) == (cancelled ? Bytes{'o', 'l', 'd'} : Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"x.KDT"});
  }
}

// The same on a real memory-card file system, where the machine can make one.
TEST(ReplaceSafety, KilledOverwriteOnVfat) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a vfat image needs root";
  std::ifstream known("/proc/filesystems");
  const std::string kinds((std::istreambuf_iterator<char>(known)), {});
  if (kinds.find("vfat") == std::string::npos)
    GTEST_SKIP() << "this system's kernel has no vfat file system";
  if (std::system("command -v mkfs.vfat >/dev/null") != 0)
    GTEST_SKIP() << "mkfs.vfat (dosfstools) is not installed";
  test_support::TempFolder place;
  const std::string image = place.File("card.img"), mountPoint = place.File("card");
  fs::create_directory(mountPoint);
  const std::string make = "truncate -s 64M " + image + " && mkfs.vfat -q " + image;
  ASSERT_EQ(std::system(make.c_str()), 0);
  if (std::system(("mount -o loop -t vfat " + image + " " + mountPoint).c_str()) != 0)
    GTEST_SKIP() << "this machine does not let a vfat image be mounted";
  KillAtEachMoment(mountPoint);
  EXPECT_EQ(std::system(("umount " + mountPoint).c_str()), 0);
}

// A write that fails only at its end, its last buffered bytes or the close, fails: the settings
// file and a kept copy stay byte-identical and nothing else is left in the folder.
TEST(ReplaceSafety, WriteFailingAtItsEndLeavesTheOldFile) {
  const std::string old = "[Quenda]\nSourceKey=" + std::string(3000, 'f') + "\n[Other]\nA=1\n";
  {
    // Less room than the file: every byte fits the stream's buffer and fails only at its flush.
    test_support::SmallDisk disk(64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    const std::string path = disk.File("Quenda.ini");
    WriteWholeFile(path, Bytes(old.begin(), old.end()));
    disk.FillLeaving(0);
    const auto before = disk.Contents();
    EXPECT_FALSE(
        platform::ReplaceIniSection(path, "Quenda", {"SourceKey=" + std::string(3000, 'g')}));
    EXPECT_EQ(disk.Contents(), before);
  }
  {
    // The last bytes written, and the close then failing, as a network disk reports them.
    test_support::TempFolder dir;
    const std::string path = dir.File("Quenda.ini");
    WriteWholeFile(path, Bytes(old.begin(), old.end()));
    test_support::SyncLog log(dir.Path());
    log.FailCloseOf("tmp");
    EXPECT_FALSE(platform::ReplaceIniSection(path, "Quenda", {"SourceKey=new"}));
    EXPECT_TRUE(ReadWholeFile(path) == Bytes(old.begin(), old.end()));
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"Quenda.ini"});
  }
}

}  // namespace
