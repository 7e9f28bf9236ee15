#include "host/log_store.h"

#include <sys/stat.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "platform/file.h"

namespace host {
namespace {

// A log of a million lines fills tens of MiB at once. Asking for huge pages for such a buffer
// before it is first written saves thousands of page faults, which cost more than the copying.
void PreferHugePages(const void* start, size_t size) {
#if defined(__linux__)
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + size) & ~(kHugePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)start, (void)size;
#endif
}

}  // namespace

LogStore::LogStore(std::string_view fileBytes) {
  // Sized once: each line takes its text and two bytes, and may have lost only its LF.
  const size_t lines = static_cast<size_t>(std::count(fileBytes.begin(), fileBytes.end(), '\n')) + 1;
  bytes_.reserve(fileBytes.size() + lines + 1);
  offsets_.reserve(lines);
  PreferHugePages(bytes_.data(), bytes_.capacity());
  PreferHugePages(offsets_.data(), offsets_.capacity() * sizeof offsets_[0]);
  size_t start = 0;
  while (start < fileBytes.size()) {
    size_t end = fileBytes.find('\n', start);
    if (end == std::string_view::npos) {
      AddLine(fileBytes.substr(start));  // trailing text without LF, known to be non-empty
      break;
    }
    size_t textEnd = end;
    if (textEnd > start && fileBytes[textEnd - 1] == '\r') --textEnd;
    AddLine(fileBytes.substr(start, textEnd - start));
    start = end + 1;
  }
  if (offsets_.empty()) AddLine({});
  attributes_.reserve(offsets_.size() + 1 + kAppendRoom);
  attributes_.resize(offsets_.size() + 1, 0);
}

void LogStore::AddLine(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  offsets_.push_back(bytes_.size());
  bytes_ += '\0';  // attribute byte, filled in when the line is handed out
  bytes_ += text;
  bytes_ += '\0';
}

const char* LogStore::StoredLine(LinePosition position) {
  static char emptyLine[2] = {0, 0};
  if (!Holds(position)) return emptyLine;
  char* line = bytes_.data() + offsets_[position - 1];
  line[0] = static_cast<char>(attributes_[position]);
  return line;
}

unsigned char LogStore::Attribute(LinePosition position) const {
  return Holds(position) ? attributes_[position] : 0;
}

void LogStore::SetAttribute(LinePosition position, unsigned char attribute) {
  if (Holds(position)) attributes_[position] = attribute;
}

LinePosition LogStore::Append(std::string_view text, unsigned char attribute) {
  if (!CanAppend()) throw std::length_error("the log has no room for another line");
  AddLine(text);
  attributes_.push_back(attribute);
  return LastPosition();
}

LinePosition LogStore::DiscardOldest() {
  if (HeldCount() <= 1) throw std::logic_error("the log keeps at least one line");
  LinePosition dropped = firstHeld_++;
  attributes_[dropped] = 0;
  return dropped;
}

LogStore LoadLogFile(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw std::runtime_error("cannot read log " + path + ": " + std::strerror(errno));
  // A file's size is known up front (a pipe's is not): it is read in one go into one buffer, which
  // then grows only if the file did.
  std::string bytes;
  struct stat status {};
  if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    bytes.reserve(static_cast<size_t>(status.st_size));
    PreferHugePages(bytes.data(), bytes.capacity());
    bytes.resize(static_cast<size_t>(status.st_size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  }
  if (!platform::ReadToEnd(file.get(), bytes)) {
    throw std::runtime_error("cannot read log " + path + ": " + std::strerror(errno));
  }
  return LogStore(bytes);
}

}  // namespace host
