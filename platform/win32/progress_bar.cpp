// The progress bar, with a 32-bit range.
#include <algorithm>

#include "platform/dialog.h"
#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

void ProgressBar::SetRange(int32_t lower, int32_t upper) { SendMessageA(Hwnd(handle_), PBM_SETRANGE32, lower, upper); }

void ProgressBar::SetPosition(int32_t position) { SendMessageA(Hwnd(handle_), PBM_SETPOS, position, 0); }

// No message loop runs during a scan: the bar paints itself now.
void ProgressBar::RepaintNow() { UpdateWindow(Hwnd(handle_)); }

int32_t ProgressBar::FillLength() const {
  RECT client{};
  GetClientRect(Hwnd(handle_), &client);
  return std::max<int32_t>(0, client.right - client.left - 2);
}

}  // namespace platform
