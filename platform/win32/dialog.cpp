// Dialogs from the module's templates: DialogBoxParam and CreateDialogParam, without an owner
// window, with one dialog procedure that hands the initialisation and the OK and Cancel commands
// to the Dialog object.
#include "platform/dialog.h"

#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

namespace win32 {

namespace {

BOOL CALLBACK DisableIfShown(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

}  // namespace

HostWindowsDisabled::HostWindowsDisabled() : active_(GetActiveWindow()) {
  EnumThreadWindows(GetCurrentThreadId(), DisableIfShown, reinterpret_cast<LPARAM>(&windows_));
}

HostWindowsDisabled::~HostWindowsDisabled() { Restore(); }

void HostWindowsDisabled::Restore() {
  for (const HWND window : windows_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  windows_.clear();
}

void HostWindowsDisabled::Reactivate() const {
  if (active_ && IsWindow(active_) && IsWindowEnabled(active_)) SetActiveWindow(active_);
}

}  // namespace win32

namespace {

// The one modal dialog running, whose End gives the host its windows back before the dialog goes
// (so that the host, not another program, becomes active again).
Dialog* modalDialog = nullptr;
win32::HostWindowsDisabled* modalKeeper = nullptr;

INT_PTR HandleMessage(Dialog* dialog, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    dialog->Attach(window);
    return dialog->HandleInit() ? TRUE : FALSE;
  }
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam);
    if (id == IDOK || id == IDCANCEL) {
      dialog->HandleCommand(id);
      return TRUE;
    }
  } else if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
  }
  return FALSE;
}

// No exception may leave: user32's frames lie between here and the add-in. A handler that throws
// ends the dialog; the exception is thrown again when the dialog call returns.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* dialog = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lparam)
                                          : reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!dialog) return FALSE;
  try {
    return HandleMessage(dialog, window, message, wparam, lparam);
  } catch (...) {
    dialog->HoldFailure(std::current_exception());
    if (modalKeeper && dialog == modalDialog) modalKeeper->Restore();
    EndDialog(window, IDCANCEL);
    return FALSE;
  }
}

}  // namespace

Dialog::~Dialog() {
  if (handle_ && IsWindow(Hwnd(handle_))) DestroyWindow(Hwnd(handle_));
}

// Without an owner nothing would keep the user out of the host while the dialog runs: the host's
// windows are disabled for its time, as an owner would be.
int Dialog::RunModal() {
  win32::InitControls();
  win32::HostWindowsDisabled keeper;
  Dialog* const outerDialog = std::exchange(modalDialog, this);
  win32::HostWindowsDisabled* const outerKeeper = std::exchange(modalKeeper, &keeper);
  const INT_PTR result = DialogBoxParamA(win32::ThisModule(), MAKEINTRESOURCEA(templateId_), nullptr,
                                         DialogProc, reinterpret_cast<LPARAM>(this));
  modalDialog = outerDialog;
  modalKeeper = outerKeeper;
  handle_ = nullptr;  // gone with the modal loop
  keeper.Restore();
  RethrowHeldFailure();
  return static_cast<int>(result);
}

bool Dialog::CreateModeless() {
  win32::InitControls();
  const bool created = CreateDialogParamA(win32::ThisModule(), MAKEINTRESOURCEA(templateId_), nullptr,
                                          DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
  RethrowHeldFailure();
  return created;
}

void Dialog::Show() { ShowWindow(Hwnd(handle_), SW_SHOW); }

void Dialog::End(int result) {
  if (modalKeeper && modalDialog == this) modalKeeper->Restore();
  EndDialog(Hwnd(handle_), result);
}

WindowHandle Dialog::Item(int controlId) const { return GetDlgItem(Hwnd(handle_), controlId); }

}  // namespace platform
