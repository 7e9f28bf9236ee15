// Message boxes, without an owner window.
#include "platform/message_box.h"

#include "platform/win32/win32.h"

namespace platform {

// A box given no icon gets the exclamation mark: every button set the add-in uses calls for it.
// Task-modal: with no owner, MB_TASKMODAL is what disables the host's windows while the box is up.
Answer ShowMessageBox(const char* caption, const char* text, Buttons buttons, Icon icon) {
  static constexpr UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL};
  static constexpr UINT kIcons[] = {MB_ICONEXCLAMATION, MB_ICONEXCLAMATION, MB_ICONQUESTION};
  const UINT style = kButtons[static_cast<int>(buttons)] | kIcons[static_cast<int>(icon)] | MB_TASKMODAL;
  return static_cast<Answer>(MessageBoxA(nullptr, text ? text : "", caption ? caption : "", style));
}

}  // namespace platform
