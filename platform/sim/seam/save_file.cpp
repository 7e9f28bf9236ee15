#include <cstdio>

#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

bool AskSaveFilePath(std::string& path) { return simdesk::seam::AskSaveFile(path); }

bool ReplaceFile(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace platform
