// What test programs reach inside the Windows seam (tests/wine/win32_seam_test.cpp): the kernel32
// call that puts the CSV export in place, held in a variable so that a test can put in its place
// one that fails as Windows may, the name of the profile lock, and the split of the module's path.
#pragma once
#include <string>
#include <string_view>

#include "platform/module.h"

#include "platform/win32/win32.h"

namespace platform::win32 {

using ReplaceFileCall = BOOL(WINAPI*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                                      LPVOID exclude, LPVOID reserved);
extern ReplaceFileCall replaceFile;  // ReplaceFileW

std::string ProfileLockName(const char* file);  // the mutex's name, in the session's namespace

ModuleFile SplitModulePath(std::wstring_view path);  // at the last backslash, then to code page 932

}  // namespace platform::win32
