// The private profile functions; a bare file name lives in the Windows directory. The add-in's
// code page 932 texts go through the Unicode functions, converted with code page 932 named: on a
// code page 932 system the files are what the ANSI functions make them, elsewhere the values are
// not garbled on their way (what the file then holds is said in docs/windows.md).
#include "platform/profile.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/win32/seams.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

#include <sddl.h>

namespace platform {

namespace {

// An argument in UTF-16; a null one stays null (for the profile functions it means "all" or
// "delete"). A lead byte that ends the text is dropped, as the ANSI functions' conversion drops it.
class WideArgument {
 public:
  explicit WideArgument(const char* text) {
    if (text) text_ = win32::ToWide(WithoutDanglingLeadByte(text));
  }
  const wchar_t* get() const { return text_ ? text_->c_str() : nullptr; }

 private:
  std::optional<std::wstring> text_;
};

}  // namespace

int GetProfileInt(const char* section, const char* key, int fallback, const char* file) {
  return static_cast<int>(GetPrivateProfileIntW(WideArgument(section).get(), WideArgument(key).get(), fallback,
                                                WideArgument(file).get()));
}

// As GetPrivateProfileStringA gives it on a code page 932 system: the value read into as many
// UTF-16 units as the buffer has bytes; when its characters do not all fit, the whole ones that
// do, NULs after them, and the count size - 1.
std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file) {
  if (!buffer || size == 0) return 0;
  const auto wide = std::make_unique<wchar_t[]>(size);
  const DWORD units = GetPrivateProfileStringW(WideArgument(section).get(), WideArgument(key).get(),
                                               WideArgument(fallback).get(), wide.get(), static_cast<DWORD>(size),
                                               WideArgument(file).get());
  const std::string value = win32::FromWide(std::wstring_view(wide.get(), std::min<std::size_t>(units, size - 1)));
  std::size_t count = 0;
  while (count < value.size()) {
    const std::size_t next = count + (IsLeadByte(static_cast<unsigned char>(value[count])) ? 2 : 1);
    if (next > size - 1) break;
    count = next;
  }
  value.copy(buffer, count);
  if (count < value.size()) {
    std::fill(buffer + count, buffer + size - 1, '\0');
    count = size - 1;
  }
  buffer[count] = '\0';
  return count;
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringW(WideArgument(section).get(), WideArgument(key).get(), WideArgument(value).get(),
                                    WideArgument(file).get()) != FALSE;
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
