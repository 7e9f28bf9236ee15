// Dialogs from the module's templates: DialogBoxParam and CreateDialogParam, owned by the host's
// top-level window, with one dialog procedure that hands the initialisation and the OK and Cancel
// commands to the Dialog object.
#include "platform/dialog.h"

#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

namespace win32 {

namespace {

struct Disabling {
  std::vector<HWND>* windows;
  HWND owner;
};

// Called by user32: nothing may leave. A window is recorded before it is disabled, so that none
// stays disabled unrecorded; without memory to record it the enumeration stops.
BOOL CALLBACK DisableIfShown(HWND window, LPARAM context) {
  try {
    const auto& disabling = *reinterpret_cast<const Disabling*>(context);
    if (window == disabling.owner || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    disabling.windows->push_back(window);
    EnableWindow(window, FALSE);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

ModalScope::ModalScope() : owner_(OwnerWindow()), focus_(GetFocus()) {
  Disabling disabling{&windows_, owner_};
  EnumThreadWindows(GetCurrentThreadId(), DisableIfShown, reinterpret_cast<LPARAM>(&disabling));
}

ModalScope::~ModalScope() {
  Restore();
  if (focus_ && IsWindow(focus_) && IsWindowEnabled(GetAncestor(focus_, GA_ROOT)) && GetFocus() != focus_) {
    SetFocus(focus_);
  }
}

void ModalScope::Restore() {
  for (const HWND window : windows_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  windows_.clear();
}

}  // namespace win32

namespace {

// The one modal dialog running, whose End gives the host its windows back before the dialog goes.
Dialog* modalDialog = nullptr;
win32::ModalScope* modalScope = nullptr;

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
  try {
    auto* dialog = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lparam)
                                            : reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    try {
      return HandleMessage(dialog, window, message, wparam, lparam);
    } catch (...) {
      dialog->HoldFailure(std::current_exception());
      if (modalScope && dialog == modalDialog) modalScope->Restore();
      EndDialog(window, IDCANCEL);
      return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

Dialog::~Dialog() {
  if (handle_ && IsWindow(Hwnd(handle_))) DestroyWindow(Hwnd(handle_));
}

int Dialog::RunModal() {
  win32::InitControls();
  win32::ModalScope scope;
  Dialog* const outerDialog = std::exchange(modalDialog, this);
  win32::ModalScope* const outerScope = std::exchange(modalScope, &scope);
  const INT_PTR result = DialogBoxParamW(win32::ThisModule(), MAKEINTRESOURCEW(templateId_), scope.Owner(),
                                         DialogProc, reinterpret_cast<LPARAM>(this));
  modalDialog = outerDialog;
  modalScope = outerScope;
  handle_ = nullptr;  // gone with the modal loop
  scope.Restore();
  RethrowHeldFailure();
  return static_cast<int>(result);
}

bool Dialog::CreateModeless() {
  win32::InitControls();
  const bool created = CreateDialogParamW(win32::ThisModule(), MAKEINTRESOURCEW(templateId_), win32::OwnerWindow(),
                                          DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
  RethrowHeldFailure();
  return created;
}

// The host keeps the activation (and its window the focus) while the window shows.
void Dialog::Show() { ShowWindow(Hwnd(handle_), SW_SHOWNOACTIVATE); }

void Dialog::End(int result) {
  if (modalScope && modalDialog == this) modalScope->Restore();
  EndDialog(Hwnd(handle_), result);
}

WindowHandle Dialog::Item(int controlId) const { return GetDlgItem(Hwnd(handle_), controlId); }

}  // namespace platform
