#include "platform/sim/desktop/ansi_text.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/code_page.h"

namespace desktop::detail {
namespace {

constexpr char kDefaultCharacter[] = "\x81\x45";  // "・", what a byte pair of no character becomes

using platform::IsLeadByte;

// One character's bytes through UTF-32 and back with iconv; empty when they are no character.
class Converter {
 public:
  Converter() : decode_(iconv_open("UTF-32LE", "CP932")), encode_(iconv_open("CP932", "UTF-32LE")) {
    if (decode_ == kFailed || encode_ == kFailed) throw std::runtime_error("iconv lacks CP932");
  }
  ~Converter() {
    iconv_close(decode_);
    iconv_close(encode_);
  }
  std::string RoundTrip(std::string_view character) {
    const char32_t wide = Decode(character);
    return wide ? Encode(wide) : std::string();
  }
  // 0 when the bytes are no one character.
  char32_t Decode(std::string_view character) {
    char32_t wide = 0;
    return Run(decode_, character, reinterpret_cast<char*>(&wide), sizeof wide) ? wide : 0;
  }
  std::string Encode(char32_t wide) {
    char back[4];
    const size_t length = Run(encode_, {reinterpret_cast<const char*>(&wide), sizeof wide}, back, sizeof back);
    return std::string(back, length);
  }

