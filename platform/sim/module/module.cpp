#include "platform/module.h"

#include <dlfcn.h>

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

}  // namespace platform
