// The ANSI private profile functions; a bare file name lives in the Windows directory.
#include "platform/profile.h"

#include <string>

#include "platform/win32/seams.h"
#include "platform/win32/win32.h"

#include <sddl.h>

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

namespace {

// Every program of the session may wait on the lock and release it (SYNCHRONIZE and
// MUTANT_QUERY_STATE for Everyone), whoever made it: an elevated host and a normal one share it.
// Its creator's handle has full access.
constexpr char kLockAccess[] = "D:(A;;0x00100001;;;WD)";

HANDLE CreateOrOpenLock(const std::string& name) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(kLockAccess, SDDL_REVISION_1, &descriptor, nullptr)) {
    attributes.lpSecurityDescriptor = descriptor;
  }
  HANDLE mutex = CreateMutexA(&attributes, FALSE, name.c_str());
  // Made by another program whose lock grants this one less than all access: it only waits on it.
  if (!mutex && GetLastError() == ERROR_ACCESS_DENIED) mutex = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  if (descriptor) LocalFree(descriptor);
  return mutex;
}

}  // namespace

std::string win32::ProfileLockName(const char* file) {
  std::string name = std::string("QORMAIL profile lock ") + file;
  for (char& c : name) c = c == '\\' ? '/' : c;  // a backslash would name another namespace
  return "Local\\" + name;
}

// A named mutex for the file, in the session's namespace: every program of the session that takes
// it waits for the others.
ProfileLock::ProfileLock(const char* file) {
  const HANDLE mutex = CreateOrOpenLock(win32::ProfileLockName(file));
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
