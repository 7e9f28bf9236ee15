// The progress bar, with a 32-bit range.
#include "platform/dialog.h"
#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

void ProgressBar::SetRange(int32_t lower, int32_t upper) { SendMessageA(Hwnd(handle_), PBM_SETRANGE32, lower, upper); }

void ProgressBar::SetPosition(int32_t position) { SendMessageA(Hwnd(handle_), PBM_SETPOS, position, 0); }

// No message loop runs during a scan: the bar paints itself now.
void ProgressBar::RepaintNow() { UpdateWindow(Hwnd(handle_)); }

}  // namespace platform
