#include "cli/cleanup.h"

#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace cli {
namespace {

// Fixed slots: the handler may only read memory that is never reallocated.
constexpr int kSlots = 8;
constexpr size_t kPathSize = 4096;
char watched[kSlots][kPathSize];
volatile sig_atomic_t inUse[kSlots];

#ifndef _WIN32
// Only system calls here (the handler may interrupt anything): the directory's entries are read
// with getdents64 and unlinked, then the directory itself is removed. The directories are flat:
// profile files, the export, the add-in's temporary and lock files.
void RemoveNow(const char* path) {
  const int directory = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (directory >= 0) {
    alignas(8) char buffer[4096];
    long count;
    while ((count = syscall(SYS_getdents64, directory, buffer, sizeof buffer)) > 0) {
      for (long at = 0; at < count;) {
        struct Entry {
          unsigned long long inode;
          long long offset;
          unsigned short length;
          unsigned char type;
          char name[1];
        };
        const auto* entry = reinterpret_cast<const Entry*>(buffer + at);
        at += entry->length;
        if (std::strcmp(entry->name, ".") == 0 || std::strcmp(entry->name, "..") == 0) continue;
        if (unlinkat(directory, entry->name, 0) != 0) unlinkat(directory, entry->name, AT_REMOVEDIR);
      }
    }
    close(directory);
  }
  rmdir(path);
}

extern "C" void RemoveAndDie(int signal) {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (inUse[slot]) RemoveNow(watched[slot]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
#endif

}  // namespace

void InstallCleanupHandlers() {
#ifndef _WIN32
  struct sigaction action {};
  action.sa_handler = RemoveAndDie;
  sigemptyset(&action.sa_mask);
  // The signals that end a program by default: an interrupt, a closed terminal or pipe, a file
  // grown past its limit.
  constexpr int kEnding[] = {SIGINT, SIGTERM, SIGPIPE, SIGHUP, SIGQUIT, SIGXFSZ};
  for (int signal : kEnding) sigaddset(&action.sa_mask, signal);
  for (int signal : kEnding) sigaction(signal, &action, nullptr);
#endif
  // Windows: the test host korvik.exe runs these commands; its console's Ctrl+C is left alone.
}

void WatchTemporaryDirectory(const std::string& path) {
  if (path.size() >= kPathSize) return;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (inUse[slot]) continue;
    std::memcpy(watched[slot], path.c_str(), path.size() + 1);
    inUse[slot] = 1;
    return;
  }
}

void ForgetTemporaryDirectory(const std::string& path) {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (inUse[slot] && path == watched[slot]) inUse[slot] = 0;
  }
}

}  // namespace cli
