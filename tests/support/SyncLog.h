// What a test program asks of the disk while a SyncLog watches a folder: the C library's fsync,
// fdatasync, sync_file_range, rename, link, unlink, write and fclose are replaced in the program
// that links SyncLog.cpp (the plug-ins it loads call them too, as the program exports its
// symbols), and each call on a path in the folder is logged, in order, as "<what> <name> <mark>"
// (the calls other than waits for the disk and renames only after LogAllCalls):
//   what  "sync" (fsync or fdatasync: a wait for the disk), "start" (writeback started without a
//         wait), "rename" (a file renamed to the name), "link" (a hard link made under the name),
//         "unlink", "write" (bytes written by a direct write call), "close" (a stream closed);
//   name  the path below the folder, "." for the folder itself, "tmp" for a hidden file;
//   mark  what the test's mark function says at that moment (a task's progress, say).
// Calls the C library makes inside its own functions (a stream's writes) are not seen.
// A sync of a chosen name, or the next rename to one, can be made to fail with EIO, as a disk that
// has gone away fails it; the close of a stream too, after the stream has been closed; links can be
// refused, as a file system without them refuses them; and the process can be stopped (SIGSTOP)
// just before a chosen call, for a test to kill it there.
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
  // From now on, links, unlinks, writes and closes are logged too.
  void LogAllCalls();
  // From now on, every close of a stream on name (as logged) fails with EIO, after the real
  // close.
  void FailCloseOf(std::string name);
  // From now on, every link into the folder fails with `error`, after being logged.
  void FailLinks(int error);
  // The process stops itself just before the `occurrence`-th (from 1) call on the folder that
  // is, or would be, logged as `event` ("<what> <name>").
  void StopBefore(std::string event, int occurrence);
  // The next rename to name (as logged) fails with EIO, after being logged.
  void FailNextRenameTo(std::string name);
  // The calls logged so far.
  std::vector<std::string> Events() const;
  void Clear();
};

}  // namespace test_support
