// The combo box with an edit field and a drop-down list.
#include "platform/dialog.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

void ComboBox::AddString(const std::string& text) {
  SendMessageW(Hwnd(handle_), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::ToWide(text).c_str()));
}

// The edit field's text, which is the combo box's own window text.
std::string ComboBox::GetText() const {
  const int length = GetWindowTextLengthW(Hwnd(handle_));
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(Hwnd(handle_), text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return win32::FromWide(text);
}

int ComboBox::GetCurSel() const { return static_cast<int>(SendMessageW(Hwnd(handle_), CB_GETCURSEL, 0, 0)); }

}  // namespace platform
