#include "cli/posix_compat.h"

#include <direct.h>
#include <io.h>

#include <cerrno>
#include <cstring>

extern "C" char* mkdtemp(char* name) {
  const size_t length = std::strlen(name);
  if (length < 6 || std::strcmp(name + length - 6, "XXXXXX") != 0) {
    errno = EINVAL;
    return nullptr;
  }
  char* suffix = name + length - 6;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::memcpy(suffix, "XXXXXX", 6);
    if (_mktemp_s(name, length + 1) != 0) return nullptr;
    if (_mkdir(name) == 0) return name;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}
