// Dialogs from the module's templates: DialogBoxParam and CreateDialogParam, without an owner
// window, with one dialog procedure that hands the initialisation and the OK and Cancel commands
// to the Dialog object.
#include "platform/dialog.h"

#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

namespace {

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    dialog->Attach(window);
    return dialog->HandleInit() ? TRUE : FALSE;
  }
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!dialog) return FALSE;
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

}  // namespace

Dialog::~Dialog() {
  if (handle_ && IsWindow(Hwnd(handle_))) DestroyWindow(Hwnd(handle_));
}

int Dialog::RunModal() {
  win32::InitControls();
  const INT_PTR result = DialogBoxParamA(win32::ThisModule(), MAKEINTRESOURCEA(templateId_), nullptr,
                                         DialogProc, reinterpret_cast<LPARAM>(this));
  handle_ = nullptr;  // gone with the modal loop
  return static_cast<int>(result);
}

bool Dialog::CreateModeless() {
  win32::InitControls();
  return CreateDialogParamA(win32::ThisModule(), MAKEINTRESOURCEA(templateId_), nullptr, DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Show() { ShowWindow(Hwnd(handle_), SW_SHOW); }

void Dialog::End(int result) { EndDialog(Hwnd(handle_), result); }

WindowHandle Dialog::Item(int controlId) const { return GetDlgItem(Hwnd(handle_), controlId); }

}  // namespace platform
