#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include <cstdio>

namespace platform {
namespace {

void ReportFailure(const char *what) {
  const char *reason = dlerror();
  std::fprintf(stderr, "Quenda: %s: %s\n", what, reason != nullptr ? reason : "unknown error");
}

}  // namespace

void *OpenLibrary(const std::string &path) {
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
