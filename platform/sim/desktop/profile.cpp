// Private profile files (INI), read as Windows reads them (Wine's kernel32 profile.c is the
// reference): the file is taken as UTF-16 when it starts with a UTF-16 byte order mark (little or
// big endian), as code page 932 otherwise, and read in UTF-16; a line ends at CR, LF or both.
// Written by editing the file's text in its own encoding: the one line that changes or is added
// ends with CRLF, every other byte stays as it was (the real functions keep the file's other lines
// too; Wine writes the whole file anew, with the same entries). A write goes through
// platform::FileReplacement, so a failed write leaves no half-written file and the file keeps its
// mode, owner and links.
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

using detail::AnsiFromWide;
using detail::WideFromAnsi;

bool IsBlank(char16_t c) {
  // The profile blanks: C white space, and ^Z (DOS end of file).
  return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a;
}

std::u16string_view TrimLeft(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u16string_view TrimRight(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view Trim(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

// A name or value read from the file ends at a NUL, as a string of the real functions does.
std::u16string_view ToNul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

// Names match without regard to the case of ASCII letters. (Wine folds no other letters; Windows
// may fold more, a difference no name the add-in uses can show.)
char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c; }

// A text the program passes in UTF-16, as the ANSI functions convert it: a lead byte at its end,
// with no byte after it, is dropped.
std::u16string Argument(const char* text) {
  return WideFromAnsi(platform::WithoutDanglingLeadByte(text ? text : ""));
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::u16string_view name;
  std::optional<std::u16string_view> value;  // none on a line without '='
  bool emptyName = false;  // the name before its NUL cut was empty too
};

ParsedLine Parse(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.front() == '[') {
    // A '[' line without ']' is read as a key line; the name ends at the last ']'.
    const std::size_t close = text.rfind(']');
    if (close != std::u16string_view::npos) return {LineKind::Section, ToNul(Trim(text.substr(1, close - 1))), {}, false};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::u16string_view::npos) return {LineKind::Key, ToNul(text), {}, false};
  const std::u16string_view name = TrimRight(text.substr(0, equals));
  return {LineKind::Key, ToNul(name), ToNul(TrimLeft(text.substr(equals + 1))), name.empty()};
}

// One line of the file in UTF-16 units: [begin, next) holds it with its line end.
struct Line {
  std::size_t begin = 0;
  std::size_t next = 0;
  bool hasBreak = false;
  ParsedLine parsed;
};

enum class Encoding { Ansi, Utf16Le, Utf16Be };

// A profile file's bytes and the same in UTF-16, split into lines.
struct ProfileText {
  std::string bytes;
  Encoding encoding = Encoding::Ansi;
  std::u16string wide;
  std::vector<std::size_t> starts;  // the byte offset of each UTF-16 unit, and the size last
  std::vector<Line> lines;          // views into wide, which stays put while the text lives
};

// Windows' profile functions take a file for UTF-16 by its byte order mark alone. They do not
// recognise the UTF-8 mark (Wine does): such a file is code page 932 text whose first line begins
// with the mark's bytes, so a section named on that line is not seen.
void Decode(ProfileText& text) {
  const std::string& bytes = text.bytes;
  text.encoding = Encoding::Ansi;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') text.encoding = Encoding::Utf16Le;
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') text.encoding = Encoding::Utf16Be;
  if (text.encoding == Encoding::Ansi) {
    text.wide = WideFromAnsi(bytes, &text.starts);
  } else {
    // A last odd byte is no character.
    const bool little = text.encoding == Encoding::Utf16Le;
    text.wide.clear();
    text.starts.clear();
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
      const auto low = static_cast<unsigned char>(bytes[at + (little ? 0 : 1)]);
      const auto high = static_cast<unsigned char>(bytes[at + (little ? 1 : 0)]);
      text.wide += static_cast<char16_t>(high << 8 | low);
      text.starts.push_back(at);
    }
    text.starts.push_back(text.wide.size() * 2 + 2);
  }
  text.lines.clear();
  const std::u16string_view wide = text.wide;
  for (std::size_t at = 0; at < wide.size();) {
    std::size_t end = wide.find_first_of(u"\r\n", at);
    std::size_t next = end;
    if (end == std::u16string_view::npos) {
      end = next = wide.size();
    } else {
      next = end + (wide[end] == '\r' && end + 1 < wide.size() && wide[end + 1] == '\n' ? 2 : 1);
    }
    text.lines.push_back({at, next, next != end, Parse(Trim(wide.substr(at, end - at)))});
    at = next;
  }
}

