// What a test program asks of the disk while a SyncLog watches a folder: the C library's fsync,
// fdatasync, sync_file_range and rename are replaced in the program that links SyncLog.cpp (the
// plug-ins it loads call them too, as the program exports its symbols), and each call on a path
// in the folder is logged, in order, as "<what> <name> <mark>":
//   what  "sync" (fsync or fdatasync: a wait for the disk), "start" (writeback started without a
//         wait), "rename" (a file renamed to the name);
//   name  the path below the folder, "." for the folder itself, "tmp" for a hidden temporary;
//   mark  what the test's mark function says at that moment (a task's progress, say).
// A sync of a chosen name, or a rename to one, can be made to fail with EIO, as a disk that has
// gone away fails it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace test_support {

class SyncLog {
 public:
  // Watches folder (no trailing separator) from now until destruction; one log at a time.
  explicit SyncLog(std::string folder, std::function<int()> mark = {});
  ~SyncLog();
  SyncLog(const SyncLog &) = delete;
  SyncLog &operator=(const SyncLog &) = delete;

  // From now on, every sync of name (as logged) fails with EIO, after being logged.
  void FailSyncOf(std::string name);
  // The next rename to name (as logged) fails with EIO, after being logged.
  void FailNextRenameTo(std::string name);
  // The calls logged so far.
  std::vector<std::string> Events() const;
  void Clear();
};

}  // namespace test_support