 private:
  inline static const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);
  // Bytes written, or 0 unless all of `in` converted to exactly one character.
  static size_t Run(iconv_t converter, std::string_view in, char* out, size_t room) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* inAt = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outAt = out;
    size_t outLeft = room;
    if (iconv(converter, &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return 0;
    return room - outLeft;
  }
  iconv_t decode_;
  iconv_t encode_;
};

// What each single byte and each lead/trail pair come back as, built once: one or two bytes.
struct Back {
  char bytes[2] = {};
  unsigned char length = 0;
  void Set(const std::string& text) {
    length = static_cast<unsigned char>(text.size() < 2 ? text.size() : 2);
    for (unsigned char i = 0; i < length; ++i) bytes[i] = text[i];
  }
};

struct Table {
  std::array<Back, 256> single;
  std::array<Back, 65536> pair;
  Table() {
    Converter converter;
    for (int byte = 1; byte < 256; ++byte) {
      const char text[] = {static_cast<char>(byte)};
      std::string back = converter.RoundTrip({text, 1});
      // 0x80, 0xA0 and 0xFD-0xFF are no characters, yet the code page maps them to code points of
      // their own (U+0080, U+F8F0-U+F8F3) and back; a lone lead byte becomes the default character.
      if (back.empty()) back = IsLeadByte(byte) ? kDefaultCharacter : std::string(text, 1);
      single[byte].Set(back);
      if (!IsLeadByte(static_cast<unsigned char>(byte))) continue;
      for (int trail = 1; trail < 256; ++trail) {
        const char two[] = {static_cast<char>(byte), static_cast<char>(trail)};
        back = converter.RoundTrip({two, 2});
        pair[byte << 8 | trail].Set(back.empty() ? kDefaultCharacter : back);
      }
    }
  }
};

// The code page's own mapping to UTF-16 and back, built once. The bytes 0x80, 0xA0 and 0xFD-0xFF
// are no characters, yet map to code points of their own (U+0080, U+F8F0-U+F8F3) and back.
struct WideTable {
  static constexpr char16_t kDefault = 0x30FB;  // "・"
  static constexpr uint16_t kNone = 0xFFFF;     // no code in the code page
  std::array<char16_t, 256> single {};
  std::array<char16_t, 65536> pair {};  // lead << 8 | trail; 0 when no character
  std::array<uint16_t, 65536> code {};  // UTF-16 unit to a byte or a lead << 8 | trail pair
  WideTable() {
    Converter converter;
    code.fill(kNone);
    auto add = [&](char16_t wide) {
      if (code[wide] != kNone) return;
      const std::string back = converter.Encode(wide);
      if (back.size() == 1) code[wide] = static_cast<unsigned char>(back[0]);
      if (back.size() == 2) code[wide] = static_cast<uint16_t>(static_cast<unsigned char>(back[0]) << 8 | static_cast<unsigned char>(back[1]));
    };
    const std::pair<int, char16_t> own[] = {{0x80, 0x80}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
    for (int byte = 0; byte < 256; ++byte) {
      const char text[] = {static_cast<char>(byte)};
      const char32_t wide = byte == 0 ? 0 : converter.Decode({text, 1});
      single[byte] = IsLeadByte(static_cast<unsigned char>(byte)) ? kDefault : static_cast<char16_t>(wide);
      if (!IsLeadByte(static_cast<unsigned char>(byte)) && (wide || byte == 0) && wide < 0x10000) add(single[byte]);
    }
    for (const auto& [byte, wide] : own) {
      single[byte] = wide;
      code[wide] = static_cast<uint16_t>(byte);
    }
    // Latin-1 as WideCharToMultiByte gives it (measured on Wine): the code page's own characters,
    // or for one it lacks a near one (a letter without its mark).
    const std::pair<char16_t, uint16_t> bestFit[] = {
      {0x00A1, 0x21}, {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00A5, 0x5C}, {0x00A6, 0x7C}, {0x00A7, 0x8198},
      {0x00A8, 0x814E}, {0x00A9, 0x63}, {0x00AA, 0x61}, {0x00AB, 0x81E1}, {0x00AC, 0x81CA}, {0x00AD, 0x2D},
      {0x00AE, 0x52}, {0x00AF, 0x8150}, {0x00B0, 0x818B}, {0x00B1, 0x817D}, {0x00B2, 0x32}, {0x00B3, 0x33},
      {0x00B4, 0x814C}, {0x00B5, 0x83CA}, {0x00B6, 0x81F7}, {0x00B7, 0x8145}, {0x00B8, 0x8143},
      {0x00B9, 0x31}, {0x00BA, 0x6F}, {0x00BB, 0x81E2}, {0x00C0, 0x41}, {0x00C1, 0x41}, {0x00C2, 0x41},
      {0x00C3, 0x41}, {0x00C4, 0x41}, {0x00C5, 0x41}, {0x00C6, 0x41}, {0x00C7, 0x43}, {0x00C8, 0x45},
      {0x00C9, 0x45}, {0x00CA, 0x45}, {0x00CB, 0x45}, {0x00CC, 0x49}, {0x00CD, 0x49}, {0x00CE, 0x49},
      {0x00CF, 0x49}, {0x00D0, 0x44}, {0x00D1, 0x4E}, {0x00D2, 0x4F}, {0x00D3, 0x4F}, {0x00D4, 0x4F},
      {0x00D5, 0x4F}, {0x00D6, 0x4F}, {0x00D7, 0x817E}, {0x00D8, 0x4F}, {0x00D9, 0x55}, {0x00DA, 0x55},
      {0x00DB, 0x55}, {0x00DC, 0x55}, {0x00DD, 0x59}, {0x00DE, 0x54}, {0x00DF, 0x73}, {0x00E0, 0x61},
      {0x00E1, 0x61}, {0x00E2, 0x61}, {0x00E3, 0x61}, {0x00E4, 0x61}, {0x00E5, 0x61}, {0x00E6, 0x61},
      {0x00E7, 0x63}, {0x00E8, 0x65}, {0x00E9, 0x65}, {0x00EA, 0x65}, {0x00EB, 0x65}, {0x00EC, 0x69},
      {0x00ED, 0x69}, {0x00EE, 0x69}, {0x00EF, 0x69}, {0x00F0, 0x64}, {0x00F1, 0x6E}, {0x00F2, 0x6F},
      {0x00F3, 0x6F}, {0x00F4, 0x6F}, {0x00F5, 0x6F}, {0x00F6, 0x6F}, {0x00F7, 0x8180}, {0x00F8, 0x6F},
      {0x00F9, 0x75}, {0x00FA, 0x75}, {0x00FB, 0x75}, {0x00FC, 0x75}, {0x00FD, 0x79}, {0x00FE, 0x74},
      {0x00FF, 0x79}};
    for (const auto& [wide, near] : bestFit) code[wide] = near;
    for (int lead = 0x81; lead < 256; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 1; trail < 256; ++trail) {
        const char two[] = {static_cast<char>(lead), static_cast<char>(trail)};
        const char32_t wide = converter.Decode({two, 2});
        if (wide == 0 || wide >= 0x10000) continue;
        pair[lead << 8 | trail] = static_cast<char16_t>(wide);
        add(static_cast<char16_t>(wide));
      }
    }
  }
};

const WideTable& Wide() {
  static const WideTable table;
  return table;
}

}  // namespace

std::u16string WideFromAnsi(std::string_view text, std::vector<std::size_t>* starts) {
  const WideTable& table = Wide();
  std::u16string wide;
  wide.reserve(text.size());
  if (starts) starts->clear();
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (starts) starts->push_back(at);
    const auto byte = static_cast<unsigned char>(text[at]);
    if (IsLeadByte(byte) && at + 1 < text.size() && text[at + 1] != '\0') {
      const char16_t character = table.pair[byte << 8 | static_cast<unsigned char>(text[++at])];
      wide += character ? character : WideTable::kDefault;
    } else {
      wide += table.single[byte];
    }
  }
  if (starts) starts->push_back(text.size());
  return wide;
}

