// PaneCallback: the pane's window messages, the menu's commands and the host's notices.
#pragma once
#include <cstdint>

#include "base/host_abi.h"

namespace qor {

// Menu command ids.
enum Command : int {
  kToggleSelected = 1,
  kViewReceivedInOrder = 101,
  kViewReceivedById = 102,
  kViewSentInOrder = 103,
  kViewSentById = 104,
  kViewBothById = 105,
  kSubjectSearch = 110,
  kSearchNext = 111,
  kAllStock = 120,
  kRegisterIds = 130,
  kExportCsv = 131,
  kAbout = 1000,
};

intptr_t QOR_CALLBACK PaneCallback(platform::WindowHandle window, unsigned message, uintptr_t first,
                                   intptr_t second);

void ViewSwitch();    // runs the current view's listing and stores the view as PREVMODE
void RefreshMenu();   // check marks and greying
void FinishDetach();  // forgets the host (at a detach, or when the work a detach came into ends)

}  // namespace qor
