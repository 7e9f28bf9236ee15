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

// The classic bar's geometry: its blocks are two thirds of the inner height wide, 2 pixels apart.
// (A themed bar, with a manifest asking for common controls 6, draws otherwise; neither host
// asks for it.)
ProgressBar::Fill ProgressBar::GetFill() const {
  RECT client{};
  GetClientRect(Hwnd(handle_), &client);
  const int32_t width = std::max<int32_t>(0, client.right - client.left - 2);
  const int32_t height = std::max<int32_t>(0, client.bottom - client.top - 2);
  const bool smooth = (GetWindowLongA(Hwnd(handle_), GWL_STYLE) & PBS_SMOOTH) != 0;
  return {width, smooth ? 1 : MulDiv(height, 2, 3) + 2};
}

}  // namespace platform
