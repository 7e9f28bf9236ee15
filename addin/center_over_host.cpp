#include "addin/center_over_host.h"

#include "addin/addin_state.h"
#include "platform/window.h"

namespace qor {

void CenterOverHost(platform::WindowHandle handle, int32_t dy) {
  platform::Window window(handle);
  const platform::Window mainWindow(state.host->GetMainWindow());
  const platform::Rect outer = window.GetWindowRect();
  const int32_t width = outer.right - outer.left;
  const int32_t height = outer.bottom - outer.top;
  const platform::Rect client = mainWindow.GetClientRect();
  const platform::Point centre = mainWindow.ClientToScreen({client.right / 2, client.bottom / 2});
  window.Move(centre.x - width / 2, centre.y - height / 2 + dy, width, height, false);
}

}  // namespace qor
