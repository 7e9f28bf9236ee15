// A module built like the add-in (hidden visibility, the seam linked in) for the tests to load.
#include <string>

#include "platform/message_box.h"
#include "platform/module.h"

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

PROBE_EXPORT const char* ProbeModulePath() {
  static std::string path;
  path = platform::ModulePath();
  return path.c_str();
}

PROBE_EXPORT int ProbeMessageBox() {
  return static_cast<int>(
      platform::ShowMessageBox("probe", "asked", platform::Buttons::Ok, platform::Icon::Exclamation));
}
