// The simulated desktop's profile functions over an arbitrary profile file.
//
// Input: byte 0 picks a small read buffer; then the section, the key and the value, each ended by
// a NUL byte; the rest is the file's content. Checked:
// - a read fills the buffer within its size, terminated, and a smaller buffer gets a prefix;
// - a write into a code page 932 file changes one line of the file at most (a line ends at CR, LF
//   or both), adding at most a section line and a line end before it: every other byte stays as
//   it was (for names and a value without a line break);
// - for a section, key and value that can stand on a profile line (one line, no '=' in the key, no
//   character cut short at the end of a name), reading back gives what was written, without the
//   blanks at either end and without one pair of enclosing quotes; writing it again changes nothing.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/common.h"
#include "platform/desktop.h"
#include "platform/sim/desktop/ansi_text.h"
#include "platform/sim/fuzz_hooks.h"

namespace {

constexpr char kFile[] = "P.INI";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1a;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool Lead(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

// The name ends with a whole character: a lead byte at its end would take the byte after it.
bool EndsWithWholeCharacter(std::string_view name) {
  std::size_t at = 0;
  while (at < name.size()) at += Lead(name[at]) ? 2 : 1;
  return at == name.size();
}

std::string WithoutLoneLead(std::string text) {
  if (!EndsWithWholeCharacter(text)) text.pop_back();
  return text;
}

bool HasCharacter(std::string_view text, char c) {
  for (std::size_t at = 0; at < text.size(); at += Lead(text[at]) ? 2 : 1) {
    if (text[at] == c) return true;
  }
  return false;
}

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

bool HasBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A new name is written less its leading blanks only: a line break among its last blanks counts.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimLeft(section);
  key = TrimLeft(key);
  return !Trim(section).empty() && !HasBreak(section) && EndsWithWholeCharacter(Trim(section)) && !Trim(key).empty() &&
         key.front() != '[' && !HasBreak(key) && !HasCharacter(key, '=') && EndsWithWholeCharacter(Trim(key)) &&
         !HasBreak(value);
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Read(const std::string& section, const std::string& key, std::size_t size) {
  std::vector<char> buffer(size, '\x55');
  const std::size_t count =
      desktop::GetPrivateProfileString(section.c_str(), key.c_str(), "fallback ", buffer.data(), size, kFile);
  qorfuzz::Check(count < size && buffer[count] == '\0', "a read overran its buffer or left it unterminated");
  // A value whose characters do not all fit gives those that do, and the count size - 1.
  const std::string text(buffer.data());
  qorfuzz::Check(text.size() == count || count == size - 1, "a read's count is not its length");
  return text;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t next = std::min(text.find_first_of("\r\n", at), text.size());
    if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back(text.substr(at, next - at));
    at = next;
  }
  return lines;
}

// The bytes between the longest common prefix and suffix of whole lines: what the write replaced
// and what it put in its place.
void CheckOneLineChanged(std::string_view before, std::string_view after, std::string_view value) {
  // A line starts after LF, or after a CR that no LF follows.
  auto lineStart = [](std::string_view text, std::size_t at) {
    return at == 0 || text[at - 1] == '\n' || (text[at - 1] == '\r' && (at == text.size() || text[at] != '\n'));
  };
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  while (prefix > 0 && !(lineStart(before, prefix) && lineStart(after, prefix))) --prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  // Back to a line's start in both: a changed line may end as the next one begins ("=" before "=\r\n").
  auto midLine = [&](std::string_view text) { return text.size() > suffix && !lineStart(text, text.size() - suffix); };
  while (suffix > 0 && (midLine(before) || midLine(after))) --suffix;
  const std::string_view removed = before.substr(prefix, before.size() - suffix - prefix);
  const std::string_view added = after.substr(prefix, after.size() - suffix - prefix);
  const std::string detail = "removed " + qorfuzz::Escaped(removed) + "\nadded " + qorfuzz::Escaped(added);
  if (removed.empty() && added.empty()) return;

  const std::vector<std::string_view> removedLines = Lines(removed);
  const std::size_t removedBreak = removed.find_first_of("\r\n");
  qorfuzz::Check(removedLines.size() <= 1, "a write changed more than one line", detail);
  const std::vector<std::string_view> lines = Lines(added);
  qorfuzz::Check(!lines.empty() && lines.size() <= 3, "a write added more than a section line and a key line", detail);
  const std::string keyLineEnd = "=" + std::string(TrimLeft(value)) + "\r\n";
  qorfuzz::Check(lines.back().ends_with(keyLineEnd), "the changed line is not the key's line", detail);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const bool lineEndAdded = i == 0 && removedBreak == std::string_view::npos && lines[i] == std::string(removed) + "\r\n";
    const bool sectionLine = lines[i].starts_with("[") && lines[i].ends_with("]\r\n");
    qorfuzz::Check(lineEndAdded || sectionLine, "a write changed bytes beside its own line", detail);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t smallBuffer = 1 + data[0] % 40;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string fields[3];
  for (std::string& field : fields) {
    const std::size_t end = rest.find('\0');
    field = std::string(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const std::string& section = fields[0];
  const std::string& key = fields[1];
  const std::string& value = fields[2];
  // The profile functions keep their text in UTF-16, as the real ones do: what lands in the file
  // is each name and the value through the code page and back.
  // A lead byte that ends a text has no character to make and is dropped.
  const std::string storedValue = desktop::detail::ThroughAnsiCodePage(WithoutLoneLead(value));
  const std::string storedNames =
      desktop::detail::ThroughAnsiCodePage(WithoutLoneLead(section)) + desktop::detail::ThroughAnsiCodePage(WithoutLoneLead(key));

  // The file in memory: the parsing and editing are what this target checks, not the file system.
  static const bool once = (desktop::KeepProfilesInMemory(true), desktop::SetProfileDirectory("/qorfuzz"), true);
  (void)once;
  const std::string path = std::string("/qorfuzz/") + kFile;
  std::map<std::string, std::string>& files = desktop::ProfilesInMemory();
  files[path] = std::string(rest);

  const std::string whole = Read(section, key, 4096);
  const std::string cut = Read(section, key, smallBuffer);
  qorfuzz::Check(whole.starts_with(cut) && cut.size() + 2 >= std::min(whole.size(), smallBuffer - 1),
                 "a small buffer does not get the value's start");
  const int number = desktop::GetPrivateProfileInt(section.c_str(), key.c_str(), -7, kFile);
  if (Read(section, key, 30).empty()) qorfuzz::Check(number == -7, "an empty value is not the fallback number");

  const bool written = desktop::WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(), kFile);
  qorfuzz::Check(written, "a write to a writable profile failed");
  const std::string after = files[path];
  // Names and values that hold a line break are written as they are, and make lines of their own.
  // A UTF-16 file is edited in UTF-16; a lead byte may take the line end after it as its second.
  const bool oneLine = !HasBreak(section + key + value);
  const bool utf16 = rest.starts_with("\xFF\xFE") || rest.starts_with("\xFE\xFF");
  bool leadBeforeBreak = false;
  for (std::size_t at = 0; at + 1 < rest.size(); at += Lead(rest[at]) ? 2 : 1) leadBeforeBreak |= Lead(rest[at]) && IsBreak(rest[at + 1]);
  if (oneLine && !utf16 && !leadBeforeBreak) CheckOneLineChanged(rest, after, storedValue);

  if (!Writable(section, key, value) || storedNames != section + key) return 0;
  const std::string expected(Unquoted(Trim(storedValue)).substr(0, 4095));
  const std::string readBack = Read(section, key, 4096);
  qorfuzz::Check(readBack == expected, "reading back does not give what was written",
                 "wrote " + qorfuzz::Escaped(value) + "\nread " + qorfuzz::Escaped(readBack));
  // A new key keeps the blanks at the end of its name, as the real functions write it; a value
  // with blanks at its end (once a lead byte ending it is dropped) then reads back without them,
  // and the next write puts the line anew.
  if (!key.empty() && IsBlank(key.back()) && !storedValue.empty() && IsBlank(storedValue.back())) return 0;
  qorfuzz::Check(desktop::WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(), kFile),
                 "writing the same value again failed");
  qorfuzz::Check(files[path] == after, "writing the same value again changed the file",
                 "written " + qorfuzz::Escaped(after) + "\nbecame " + qorfuzz::Escaped(files[path]));
  return 0;
}
