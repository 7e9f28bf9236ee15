// The progress bar, with its full 32-bit range. Its window's end reports the bar (see windows.cpp).
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

std::shared_ptr<detail::Window> FindBar(Handle bar) {
  return detail::FindWindow(bar, detail::WindowKind::ProgressBar);
}

}  // namespace

void ProgressSetRange(Handle bar, int32_t lower, int32_t upper) {
  if (const auto window = FindBar(bar)) {
    window->progress.lower = lower;
    window->progress.upper = upper;
  }
}

// Kept as sent: the report shows the last position the add-in gave.
void ProgressSetPos(Handle bar, int32_t position) {
  if (const auto window = FindBar(bar)) window->progress.position = position;
}

}  // namespace simdesk::seam
