// The multiple-selection list box.
#include "platform/dialog.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

void ListBox::AddString(const std::string& text) {
  SendMessageW(Hwnd(handle_), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::ToWide(text).c_str()));
}

int ListBox::GetCount() const { return static_cast<int>(SendMessageW(Hwnd(handle_), LB_GETCOUNT, 0, 0)); }

void ListBox::SelectAll() { SendMessageW(Hwnd(handle_), LB_SETSEL, TRUE, -1); }

bool ListBox::IsSelected(int row) const { return SendMessageW(Hwnd(handle_), LB_GETSEL, row, 0) > 0; }

}  // namespace platform
