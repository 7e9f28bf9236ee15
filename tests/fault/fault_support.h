// What the fault tests share: a scratch directory per test, files in and out, code page 932 text
// by its bytes, and simulated failures of the file system (a full disk, a directory that refuses
// new files) that work for root as well as for other users.
#pragma once
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/common.h"

namespace qortest {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qorfault-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

using qorfuzz::ReadFile;  // the whole file, or nothing when it cannot be opened

// The names in a directory, sorted.
inline std::vector<std::string> Listing(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A full disk while it lives: every write to a file past `bytes` fails (RLIMIT_FSIZE, which binds
// root too; the signal it raises is ignored, so the write returns EFBIG as on a full disk).
class FullDisk {
 public:
  explicit FullDisk(rlim_t bytes = 0) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedSignal_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, savedSignal_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit saved_{};
  sighandler_t savedSignal_ = SIG_DFL;
};

// Whether a directory's permission bits stop this process from creating files in it: not for
// root, whom they do not bind.
inline bool PermissionsBind() { return geteuid() != 0; }

}  // namespace qortest
