#include "scan/scan_progress.h"

#include "addin/addin_state.h"
#include "platform/window.h"
#include "res/dialog_templates.h"

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

ScanProgress::ScanProgress() : Dialog(res::kScanProgressTemplate) { CreateModeless(); }

bool ScanProgress::OnInit() {
  CenterOverHost(Handle(), 0);
  bar_ = platform::ProgressBar(Item(res::kProgressBarControl));
  return false;  // the window takes no focus for a control
}

void ScanProgress::SetRange(int32_t upper) { bar_.SetRange(0, upper); }

void ScanProgress::SetPosition(int32_t count) {
  bar_.SetPosition(count);
  bar_.RepaintNow();
}

}  // namespace qor
