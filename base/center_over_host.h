// Where every add-in window goes: the dialogs and the scan progress window are created without a
// parent window and place themselves over the host's main window.
#pragma once
#include <cstdint>

#include "platform/platform.h"

namespace qor {

// Centres the window over the client area of the host's main window (over its restored place when
// it is minimised), then moves it down by dy, keeping it within the work area of the monitor the
// host is on.
void CenterOverHost(platform::WindowHandle window, int32_t dy);

}  // namespace qor
