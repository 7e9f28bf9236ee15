// The small window every scan shows while it runs, and the placement of every add-in window over
// the host's main window.
#pragma once
#include <cstdint>

#include "platform/dialog.h"

namespace qor {

// Centres the window over the client area of the host's main window, then moves it down by dy.
// No clamping to the screen.
void CenterOverHost(platform::WindowHandle window, int32_t dy);

class ScanProgress : public platform::Dialog {
 public:
  ScanProgress();  // created at once, hidden, without a parent window
  void SetRange(int32_t upper);
  void SetPosition(int32_t count);  // repaints the bar at once: no message loop runs in a scan

 protected:
  bool OnInit() override;

 private:
  platform::ProgressBar bar_;
};

}  // namespace qor
