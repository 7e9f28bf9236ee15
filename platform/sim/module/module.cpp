#include "platform/module.h"

#include <dlfcn.h>
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

const char kPathSeparator = '/';

// The file this code was loaded from: the add-in module when linked into it. Found once: a loaded
// module keeps its path, and every profile access asks for it.
std::string ModulePath() {
  static const std::string path = [] {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || !info.dli_fname) return std::string();
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved)) return std::string(resolved);
    return std::string(info.dli_fname);
  }();
  return path;
}

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

// Characters code page 932 lacks become '?', as Windows' default character.
std::string WideToAnsi(const char16_t* text, std::size_t length) {
  std::string result;
  if (!text || length == 0) return result;
  const char* encoding = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
  const iconv_t converter = iconv_open("CP932", encoding);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    for (std::size_t i = 0; i < length; ++i) result += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return result;
  }
  const char16_t* at = text;
  const char16_t* const end = text + length;
  char buffer[256];
  while (at < end) {
    char* in = const_cast<char*>(reinterpret_cast<const char*>(at));
    std::size_t inLeft = static_cast<std::size_t>(end - at) * sizeof(char16_t);
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    result.append(buffer, static_cast<std::size_t>(out - buffer));
    at = reinterpret_cast<const char16_t*>(in);
    if (converted != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // Not convertible, or a lone surrogate: one '?' for the character.
    result += '?';
    at += (IsHighSurrogate(*at) && at + 1 < end && IsLowSurrogate(at[1])) ? 2 : 1;
  }
  iconv_close(converter);
  return result;
}

}  // namespace platform
