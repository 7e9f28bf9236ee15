// The system's ANSI code page, 932: which bytes begin a double-byte character. The add-in, the
// simulated desktop and the hosts split text by this one rule.
#pragma once

namespace platform {

// A lead byte starts a double-byte character together with the byte after it.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace platform
