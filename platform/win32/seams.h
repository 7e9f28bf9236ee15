// What test programs reach inside the Windows seam (tests/wine/win32_seam_test.cpp): the kernel32
// call that puts the CSV export in place, held in a variable so that a test can put in its place
// one that fails as Windows may, and the name of the profile lock.
#pragma once
#include <string>

#include "platform/win32/win32.h"

namespace platform::win32 {

using ReplaceFileCall = BOOL(WINAPI*)(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags,
                                      LPVOID exclude, LPVOID reserved);
extern ReplaceFileCall replaceFile;  // ReplaceFileA

std::string ProfileLockName(const char* file);  // the mutex's name, in the session's namespace

}  // namespace platform::win32
