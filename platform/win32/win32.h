// What the Windows seam's files share: the Windows headers, the module the seam is linked into, and
// the casts between the seam's opaque handles and the Windows ones.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/platform.h"

// Names of the seam that windows.h would turn into its own "A" functions.
#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
#undef ReplaceFile

namespace platform::win32 {

// The module this code is linked into (QORMAIL.DLL), whose resources the seam loads.
HMODULE ThisModule();

// Registers the common control classes (tree view, progress bar) once.
void InitControls();

inline HWND Hwnd(WindowHandle handle) { return static_cast<HWND>(handle); }
inline HTREEITEM Hitem(TreeItem item) { return static_cast<HTREEITEM>(item); }

}  // namespace platform::win32
