#include "platform/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/sim/desktop_internal.h"

namespace platform {

InputFile::~InputFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool InputFile::Open(const std::string& path) {
  if (handle_ >= 0) return false;
  const int fd = simdesk::seam::OpenRegularFile(path);
  struct stat status {};
  if (fd < 0) return false;
  handle_ = fd;
  if (fstat(fd, &status) != 0) return false;
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
  simdesk::seam::FileReplacement replacement;
};

FileReplacement::FileReplacement() : state_(std::make_unique<State>()) {}
FileReplacement::~FileReplacement() = default;

bool FileReplacement::Begin(const std::string& target) { return state_->replacement.Begin(target); }
bool FileReplacement::Write(const void* bytes, std::size_t count) { return state_->replacement.Write(bytes, count); }
bool FileReplacement::Commit() { return state_->replacement.Commit(); }

}  // namespace platform