// Text for the file in its encoding.
std::string Encode(std::u16string_view wide, Encoding encoding) {
  if (encoding == Encoding::Ansi) return AnsiFromWide(wide);
  std::string bytes;
  for (const char16_t unit : wide) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += encoding == Encoding::Utf16Le ? low : high;
    bytes += encoding == Encoding::Utf16Le ? high : low;
  }
  return bytes;
}

// Where a key is, or where it would go. Only the first section of the name counts; the lines
// before any section are the section with the empty name.
struct Location {
  bool sectionFound = false;
  const Line* keyLine = nullptr;
  ParsedLine key;
  std::size_t insertAt = 0;  // after the section's last line that is not blank
  bool insertAfterBreak = true;
};

Location Locate(const std::vector<Line>& lines, std::u16string_view section, std::u16string_view key) {
  Location location;
  location.sectionFound = section.empty();
  bool ended = false;
  const ParsedLine* previousKey = nullptr;
  for (const Line& line : lines) {
    const ParsedLine& parsed = line.parsed;
    if (parsed.kind == LineKind::Section) {
      if (location.sectionFound) ended = true;
      if (ended) break;
      location.sectionFound = SameName(parsed.name, section);
      previousKey = nullptr;
      location.insertAt = line.next;
      location.insertAfterBreak = line.hasBreak;
      continue;
    }
    if (parsed.kind == LineKind::Blank || !location.sectionFound) continue;
    // A key line with an empty name right after another one is not read, as by the real reader
    // (a new key still goes after it, so that it stays unread).
    const bool unread = parsed.emptyName && previousKey && previousKey->name.empty();
    if (!unread && SameName(parsed.name, key)) {
      location.keyLine = &line;
      location.key = parsed;
      return location;
    }
    if (!unread) previousKey = &parsed;
    location.insertAt = line.next;
    location.insertAfterBreak = line.hasBreak;
  }
  return location;
}

// The value as the real functions copy it into a buffer of `size` characters: cut to size - 1,
// a value in matching double or single quotes without them (a cut one loses its last character).
std::u16string CopyEntry(std::u16string_view value, std::size_t size) {
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::u16string copy(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !copy.empty()) copy.pop_back();
  return copy;
}

// The path a profile file name stands for, in `path` (reused: every profile look-up asks for it).
void ProfilePath(const char* file, std::string& path) {
  path = file;
  // The add-in names its files in code page 932; the file system's names are UTF-8.
  if (std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    path = detail::NativePathFromAnsi(path);
  }
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
  ProfileText text;
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
  cache.push_front({path, opened, TimesSettled(opened, moment), {}});
  cache.front().text.bytes = std::move(content);
  Decode(cache.front().text);
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

// A profile kept in memory, decoded again only when its bytes change: the registry's look-ups read
// one file a hundred times in a row.
const ProfileText& MemoryProfile(const std::string& content) {
  static ProfileText text;
  static bool decoded = false;
  if (!decoded || text.bytes != content) {
    text.bytes = content;
    Decode(text);
    decoded = true;
  }
  return text;
}

// The profile file as it stands: null when there is none (or it is no regular file, or unreadable).
const ProfileText* ReadProfile(const std::string& path) {
  if (const auto* memory = detail::MemoryProfiles()) {
    const auto found = memory->find(path);
    return found == memory->end() ? nullptr : &MemoryProfile(found->second);
  }
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return nullptr;
  const CachedProfile* profile = ReadFileProfile(path, status);
  return profile ? &profile->text : nullptr;
}

// What the real functions give a buffer of `size` UTF-16 characters: the value, or the fallback
// without its trailing blanks (the first character stays), as the entry is copied.
std::u16string LookUp(const char* section, const char* key, const char* fallback, std::size_t size,
                      const char* file) {
  std::u16string fallbackText = Argument(fallback);
  while (fallbackText.size() > 1 && fallbackText.back() == ' ') fallbackText.pop_back();
  std::u16string_view text = fallbackText;
  static std::string path;  // the simulated desktop has one thread
  ProfilePath(file, path);
  if (const ProfileText* profile = ReadProfile(path)) {
    const Location location = Locate(profile->lines, Trim(Argument(section)), Trim(Argument(key)));
    if (location.keyLine && location.key.value) text = *location.key.value;
    return CopyEntry(text, size);
  }
  return CopyEntry(text, size);
}

}  // namespace

