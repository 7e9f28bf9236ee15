#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

bool AskSaveFilePath(std::string& path) { return simdesk::seam::AskSaveFile(path); }

}  // namespace platform
