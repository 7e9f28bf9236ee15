// Private profile files (INI), read as Windows reads them (Wine's kernel32 profile.c is the
// reference) and written by editing the file's text: the one line that changes or is added ends
// with CRLF, every other byte stays as it was. A write goes through platform::FileReplacement, so a
// failed write leaves no half-written file and the file keeps its mode, owner and links.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/sim/desktop/ansi_text.h"
#include "platform/profile.h"
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace desktop {
namespace {

bool IsBlank(char c) {
  // Wine's profile blanks: C white space, and ^Z (DOS end of file).
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1a;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

using platform::IsLeadByte;

// Position of the first or last single-byte `c`, never the second byte of a double-byte character.
std::size_t FindChar(std::string_view text, char c, bool last) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) {
      found = i;
      if (!last) break;
    }
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return found;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Section and key names match without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i]))) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;
  std::optional<std::string_view> value;  // none on a line without '='
};

ParsedLine Parse(std::string_view text) {
  if (text.empty()) return {};
  if (text.front() == '[') {
    // A '[' line without ']' is read as a key line.
    const std::size_t close = FindChar(text, ']', true);
    if (close != std::string_view::npos) return {LineKind::Section, text.substr(1, close - 1), {}};
  }
  const std::size_t equals = FindChar(text, '=', false);
  if (equals == std::string_view::npos) return {LineKind::Key, text, {}};
  return {LineKind::Key, TrimRight(text.substr(0, equals)), TrimLeft(text.substr(equals + 1))};
}

struct Line {
  std::size_t begin = 0;
  std::size_t next = 0;   // where the following line begins
  std::string_view text;  // without blanks at either end or the line break
  bool hasBreak = false;
  ParsedLine parsed;  // the text read as a section, key or blank line
};

// Into `lines`, whose storage is reused: a registration reads a file a hundred times between writes.
void SplitLines(std::string_view content, std::vector<Line>& lines) {
  lines.clear();
  for (std::size_t at = 0; at < content.size();) {
    const std::size_t end = content.find('\n', at);
    const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
    const std::string_view text = Trim(content.substr(at, next - at));
    lines.push_back({at, next, text, end != std::string_view::npos, Parse(text)});
    at = next;
  }
}

// Where a key is, or where it would go. Only the first section of the name counts.
struct Location {
  bool sectionFound = false;
  const Line* keyLine = nullptr;
  ParsedLine key;
  std::size_t insertAt = 0;  // after the section's last line that is not blank
  bool insertAfterBreak = true;
};

Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Location location;
  if (section.empty()) return location;  // the lines before any section are in none
  for (const Line& line : lines) {
    const ParsedLine& parsed = line.parsed;
    if (parsed.kind == LineKind::Section) {
      if (location.sectionFound) break;
      location.sectionFound = SameName(parsed.name, section);
    } else if (parsed.kind == LineKind::Blank || !location.sectionFound) {
      continue;
    } else if (SameName(parsed.name, key)) {
      location.keyLine = &line;
      location.key = parsed;
      return location;
    }
    if (location.sectionFound) {
      location.insertAt = line.next;
      location.insertAfterBreak = line.hasBreak;
    }
  }
  return location;
}

// A value in matching double or single quotes loses them.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The path a profile file name stands for, in `path` (reused: every profile look-up asks for it).
void ProfilePath(const char* file, std::string& path) {
  path = file;
  const std::string& directory = ProfileDirectoryOf(path);
  if (path.find('/') != std::string::npos || directory.empty()) return;
  path.insert(0, 1, '/').insert(0, directory);
}

std::string ProfilePath(const char* file) {
  std::string path;
  ProfilePath(file, path);
  return path;
}

// What a profile file held when it was last read. Wine keeps the files it read last and reads one
// again only when its time stamp moved; here the file's identity, size and both times are compared
// on every use, since another program may change the file between two uses (and a listing writes
// PREVMODE each time, a registration reads QOR.INI hundreds of times). A write of this desktop's
// own forgets the file. A file whose times are not older than the moment it was read could still
// change without a change of times (a write within the same tick of the file system's clock): it
// is read again until a reading finds it older.
struct CachedProfile {
  std::string path;
  struct stat status {};
  bool trusted = false;
  std::string content;
  std::vector<Line> lines;  // views into content, which stays put while the entry lives
};

