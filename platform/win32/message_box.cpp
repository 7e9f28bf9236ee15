// Message boxes, owned by the host's top-level window.
#include "platform/message_box.h"

#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

// The owner is disabled by the box itself; with no owner, MB_TASKMODAL disables the thread's windows.
Answer ShowMessageBox(const char* caption, const char* text, Buttons buttons, Icon icon) {
  static constexpr UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL};
  static constexpr UINT kIcons[] = {MB_ICONEXCLAMATION, MB_ICONQUESTION};
  const win32::ModalScope scope;
  const UINT modality = scope.Owner() ? MB_APPLMODAL : MB_TASKMODAL;
  const UINT style = kButtons[static_cast<int>(buttons)] | kIcons[static_cast<int>(icon)] | modality;
  const std::wstring wideText = win32::ToWide(text ? text : "");
  const std::wstring wideCaption = win32::ToWide(caption ? caption : "");
  return static_cast<Answer>(MessageBoxW(scope.Owner(), wideText.c_str(), wideCaption.c_str(), style));
}

}  // namespace platform
