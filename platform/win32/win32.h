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

// The top-level window that owns the add-in's windows (platform/window.h, SetOwnerWindow), or null
// when none is named or it is gone.
HWND OwnerWindow();

// Around one modal window of the add-in (dialog, message box, save-file dialog). The system
// disables its owner and enables it again before the modal window goes, so that the owner, not
// another program, becomes active. The thread's other shown top-level windows (the host's floating
// ones; all of them when there is no owner) are disabled here for its time, and afterwards the
// focus goes back to the window that had it.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  HWND Owner() const { return owner_; }
  void Restore();  // enables the windows disabled here (once): before the modal window goes

 private:
  HWND owner_;
  HWND focus_;
  std::vector<HWND> windows_;
};

inline HWND Hwnd(WindowHandle handle) { return static_cast<HWND>(handle); }
inline HTREEITEM Hitem(TreeItem item) { return static_cast<HTREEITEM>(item); }

}  // namespace platform::win32
