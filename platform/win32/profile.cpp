// The ANSI private profile functions; a bare file name lives in the Windows directory.
#include "platform/profile.h"

#include "platform/win32/win32.h"

namespace platform {

int GetProfileInt(const char* section, const char* key, int fallback, const char* file) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file));
}

std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file) {
  if (!buffer || size == 0) return 0;
  return GetPrivateProfileStringA(section, key, fallback, buffer, static_cast<DWORD>(size), file);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

}  // namespace platform
