// PaneCallback: the pane's window messages, the menu's commands and the host's notices.
#pragma once
#include <cstdint>

#include "base/host_abi.h"
#include "base/pane_commands.h"

namespace qor {

intptr_t QOR_CALLBACK PaneCallback(platform::WindowHandle window, unsigned message, uintptr_t first,
                                   intptr_t second);

// A fresh attachment: its first activation reads PREVMODE and ALLDISP and lists the view, unless a
// listing has run before it.
void ExpectFirstActivation();
void ViewSwitch();    // runs the current view's listing and stores the view as PREVMODE
void RefreshMenu();   // check marks and greying
void FinishDetach();  // forgets the host (at a detach, or when the work a detach came into ends)

}  // namespace qor
