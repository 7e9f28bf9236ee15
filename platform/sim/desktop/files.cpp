// Reading and replacing files the way the Windows seam does it with kernel32, on POSIX calls.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "platform/file.h"
#include "platform/sim/desktop/ansi_text.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

struct FileReplacementAccess {
  static bool Begin(FileReplacement& replacement, const std::string& nativePath);
};

}  // namespace platform

namespace desktop::seam {

namespace {

// Twelve letters or digits from the kernel's random source (the clock when that fails).
std::string RandomName() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[12];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<unsigned long long>(getpid()) << 32);
    for (unsigned char& byte : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<unsigned char>(seed >> 56);
    }
  }
  std::string name;
  for (const unsigned char byte : bytes) name += kLetters[byte % (sizeof kLetters - 1)];
  return name;
}

bool WriteAll(int fd, const char* bytes, std::size_t count, off_t at) {
  while (count > 0) {
    const ssize_t done = pwrite(fd, bytes, count, at);
    if (done <= 0) return false;
    bytes += done;
    count -= static_cast<std::size_t>(done);
    at += done;
  }
  return true;
}

// Copies bytes [from, to) of `source` to the same place in `target`.
bool CopyRange(int source, int target, off_t from, off_t to) {
  char buffer[1 << 16];
  while (from < to) {
    const std::size_t want = static_cast<std::size_t>(std::min<off_t>(to - from, sizeof buffer));
    const ssize_t got = pread(source, buffer, want, from);
    if (got <= 0 || !WriteAll(target, buffer, static_cast<std::size_t>(got), from)) return false;
    from += got;
  }
  return true;
}

}  // namespace

int OpenRegularFile(const std::string& path, struct stat* opened) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  // Non-blocking, in case the name was replaced by a FIFO since the look. On the regular file it
  // then has to be, the flag changes nothing, so it stays.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return -1;
  }
  if (opened) *opened = status;
  return fd;
}

// The desktop's own files (the profile files) are named in the file system's UTF-8 already.
bool ReplaceFileContent(const std::string& path, const std::string& content) {
  platform::FileReplacement replacement;
  return platform::FileReplacementAccess::Begin(replacement, path) &&
         replacement.Write(content.data(), content.size()) && replacement.Commit();
}

}  // namespace desktop::seam

namespace platform {

using desktop::seam::WriteAll;
using desktop::seam::CopyRange;
using desktop::seam::RandomName;

InputFile::~InputFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool InputFile::Open(const std::string& path) {
  if (handle_ >= 0) return false;
  struct stat status {};
  const int fd = desktop::seam::OpenRegularFile(desktop::detail::NativePathFromAnsi(path), &status);
  if (fd < 0) return false;
  handle_ = fd;
  size_ = static_cast<uint64_t>(status.st_size);
  return true;
}

bool InputFile::Read(void* into, std::size_t count) {
  if (handle_ < 0 || count > size_ - position_) return false;
  auto* bytes = static_cast<char*>(into);
  while (count > 0) {
    const ssize_t got = pread(static_cast<int>(handle_), bytes, count, static_cast<off_t>(position_));
    if (got <= 0) return false;
    bytes += got;
    count -= static_cast<std::size_t>(got);
    position_ += static_cast<uint64_t>(got);
  }
  return true;
}

bool InputFile::Skip(uint64_t count) {
  if (handle_ < 0 || count > size_ - position_) return false;
  position_ += count;
  return true;
}

struct FileReplacement::State {
  bool CopyInPlace();
  std::string target;     // the file itself, links resolved
  std::string temporary;  // empty when there is none
  int fd = -1;
};

FileReplacement::FileReplacement() : state_(std::make_unique<State>()) {}

FileReplacement::~FileReplacement() {
  if (state_->fd >= 0) close(state_->fd);
  if (!state_->temporary.empty()) unlink(state_->temporary.c_str());
}

// A path the add-in names, in code page 932.
bool FileReplacement::Begin(const std::string& target) {
  return FileReplacementAccess::Begin(*this, desktop::detail::NativePathFromAnsi(target));
}

bool FileReplacementAccess::Begin(FileReplacement& replacement, const std::string& target) {
  FileReplacement::State* const state_ = replacement.state_.get();
  state_->target = target;
  struct stat status {};
  if (lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    char resolved[PATH_MAX];
    if (!realpath(target.c_str(), resolved)) return false;  // a link to nothing is not followed
    state_->target = resolved;
  }
  const bool exists = stat(state_->target.c_str(), &status) == 0;
  if (exists ? !S_ISREG(status.st_mode) : errno != ENOENT) return false;
  // Beside the file itself, so the final move stays on its file system; a short name of its own,
  // so a target name near the longest allowed still leaves room for it.
  // Owner-only while it is written over an existing file, whose mode it takes at the end; a new
  // file gets the mode every new file gets.
  const mode_t mode = exists ? 0600 : 0666;
  const std::size_t slash = state_->target.rfind('/');
  const std::string directory = slash == std::string::npos ? std::string() : state_->target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = directory + ".~" + RandomName() + ".tmp";
    // O_EXCL: a name that exists in any form, a planted link included, is never opened.
    state_->fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (state_->fd >= 0) {
      state_->temporary = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool FileReplacement::Write(const void* bytes, std::size_t count) {
  if (state_->fd < 0) return false;
  const off_t at = lseek(state_->fd, 0, SEEK_END);
  return at >= 0 && WriteAll(state_->fd, static_cast<const char*>(bytes), count, at);
}

// Writes the temporary file's content over the target's own bytes. The part beyond the old end
// goes first: when that fails for want of room, the old size comes back and nothing has changed.
// The rest overwrites bytes the file already holds, which takes no new room.
bool FileReplacement::State::CopyInPlace() {
  const int file = open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) return false;
  struct stat status {};
  const off_t size = lseek(fd, 0, SEEK_END);
  bool ok = fstat(file, &status) == 0 && S_ISREG(status.st_mode) && size >= 0;
  const off_t old = ok ? status.st_size : 0;
  if (ok && size > old && !CopyRange(fd, file, old, size)) {
    ok = false;
    if (ftruncate(file, old) != 0) {
      // The old bytes are untouched; only the length is off, which nothing more can mend here.
    }
  }
  ok = ok && CopyRange(fd, file, 0, std::min(size, old)) && (size >= old || ftruncate(file, size) == 0);
  return close(file) == 0 && ok;
}

bool FileReplacement::Commit() {
  if (state_->fd < 0) return false;
  struct stat status {};
  bool ok = true;
  if (stat(state_->target.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return false;
    if (status.st_nlink > 1) {
      ok = state_->CopyInPlace();
      close(state_->fd);
      state_->fd = -1;
      return ok;  // the destructor removes the temporary file
    }
    // The owner first: changing it may clear the set-ID bits that the mode then restores.
    if (fchown(state_->fd, status.st_uid, status.st_gid) != 0 && fchown(state_->fd, static_cast<uid_t>(-1), status.st_gid) != 0) {
      // Not allowed to give the file away: it stays the writer's, as any new file would.
    }
    ok = fchmod(state_->fd, status.st_mode & 07777) == 0;
  }
  ok = close(state_->fd) == 0 && ok;
  state_->fd = -1;
  if (!ok || rename(state_->temporary.c_str(), state_->target.c_str()) != 0) return false;
  state_->temporary.clear();
  return true;
}

}  // namespace platform
