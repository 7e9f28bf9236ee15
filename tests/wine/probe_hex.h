// The probes' one way of printing bytes: each as two upper-case hex digits, so that both desktops'
// output compares line by line whatever the bytes are.
#pragma once

#include <string>

// `empty` stands for no bytes at all, so that a line keeps its field.
inline std::string HexBytes(const std::string& bytes, const char* empty) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex.empty() ? empty : hex;
}
