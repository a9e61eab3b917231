// Writing a file so that it appears whole or not at all. The bytes go to a hidden temporary file
// in the target's folder, which replaces the target by a rename only once every byte has been
// written and the file closed without error. Until then, and whenever anything fails, the folder
// holds what it held before: the old file of that name untouched, no partial file left behind.
//
// The wait for the disk is paid only where a crash could cost the operator something: new
// content that replaces a non-empty file is on the disk before the rename, so a crash leaves the
// old file or the new one, never an empty one. A new file only has its writeback started; whoever
// wrote a set of new files makes them durable together afterwards (see DurableTargets.h).
#pragma once

#include <cstdio>
#include <string>

namespace platform {

class AtomicFile {
 public:
  // Creates the temporary file for `path` (HiddenSibling.h), after clearing what killed runs
  // left in its folder (Leftovers.h). A target that is a symbolic link is written through
  // to the file the link names, and the link stays. The file is not opened (Stream() is null)
  // when its folder does not take the temporary, or when the target exists but is not a regular
  // file or is read-only (no write permission for anyone, or none for this user).
  explicit AtomicFile(const std::string &path);
  // Removes the temporary file unless Commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile &) = delete;
  AtomicFile &operator=(const AtomicFile &) = delete;

  // The stream to write the new content to, binary, or null when the file could not be opened.
  FILE *Stream() const { return m_stream; }

  // Flushes and closes the stream: true when every byte has been handed to the system, and, for
  // content that replaces a non-empty file, is on the disk. The target is not touched yet, so
  // files that replace others together are all closed before the first is committed.
  bool Close();

  // Closes the stream, if still open, and renames the temporary file over the target. False
  // when any of this failed; the temporary file is then gone and the target unchanged.
  bool Commit();

 private:
  void Discard();

  std::string m_target;     // the file replaced, links resolved
  std::string m_temporary;  // empty once renamed or removed
  FILE *m_stream = nullptr;
  bool m_replacesContent = false;  // the target holds bytes a crash must not turn into none
  bool m_closedWhole = false;      // Close() succeeded and nothing is committed yet
};

// Writes `bytes` as the whole content of `path` through an AtomicFile and makes it durable, file
// and folder; false when it failed.
bool WriteFileAtomically(const std::string &path, const std::string &bytes);

}  // namespace platform