constexpr std::size_t kCachedProfiles = 4;

std::list<CachedProfile>& ProfileCache() {  // the most recently used first
  static std::list<CachedProfile> cache;
  return cache;
}

bool Before(const timespec& time, const timespec& moment) {
  return time.tv_sec < moment.tv_sec || (time.tv_sec == moment.tv_sec && time.tv_nsec < moment.tv_nsec);
}

// Whether a file described by `status`, read at `moment` (of the clock the file times come from),
// can change only with a change of its times. Times in whole seconds come from a file system that
// keeps no finer ones (and some keep two seconds): they must be older by that much.
bool TimesSettled(const struct stat& status, timespec moment) {
  if (status.st_mtim.tv_nsec == 0 && status.st_ctim.tv_nsec == 0) moment.tv_sec -= 2;
  return Before(status.st_mtim, moment) && Before(status.st_ctim, moment);
}

bool Unchanged(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

void ForgetProfile(const std::string& path) {
  ProfileCache().remove_if([&](const CachedProfile& entry) { return entry.path == path; });
}

// The profile file at `path`, which `status` describes as it is now; null when it is no regular
// file or cannot be read.
const CachedProfile* ReadFileProfile(const std::string& path, const struct stat& status) {
  if (!S_ISREG(status.st_mode)) return nullptr;
  std::list<CachedProfile>& cache = ProfileCache();
  for (auto entry = cache.begin(); entry != cache.end(); ++entry) {
    if (entry->path != path) continue;
    if (entry->trusted && Unchanged(entry->status, status)) {
      cache.splice(cache.begin(), cache, entry);
      return &cache.front();
    }
    cache.erase(entry);
    break;
  }
  timespec moment {};
  clock_gettime(CLOCK_REALTIME_COARSE, &moment);  // the clock that gives file times their value
  struct stat opened {};
  const int fd = seam::OpenRegularFile(path, &opened);
  if (fd < 0) return nullptr;
  // Only a changed file is read: the whole-file reader every host uses serves.
  FILE* file = fdopen(fd, "rb");
  if (!file) {
    close(fd);
    return nullptr;
  }
  std::string content;
  const bool read = platform::ReadToEnd(file, content);
  fclose(file);
  if (!read) return nullptr;
  cache.push_front({path, opened, TimesSettled(opened, moment), std::move(content), {}});
  SplitLines(cache.front().content, cache.front().lines);
  if (cache.size() > kCachedProfiles) cache.pop_back();
  return &cache.front();
}

// Reads an integer as Windows does: blanks, a sign, "0x" / "0o" / "0b" for another base, then
// digits up to the first other character, in 32 bits.
int ParseProfileInt(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.size() >= 2 && text[0] == '0') {
    const std::string_view prefixes = "xob";
    const unsigned bases[] = {16, 8, 2};
    if (const std::size_t at = prefixes.find(text[1]); at != std::string_view::npos) {
      base = bases[at];
      text.remove_prefix(2);
    }
  }
  uint32_t total = 0;
  for (const char c : text) {
    unsigned digit = 99;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'Z')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'z')
      digit = static_cast<unsigned>(c - 'a' + 10);
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<int>(negative ? 0u - total : total);
}

// The lines of a profile kept in memory, split again only when its bytes change: the registry's
// look-ups read one file a hundred times in a row.
const std::vector<Line>& MemoryProfileLines(const std::string& content) {
  static std::string splitContent;
  static std::vector<Line> lines;
  if (splitContent != content || (lines.empty() && !content.empty())) {
    splitContent = content;
    SplitLines(splitContent, lines);
  }
  return lines;
}

}  // namespace

