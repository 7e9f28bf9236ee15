#include "platform/sim/desktop/ansi_text.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <stdexcept>

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
    char32_t wide = 0;
    if (!Run(decode_, character, reinterpret_cast<char*>(&wide), sizeof wide)) return {};
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

}  // namespace

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

}  // namespace desktop::detail
