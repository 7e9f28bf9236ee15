#include "host/cp932_text.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/text.h"
#else
#include <iconv.h>
#endif

#include <array>
#include <cerrno>
#include <stdexcept>

#include "platform/code_page.h"

namespace host {
namespace {

using platform::IsLeadByte;

#ifdef _WIN32
// Converts all of `input` with the system's tables; nothing when any byte does not convert. The
// names are the ones iconv knows, "CP932" and "UTF-8", and "ANSI" for the system's code page.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  auto codePage = [](std::string_view name) -> UINT {
    return name == "CP932" ? 932 : name == "ANSI" ? CP_ACP : CP_UTF8;
  };
  if (input.empty()) return std::string();
  const UINT fromPage = codePage(from), toPage = codePage(to);
  const int length = static_cast<int>(input.size());
  const int units = MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, input.data(), length, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, input.data(), length, wide.data(), units);
  // A code point the code page lacks (such as half of a pair that decodes to its default
  // character, or a character that only fits a best-fit replacement) does not convert.
  if (fromPage == 932 && wide.find(L'\x30FB') != std::wstring::npos &&
      input.find("\x81\x45") == std::string_view::npos) {
    return std::nullopt;
  }
  const DWORD flags = toPage == 932 ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = toPage == 932 ? &usedDefault : nullptr;
  const int bytes = WideCharToMultiByte(toPage, flags, wide.data(), units, nullptr, 0, nullptr, usedDefaultOut);
  if (bytes <= 0 || usedDefault) return std::nullopt;
  std::string output(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(toPage, flags, wide.data(), units, output.data(), bytes, nullptr, usedDefaultOut);
  if (usedDefault) return std::nullopt;
  return output;
}
#else
// Converts all of `input` with iconv; nothing when any byte does not convert.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv lacks CP932");
  std::string output(input.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}
#endif

// UTF-8 of each lead/trail pair, empty when the pair is no character. Built once: a dump of a large
// tree decodes many pairs, and one iconv call per pair would dominate it.
class PairTable {
 public:
  PairTable() {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0; trail < 256; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        std::optional<std::string> text = Convert("UTF-8", "CP932", std::string_view(pair, 2));
        if (text && IsOneCharacter(*text)) table_[Index(lead, trail)] = *text;
      }
    }
  }
  const std::string& Lookup(unsigned char lead, unsigned char trail) const {
    return table_[Index(lead, trail)];
  }

 private:
  static size_t Index(int lead, int trail) { return (lead - 0x80) * 256 + trail; }
  // One code point: a UTF-8 start byte followed only by continuation bytes.
  static bool IsOneCharacter(const std::string& utf8) {
    if (utf8.empty()) return false;
    for (size_t i = 1; i < utf8.size(); ++i) {
      if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) return false;
    }
    return true;
  }
  std::array<std::string, 0x80 * 256> table_;
};

const PairTable& Pairs() {
  static const PairTable table;
  return table;
}

void AppendHalfWidthKatakana(std::string& out, unsigned char byte) {
  // U+FF61..U+FF9F in order of the bytes 0xA1..0xDF; all three-byte UTF-8 sequences.
  unsigned codePoint = 0xFF61 + (byte - 0xA1);
  out += static_cast<char>(0xE0 | (codePoint >> 12));
  out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

void AppendEscaped(std::string& out, unsigned char byte) {
  static const char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

}  // namespace

namespace {

// The bytes as UTF-8: every code page 932 character as itself; what is left (ASCII and bytes that
// are no character) goes to `other`, which writes it.
template <typename Other>
std::string ToUtf8(std::string_view bytes, Other other) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (IsLeadByte(byte) && i + 1 < bytes.size()) {
      const std::string& character = Pairs().Lookup(byte, static_cast<unsigned char>(bytes[i + 1]));
      if (!character.empty()) {
        out += character;
        ++i;
        continue;
      }
    }
    if (byte >= 0xA1 && byte <= 0xDF) {
      AppendHalfWidthKatakana(out, byte);
    } else {
      other(out, byte);
    }
  }
  return out;
}

}  // namespace

std::string RenderCp932(std::string_view bytes) {
  return ToUtf8(bytes, [](std::string& out, unsigned char byte) {
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte <= 0x7E) {
      out += static_cast<char>(byte);
    } else {
      AppendEscaped(out, byte);
    }
  });
}

std::string DecodeCp932(std::string_view bytes, bool* whole) {
  *whole = true;
  return ToUtf8(bytes, [whole](std::string& out, unsigned char byte) {
    if (byte < 0x80) {
      out += static_cast<char>(byte);
    } else {
      out += "\xEF\xBF\xBD";  // U+FFFD
      *whole = false;
    }
  });
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Convert("CP932", "UTF-8", text);
}

#ifdef _WIN32
std::string AnsiToUtf8(std::string_view text) { return Convert("UTF-8", "ANSI", text).value_or(std::string()); }

std::optional<std::string> AnsiToCp932(std::string_view text) { return Convert("CP932", "ANSI", text); }

std::wstring AnsiToWide(std::string_view text) { return platform::win32::ToWide(text, CP_ACP); }

std::string WideToAnsi(std::wstring_view text) { return platform::win32::FromWide(text, CP_ACP); }
#endif

std::string FormatFields(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += RenderCp932(fields[i]);
  }
  return line;
}

}  // namespace host