bool AnsiFromWide(std::u16string_view text, char* out, std::size_t room, std::size_t* written) {
  const WideTable& table = Wide();
  std::size_t count = 0;
  for (const char16_t unit : text) {
    const uint16_t code = table.code[unit] == WideTable::kNone ? '?' : table.code[unit];
    const std::size_t length = code > 0xFF ? 2 : 1;
    if (count + length > room) {
      *written = count;
      return false;
    }
    if (length == 2) out[count++] = static_cast<char>(code >> 8);
    out[count++] = static_cast<char>(code & 0xFF);
  }
  *written = count;
  return true;
}

std::string AnsiFromWide(std::u16string_view text) {
  std::string result(2 * text.size(), '\0');
  std::size_t written = 0;
  AnsiFromWide(text, result.data(), result.size(), &written);
  result.resize(written);
  return result;
}

std::size_t ThroughAnsiCodePage(std::string_view text, char* out, std::size_t room) {
  static const Table table;
  std::size_t written = 0;
  for (size_t at = 0; at < text.size() && written < room; ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      out[written++] = static_cast<char>(byte);
      continue;
    }
    const Back& back = IsLeadByte(byte) && at + 1 < text.size()
                           ? table.pair[byte << 8 | static_cast<unsigned char>(text[++at])]
                           : table.single[byte];
    for (unsigned char i = 0; i < back.length && written < room; ++i) out[written++] = back.bytes[i];
  }
  return written;
}

// Every character comes back as at most two bytes: written in place into room for that, without
// an append per character (tree items are inserted by the thousand).
std::string ThroughAnsiCodePage(std::string_view text) {
  std::string result(2 * text.size(), '\0');
  result.resize(ThroughAnsiCodePage(text, result.data(), result.size()));
  return result;
}

namespace {

std::u16string WideFromUtf8(std::string_view text) {
  std::u16string wide;
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const std::size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
    char32_t code = length == 1 ? byte : length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
    bool whole = length > 0 && at + length <= text.size();
    for (std::size_t i = 1; whole && i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      whole = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!whole || code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      wide += u'\uFFFD';
      ++at;
      continue;
    }
    if (code >= 0x10000) {
      wide += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      wide += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<char16_t>(code);
    }
    at += length;
  }
  return wide;
}

std::string Utf8FromWide(std::u16string_view wide) {
  std::string text;
  for (std::size_t at = 0; at < wide.size(); ++at) {
    char32_t code = wide[at];
    if (code >= 0xD800 && code <= 0xDBFF && at + 1 < wide.size() && wide[at + 1] >= 0xDC00 && wide[at + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (wide[++at] - 0xDC00);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      text += static_cast<char>(code);
    } else if (code < 0x800) {
      text += static_cast<char>(0xC0 | (code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      text += static_cast<char>(0xE0 | (code >> 12));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (code >> 18));
      text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
}

}  // namespace

std::string AnsiPathFromNative(std::string_view utf8) { return AnsiFromWide(WideFromUtf8(utf8)); }

std::string NativePathFromAnsi(std::string_view cp932) { return Utf8FromWide(WideFromAnsi(cp932)); }

}  // namespace desktop::detail
