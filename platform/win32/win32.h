// What the Windows seam's files share: the Windows headers, the module the seam is linked into, and
// the casts between the seam's opaque handles and the Windows ones.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

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

// Disables the shown top-level windows of this thread (the host's) for its lifetime, as a message
// box with MB_TASKMODAL does: the add-in's dialogs have no owner, and nothing else would keep the
// user out of the host's menus and panes while they run.
class HostWindowsDisabled {
 public:
  HostWindowsDisabled();
  ~HostWindowsDisabled();
  HostWindowsDisabled(const HostWindowsDisabled&) = delete;
  HostWindowsDisabled& operator=(const HostWindowsDisabled&) = delete;
  void Restore();           // enables them again (once)
  void Reactivate() const;  // the window that was active before becomes active again

 private:
  std::vector<HWND> windows_;
  HWND active_;
};

inline HWND Hwnd(WindowHandle handle) { return static_cast<HWND>(handle); }
inline HTREEITEM Hitem(TreeItem item) { return static_cast<HTREEITEM>(item); }

}  // namespace platform::win32
