// Attach and detach: the image list, the tree pane, QOR.DAT, the popup menu, the registration.
#pragma once
#include "base/host_abi.h"

namespace qor {

int Attach(HostInterface* host);  // 1 when attached, 0 when the pane could not be made or registered
int Detach();

}  // namespace qor
