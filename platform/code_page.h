// The system's ANSI code page, 932: which bytes begin a double-byte character. The add-in, the
// simulated desktop and the hosts split text by this one rule.
#pragma once
#include <cstddef>
#include <string_view>

namespace platform {

// A lead byte starts a double-byte character together with the byte after it.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The text without a lead byte that ends it with no byte after it, which the ANSI functions'
// conversion to UTF-16 drops (it makes no character).
constexpr std::string_view WithoutDanglingLeadByte(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  return at > text.size() ? text.substr(0, text.size() - 1) : text;
}

}  // namespace platform
