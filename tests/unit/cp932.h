// Test helper: UTF-8 text written in the test, as the code page 932 bytes the add-in sees.
#pragma once
#include <iconv.h>

#include <stdexcept>
#include <string>

namespace qor::testing {

inline std::string Sjis(const std::string& utf8) {
  iconv_t convert = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  char* outPtr = out.data();
  const std::size_t result = iconv(convert, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(convert);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace qor::testing
