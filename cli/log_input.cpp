#include "cli/log_input.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <unordered_map>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/command_support.h"
#include "cli/compressed_log.h"
#include "cli/utf8.h"
#include "host/cp932_text.h"

namespace cli {
namespace {

constexpr char kReplacement[] = "\x81\x45";  // "・", code page 932
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kMostLines = 2147483647;

// Code page 932 bytes of one character given as UTF-8; empty when the code page lacks it. The
// system's converter decides (iconv, or Windows' own tables), asked once per character.
const std::string& Cp932Of(const std::string& utf8, char32_t codePoint) {
  static std::unordered_map<char32_t, std::string> known;
  auto found = known.find(codePoint);
  if (found == known.end()) {
    found = known.emplace(codePoint, host::Utf8ToCp932(utf8).value_or("")).first;
  }
  return found->second;
}

std::string CodePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

std::string ReadStandardInput() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::string bytes(std::istreambuf_iterator<char>(std::cin), {});
  if (std::cin.bad()) throw Failure{"cannot read log - (standard input)"};
  return bytes;
}

// --encoding auto: UTF-8 when the log is, beyond ASCII; also when all that spoils it is a character
// cut short at its very end (a log saved while the terminal was writing), which becomes "・". A
// log that is UTF-8 for a while and then holds a byte that is none is read as code page 932, and
// the line where that happens is named.
bool ReadAsUtf8(const std::string& bytes, const std::string& path) {
  const Utf8Extent extent = MeasureUtf8(bytes);
  if (!extent.beyondAscii) return false;
  if (extent.stop == std::string::npos) return true;
  const auto lead = static_cast<unsigned char>(bytes[extent.stop]);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead >= 0xC2 && lead <= 0xF4 && extent.stop + length > bytes.size()) {
    bool continuation = true;
    for (size_t at = extent.stop + 1; at < bytes.size(); ++at) {
      continuation = continuation && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
    }
    if (continuation) return true;
  }
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", lead);
  Report(path + ":" + std::to_string(extent.line) + ": byte " + escaped +
             " is no UTF-8; the log is read as code page 932 (--encoding utf-8 reads it as UTF-8)",
         0);
  return false;
}

}  // namespace

Encoding ParseEncoding(const std::string& name) {
  if (name == "auto") return Encoding::Auto;
  if (name == "cp932") return Encoding::Cp932;
  if (name == "utf-8") return Encoding::Utf8;
  throw Failure{"bad --encoding '" + name + "': cp932, utf-8 or auto"};
}

Utf8Extent MeasureUtf8(const std::string& bytes) {
  Utf8Extent extent;
  for (size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      if (bytes[at] == '\n') ++extent.line;
      ++at;
      continue;
    }
    char32_t codePoint;
    const size_t length = DecodeUtf8(bytes, at, &codePoint);
    if (length == 0) {
      extent.stop = at;
      return extent;
    }
    extent.beyondAscii = true;
    at += length;
  }
  return extent;
}

bool LooksLikeUtf8(const std::string& bytes) {
  const Utf8Extent extent = MeasureUtf8(bytes);
  return extent.beyondAscii && extent.stop == std::string::npos;
}

std::string Utf8LogToCp932(const std::string& utf8, long* firstMissingLine, std::string* firstMissing,
                           long* missing) {
  std::string out;
  out.reserve(utf8.size());
  *missing = 0;
  long line = 1;
  size_t at = utf8.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
  while (at < utf8.size()) {
    const char byte = utf8[at];
    if (static_cast<unsigned char>(byte) < 0x80) {
      if (byte == '\n') ++line;
      out += byte;
      ++at;
      continue;
    }
    char32_t codePoint = 0;
    const size_t length = DecodeUtf8(utf8, at, &codePoint);
    const std::string& bytes =
        length ? Cp932Of(utf8.substr(at, length), codePoint) : std::string();
    if (!bytes.empty()) {
      out += bytes;
    } else {
      if ((*missing)++ == 0) {
        *firstMissingLine = line;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(byte));
        *firstMissing = length ? CodePointName(codePoint) + " has no code page 932 form"
                               : "byte " + std::string(escaped) + " is no UTF-8";
      }
      out += kReplacement;
    }
    at += length ? length : 1;
  }
  return out;
}

host::LogStore LoadLog(const std::string& path, const std::string& location, Encoding encoding) {
  try {
    std::string bytes;
    try {
      bytes = location == "-" ? ReadStandardInput() : ReadWholeFile(location, "log ", path);
    } catch (const Failure& failure) {
      throw UnreadableLog{failure.message};
    }
    Decompress(bytes, path);
    if (encoding == Encoding::Utf8 || (encoding == Encoding::Auto && ReadAsUtf8(bytes, path))) {
      long line = 0, missing = 0;
      std::string character;
      bytes = Utf8LogToCp932(bytes, &line, &character, &missing);
      if (missing > 0) {
        Report(path + ":" + std::to_string(line) + ": " + character + "; replaced by \xE3\x83\xBB" +
               (missing > 1 ? " (" + std::to_string(missing - 1) + " more in this log)" : ""));
      }
    }
    // Line positions are signed 32-bit numbers.
    if (bytes.size() >= kMostLines && static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >= kMostLines) {
      throw Failure{"log " + path + " holds more lines than a log can (2147483647)"};
    }
    return host::LogStore(bytes);
  } catch (const std::bad_alloc&) {
    throw Failure{"log " + path + " is too large to hold in memory"};
  } catch (const std::length_error&) {
    throw Failure{"log " + path + " is too large to hold in memory"};
  }
}

}  // namespace cli
