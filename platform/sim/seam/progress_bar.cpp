#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

void ProgressBar::SetRange(int32_t lower, int32_t upper) {
  simdesk::seam::ProgressSetRange(handle_, lower, upper);
}

void ProgressBar::SetPosition(int32_t position) { simdesk::seam::ProgressSetPos(handle_, position); }

void ProgressBar::RepaintNow() {}  // the bar repaints as it takes a new position

ProgressBar::Fill ProgressBar::GetFill() const {
  const simdesk::seam::ProgressGeometry fill = simdesk::seam::ProgressFill(handle_);
  return {fill.length, fill.chunk};
}

}  // namespace platform
