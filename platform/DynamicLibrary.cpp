#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

void ReportFailure(const char *what) {
  const char *reason = dlerror();
  std::fprintf(stderr, "Quenda: %s: %s\n", what, reason != nullptr ? reason : "unknown error");
}

// Why the entry at `path` is no file to load, or null when it is a regular file.
const char *NotALibraryFile(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISREG(info.st_mode)) return nullptr;
  if (S_ISDIR(info.st_mode)) return "a folder, not a library file";
  if (S_ISFIFO(info.st_mode)) return "a FIFO, not a library file";
  return "not a regular file";
}

}  // namespace

void *OpenLibrary(const std::string &path) {
  if (const char *why = NotALibraryFile(path)) {
    std::fprintf(stderr, "Quenda: skipped %s: %s\n", path.c_str(), why);
    return nullptr;
  }
  void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) ReportFailure("cannot load library");
  return library;
}

void *FindExport(void *library, const char *name) {
  dlerror();  // clear a stale error so the report below belongs to this lookup
  void *address = dlsym(library, name);
  if (address == nullptr) ReportFailure("missing export");
  return address;
}

void CloseLibrary(void *library) {
  if (library != nullptr && dlclose(library) != 0) ReportFailure("cannot release library");
}

}  // namespace platform
