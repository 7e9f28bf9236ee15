#include "platform/module.h"

#include <dlfcn.h>
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/sim/desktop/ansi_text.h"
#include "platform/sim/module/module_path.h"

namespace platform {

const char kPathSeparator = '/';

namespace {

// The file this code was loaded from: the add-in module when linked into it, in the file system's
// UTF-8. Found once: a loaded module keeps its path, and every profile access asks for it.
const std::string& NativeModulePath() {
  static const std::string path = [] {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&NativeModulePath), &info) == 0 || !info.dli_fname) return std::string();
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved)) return std::string(resolved);
    return std::string(info.dli_fname);
  }();
  return path;
}

}  // namespace

std::string ModulePath() { return desktop::detail::AnsiPathFromNative(NativeModulePath()); }

// Split in UTF-8, where no byte of a character is a '/'.
ModuleFile sim::SplitModulePath(std::string_view utf8) {
  const std::size_t separator = utf8.rfind('/');
  if (separator == std::string_view::npos) return {std::string(), desktop::detail::AnsiPathFromNative(utf8)};
  return {desktop::detail::AnsiPathFromNative(utf8.substr(0, separator + 1)),
          desktop::detail::AnsiPathFromNative(utf8.substr(separator + 1))};
}

ModuleFile ThisModuleFile() { return sim::SplitModulePath(NativeModulePath()); }

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
