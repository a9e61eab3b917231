// A folder on a disk of its own that holds only a few bytes (a tmpfs mounted for one test), to
// watch writers run out of room; and a call made with a time limit, for opens that might wait for
// ever on a FIFO. Only root can mount: a test that needs the disk skips elsewhere, saying why.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace test_support {

class SmallDisk {
 public:
  explicit SmallDisk(size_t bytes) {
    if (geteuid() != 0) {
      m_whyNot = "a full disk is made by mounting a small tmpfs, which needs root";
      return;
    }
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tmpfs", m_folder.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) !=
        0) {
      m_whyNot = std::string("cannot mount a small tmpfs: ") + std::strerror(errno);
      return;
    }
    m_mounted = true;
  }
  ~SmallDisk() {
    if (m_mounted) umount2(m_folder.Path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk &) = delete;
  SmallDisk &operator=(const SmallDisk &) = delete;

  bool Mounted() const { return m_mounted; }
  const std::string &WhyNot() const { return m_whyNot; }
  std::string Folder() const { return m_folder.Folder(); }
  std::string File(const std::string &name) const { return m_folder.File(name); }

  // Takes up the disk's room with a file "filler" so that `freeBytes` (a multiple of the page
  // size) stay free.
  void FillLeaving(uint64_t freeBytes) {
    struct statvfs disk;
    ASSERT_EQ(statvfs(m_folder.Path().c_str(), &disk), 0);
    const uint64_t available = uint64_t{disk.f_bavail} * disk.f_frsize;
    ASSERT_GE(available, freeBytes);
    const int fd = open(File("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ASSERT_GE(fd, 0);
    const std::vector<char> zeros(available - freeBytes);
    EXPECT_EQ(write(fd, zeros.data(), zeros.size()), static_cast<ssize_t>(zeros.size()));
    close(fd);
  }

  // Every entry of the folder, hidden ones included, with the bytes of each.
  std::map<std::string, std::vector<unsigned char>> Contents() const {
    std::map<std::string, std::vector<unsigned char>> contents;
    for (const auto &entry : std::filesystem::directory_iterator(m_folder.Path()))
      contents[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
    return contents;
  }

 private:
  TempFolder m_folder;
  bool m_mounted = false;
  std::string m_whyNot;
};

// Makes `call` and tells whether it returned within a second. A call still waiting on the FIFO
// `fifo` is then released by opening the FIFO's other end, so the test fails instead of hanging.
template <typename Call>
bool ReturnsAtOnce(const std::string &fifo, Call call) {
  auto done = std::async(std::launch::async, call);
  if (done.wait_for(std::chrono::seconds(1)) == std::future_status::ready) return true;
  while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    const int writer = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    if (writer >= 0) close(writer);
  }
  return false;
}

}  // namespace test_support
