#include "platform/module.h"

#include <dlfcn.h>

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

}  // namespace platform
