// The files a run has written, made durable together once the run is done: each file's content
// and then each folder's entries reach the disk, one wait for the whole run instead of one per
// file. An operator who is shown the run's result and then pulls the disk finds every file on it.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace platform {

class DurableTargets {
 public:
  // Records a file written in full (its name in place). A symbolic link counts as the file it
  // names, in the folder that file lies in, as the writers write through links. A file written
  // again is recorded once.
  void Add(const std::string &path);

  // Syncs every recorded file, in the order recorded, and then every folder they lie in, once
  // each; the record is empty afterwards. None when all reached the disk, else the first file
  // that did not, or that lies in a folder that did not; nothing after it is synced.
  std::optional<std::string> SyncAll();

 private:
  struct Target {
    std::string path;    // as the writer was given it
    std::string folder;  // of the file it finally names
  };
  std::vector<Target> m_targets;
  std::unordered_set<std::string> m_recorded;  // the paths of m_targets, looked up per write
};

// Makes the entries of `folder` durable: true when they reached the disk, or the file system
// keeps no separate record of them.
bool SyncFolder(const std::string &folder);

}  // namespace platform