// The ANSI functions work in UTF-16 inside: what they give back has been through the code page.
// A value whose characters do not all fit gives the characters that do and the count size - 1.
std::size_t GetPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                    std::size_t size, const char* file) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  if (!section || !key || !file) return 0;
  const std::u16string value = LookUp(section, key, fallback, size, file);
  std::size_t count = 0;
  if (!AnsiFromWide(value, buffer, size - 1, &count)) {
    std::fill(buffer + count, buffer + size - 1, '\0');
    count = size - 1;
  }
  buffer[count] = '\0';
  return count;
}

int GetPrivateProfileInt(const char* section, const char* key, int fallback, const char* file) {
  if (!section || !key || !file) return fallback;
  const std::u16string value = LookUp(section, key, "", 30, file);  // read through a buffer of 30
  if (value.empty()) return fallback;
  std::string digits;
  for (const char16_t c : value) digits += c < 0x80 ? static_cast<char>(c) : '\x7f';
  return ParseProfileInt(digits);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* file) {
  if (!section || !key || !value || !file) return false;
  const std::string path = ProfilePath(file);
  ProfileText text;
  if (const auto* memory = detail::MemoryProfiles()) {
    if (const auto found = memory->find(path); found != memory->end()) text = MemoryProfile(found->second);
  } else if (struct stat status {}; stat(path.c_str(), &status) == 0) {
    const CachedProfile* existing = ReadFileProfile(path, status);
    if (!existing || access(path.c_str(), W_OK) != 0) return false;
    text = existing->text;
  }
  Decode(text);  // the lines view this copy's own text
  // The ANSI functions pass the text on in UTF-16: what is written comes out as the code page
  // gives it back, in the file's own encoding.
  const std::u16string sectionText = Argument(section);
  const std::u16string keyText = Argument(key);
  const std::u16string valueText = Argument(value);
  const std::u16string_view sectionName = Trim(sectionText);
  const std::u16string_view keyName = Trim(keyText);
  const std::u16string_view newValue = TrimLeft(valueText);
  const Location location = Locate(text.lines, sectionName, keyName);
  // A new key or section is written with the name as given, less its leading blanks (as the real
  // functions do: a blank at its end is dropped when the line is read).
  const std::u16string keyLine = std::u16string(location.keyLine ? location.key.name : TrimLeft(keyText)) + u"=" +
                                 std::u16string(newValue) + u"\r\n";
  std::size_t from = 0;  // the UTF-16 units [from, to) are replaced by `added`
  std::size_t to = 0;
  std::u16string added;
  if (location.keyLine) {
    if (location.key.value == newValue) return true;  // unchanged: the file is left alone
    from = location.keyLine->begin;
    to = location.keyLine->next;
    added = keyLine;
  } else if (location.sectionFound) {
    from = to = location.insertAt;
    added = (location.insertAfterBreak ? u"" : u"\r\n") + keyLine;
  } else {
    from = to = text.wide.size();
    const bool broken = !text.wide.empty() && (text.wide.back() == '\n' || text.wide.back() == '\r');
    added = (text.wide.empty() || broken ? u"" : u"\r\n") + (u"[" + std::u16string(TrimLeft(sectionText)) + u"]\r\n") + keyLine;
  }
  std::string content = text.bytes;
  // A new file, or an empty one, is code page 932 text.
  const std::size_t fromByte = text.starts.empty() ? content.size() : text.starts[from];
  const std::size_t toByte = text.starts.empty() ? content.size() : text.starts[to];
  content.replace(fromByte, toByte - fromByte, Encode(added, text.encoding));
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
