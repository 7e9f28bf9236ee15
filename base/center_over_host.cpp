#include "base/center_over_host.h"

#include <algorithm>

#include "base/addin_state.h"
#include "platform/window.h"

namespace qor {

namespace {

// Within the range from low to high - size; at low when the window is larger than the range, so
// that its caption stays on the screen.
int32_t KeptWithin(int32_t at, int32_t size, int32_t low, int32_t high) { return std::max(low, std::min(at, high - size)); }

}  // namespace

void CenterOverHost(platform::WindowHandle handle, int32_t dy) {
  platform::Window window(handle);
  const platform::Window mainWindow(state.host->GetMainWindow());
  const platform::Rect outer = window.GetWindowRect();
  const int32_t width = outer.right - outer.left;
  const int32_t height = outer.bottom - outer.top;
  platform::Point centre;
  if (mainWindow.IsMinimized()) {  // its rectangles lie far off the screen: the restored place
    const platform::Rect restored = mainWindow.GetRestoredRect();
    centre = {restored.left + (restored.right - restored.left) / 2, restored.top + (restored.bottom - restored.top) / 2};
  } else {
    const platform::Rect client = mainWindow.GetClientRect();
    centre = mainWindow.ClientToScreen({client.right / 2, client.bottom / 2});
  }
  const platform::Rect work = mainWindow.GetWorkArea();
  const int32_t x = KeptWithin(centre.x - width / 2, width, work.left, work.right);
  const int32_t y = KeptWithin(centre.y - height / 2 + dy, height, work.top, work.bottom);
  window.Move(x, y, width, height, false);
}

}  // namespace qor