std::size_t GetPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                    std::size_t size, const char* file) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  if (!section || !key || !*key || !file) return 0;
  std::string_view text = fallback ? fallback : "";
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);  // as Windows trims a default
  static const std::vector<Line> none;
  const std::vector<Line>* split = &none;
  static std::string path;  // the simulated desktop has one thread
  ProfilePath(file, path);
  struct stat status {};
  if (const auto* memory = detail::MemoryProfiles()) {
    const auto found = memory->find(path);
    if (found != memory->end()) split = &MemoryProfileLines(found->second);
  } else if (stat(path.c_str(), &status) == 0) {
    if (const CachedProfile* profile = ReadFileProfile(path, status)) split = &profile->lines;
  }
  const Location location = Locate(*split, Trim(section), Trim(key));
  if (location.keyLine && location.key.value) text = *location.key.value;
  // The ANSI profile functions work on UTF-16 inside: what they give back has been through the
  // code page, as the text of the real controls has.
  const std::size_t count = detail::ThroughAnsiCodePage(Unquoted(text), buffer, size - 1);
  buffer[count] = '\0';
  return count;
}

int GetPrivateProfileInt(const char* section, const char* key, int fallback, const char* file) {
  char buffer[30];  // Windows reads the number through a buffer of this size
  if (GetPrivateProfileString(section, key, "", buffer, sizeof buffer, file) == 0) return fallback;
  return ParseProfileInt(buffer);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* file) {
  if (!section || !key || !value || !file) return false;
  const std::string path = ProfilePath(file);
  std::string content;
  struct stat status {};
  if (const auto* memory = detail::MemoryProfiles()) {
    if (const auto found = memory->find(path); found != memory->end()) content = found->second;
  } else if (stat(path.c_str(), &status) == 0) {
    const CachedProfile* existing = ReadFileProfile(path, status);
    if (!existing || access(path.c_str(), W_OK) != 0) return false;
    content = existing->content;
  }
  // The ANSI functions pass the text on in UTF-16: what is written comes out as the code page
  // gives it back. (The real functions write the whole file back that way; the rest of the file
  // is kept here as it was.)
  const std::string section932 = detail::ThroughAnsiCodePage(section);
  const std::string key932 = detail::ThroughAnsiCodePage(key);
  const std::string value932 = detail::ThroughAnsiCodePage(value);
  const std::string_view sectionName = Trim(section932);
  const std::string_view keyName = Trim(key932);
  const std::string_view newValue = TrimLeft(value932);
  std::vector<Line> lines;
  SplitLines(content, lines);
  const Location location = Locate(lines, sectionName, keyName);
  const std::string keyLine =
      std::string(location.keyLine ? location.key.name : keyName) + "=" + std::string(newValue) + "\r\n";
  if (location.keyLine) {
    if (location.key.value == newValue) return true;  // unchanged: the file is left alone
    content.replace(location.keyLine->begin, location.keyLine->next - location.keyLine->begin, keyLine);
  } else if (location.sectionFound) {
    content.insert(location.insertAt, (location.insertAfterBreak ? "" : "\r\n") + keyLine);
  } else {
    if (!content.empty() && content.back() != '\n') content += "\r\n";
    content += "[" + std::string(sectionName) + "]\r\n" + keyLine;
  }
  if (auto* memory = detail::MemoryProfiles()) {
    (*memory)[path] = content;
    return true;
  }
  ForgetProfile(path);
  return seam::ReplaceFileContent(path, content);
}

namespace {

// The lock is on the directory that holds the file (a link followed), so it leaves no file behind.
// -1 when it could not be had within `seconds`.
int LockProfile(const char* file, int seconds) {
  std::string path = ProfilePath(file);
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved)) path = resolved;
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int lock = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock < 0) return -1;
  for (int waited = 0; flock(lock, LOCK_EX | LOCK_NB) != 0; waited += 10) {
    if (errno != EWOULDBLOCK || waited >= seconds * 1000) {
      close(lock);
      return -1;
    }
    usleep(10 * 1000);
  }
  return lock;
}

}  // namespace
}  // namespace desktop

namespace platform {

int GetProfileInt(const char* section, const char* key, int fallback, const char* file) {
  return desktop::GetPrivateProfileInt(section, key, fallback, file);
}

std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file) {
  return desktop::GetPrivateProfileString(section, key, fallback, buffer, size, file);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
  return desktop::WritePrivateProfileString(section, key, value, file);
}

constexpr int kLockWaitSeconds = 10;

ProfileLock::ProfileLock(const char* file) : handle_(desktop::LockProfile(file, kLockWaitSeconds)) {}

ProfileLock::~ProfileLock() {
  if (handle_ >= 0) close(static_cast<int>(handle_));  // closing the descriptor ends its lock
}

}  // namespace platform
