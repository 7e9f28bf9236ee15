// The ANSI private profile functions; a bare file name lives in the Windows directory.
#include "platform/profile.h"

#include <string>

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

// A named mutex for the file: every program of the session that takes it waits for the others.
ProfileLock::ProfileLock(const char* file) {
  std::string name = std::string("QORMAIL profile lock ") + file;
  for (char& c : name) c = c == '\\' ? '/' : c;  // a backslash would name a namespace
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (!mutex) return;
  const DWORD waited = WaitForSingleObject(mutex, 10 * 1000);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(mutex);
}

ProfileLock::~ProfileLock() {
  if (handle_ == -1) return;
  ReleaseMutex(reinterpret_cast<HANDLE>(handle_));
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace platform
