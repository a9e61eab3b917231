// What a test program leaves behind must go however it ends: its temporary folders and the
// processes it started (its private X server). A normal end, passed or failed, removes them in
// destructors. For the ends a program does not reach normally (a crash, an abort, a kill by
// SIGTERM or SIGINT, its own time limit) the folders and processes are registered here, and
// handlers of those signals remove them before the program dies of the signal it got.
//
// The handlers use only calls that are safe in a signal handler: no allocation, no locks; the
// registry is fixed-size and filled on the main thread.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace test_support {

namespace exit_cleanup {

constexpr int kSlots = 16;
constexpr size_t kPathBytes = 4096;

struct Folder {
  std::atomic<bool> used{false};
  char path[kPathBytes];
};
inline Folder g_folders[kSlots];
inline std::atomic<pid_t> g_processes[kSlots];
// What the program was doing, for the line written when it dies (the running test's name).
inline char g_doing[512];
inline std::atomic<bool> g_bCleaned{false};

inline void Write(const char *text) {
  const ssize_t ignored = write(STDERR_FILENO, text, strlen(text));
  (void)ignored;
}

// Removes name in folder fd with everything below it. A folder whose entries were removed is
// read again from its start, as removing entries while reading a folder may skip some.
inline void RemoveTreeAt(int fd, const char *name, int depth) {
  if (unlinkat(fd, name, 0) == 0 || depth > 32) return;
  const int dir = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return;
  alignas(struct dirent64) char buffer[8192];
  for (bool removed = true; removed;) {
    removed = false;
    lseek(dir, 0, SEEK_SET);
    for (ssize_t got; (got = getdents64(dir, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < got;) {
        const auto *entry = reinterpret_cast<const struct dirent64 *>(buffer + at);
        at += entry->d_reclen;
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
        RemoveTreeAt(dir, entry->d_name, depth + 1);
        removed = true;
      }
    }
  }
  close(dir);
  unlinkat(fd, name, AT_REMOVEDIR);
}

// Ends the registered processes and removes the registered folders, once.
inline void CleanUpNow() {
  if (g_bCleaned.exchange(true)) return;
  for (auto &pid : g_processes) {
    if (const pid_t p = pid.exchange(0); p > 0) kill(p, SIGTERM);
  }
  for (Folder &folder : g_folders) {
    if (folder.used.exchange(false)) RemoveTreeAt(AT_FDCWD, folder.path, 0);
  }
}

constexpr int kHandled[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT,
                            SIGTERM, SIGINT, SIGHUP, SIGALRM};
// The handlers that were there before (the default, or a sanitizer's), by signal.
inline struct sigaction g_previous[NSIG];

inline void OnFatalSignal(int signal, siginfo_t *info, void *) {
  Write("\n*** ");
  Write(signal == SIGALRM ? "time limit reached" : strsignal(signal));
  if (g_doing[0] != '\0') {
    Write(" during ");
    Write(g_doing);
  }
  Write("; temporary folders and started processes removed\n");
  CleanUpNow();
  // The signal goes on to the handler that was there before: a fault of the program itself
  // recurs when the handler returns, with its own address for a sanitizer to report; a signal
  // sent is sent again.
  sigaction(signal, &g_previous[signal], nullptr);
  const bool fault = signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL;
  if (!fault || info == nullptr || info->si_code <= 0) raise(signal);
}

inline void InstallHandlersOnce() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : kHandled) sigaction(signal, &action, &g_previous[signal]);
    // An exit() from deep inside (a library giving up) skips the destructors as well.
    atexit([] { CleanUpNow(); });
    return true;
  }();
  (void)installed;
}

}  // namespace exit_cleanup

// Registers a folder to be removed if the program dies; false when the registry is full.
inline bool RemoveOnAbnormalEnd(const std::string &folder) {
  using namespace exit_cleanup;
  InstallHandlersOnce();
  if (folder.empty() || folder.size() >= kPathBytes) return false;
  for (Folder &slot : g_folders) {
    if (slot.used.load()) continue;
    memcpy(slot.path, folder.c_str(), folder.size() + 1);
    slot.used.store(true);
    return true;
  }
  return false;
}

// The folder has been removed by its owner.
inline void ForgetFolder(const std::string &folder) {
  for (exit_cleanup::Folder &slot : exit_cleanup::g_folders) {
    if (slot.used.load() && folder == slot.path) slot.used.store(false);
  }
}

// Registers a started process to be ended (SIGTERM) if the program dies.
inline void EndOnAbnormalEnd(pid_t pid) {
  exit_cleanup::InstallHandlersOnce();
  for (auto &slot : exit_cleanup::g_processes) {
    pid_t free = 0;
    if (slot.compare_exchange_strong(free, pid)) return;
  }
}

// The process has been ended by its owner.
inline void ForgetProcess(pid_t pid) {
  for (auto &slot : exit_cleanup::g_processes) {
    pid_t expected = pid;
    slot.compare_exchange_strong(expected, 0);
  }
}

// Names what the program does now, for the line written if it dies (empty: nothing).
inline void SetDoing(const std::string &what) {
  const size_t n = std::min(what.size(), sizeof exit_cleanup::g_doing - 1);
  exit_cleanup::g_doing[n] = '\0';
  memcpy(exit_cleanup::g_doing, what.data(), n);
}

}  // namespace test_support
