// The progress bar, with its full 32-bit range. Its window's end reports the bar (see windows.cpp).
#include <algorithm>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

std::shared_ptr<detail::Window> FindBar(Handle bar) {
  return detail::FindWindow(bar, detail::WindowKind::ProgressBar);
}

// The bar keeps its position inside its range, as comctl32 does: first up to the lower bound,
// then down to the upper one (which wins when the range is upside down).
void KeepInRange(detail::ProgressBarState& bar) {
  if (bar.position < bar.lower) bar.position = bar.lower;
  if (bar.position > bar.upper) bar.position = bar.upper;
}

}  // namespace

void ProgressSetRange(Handle bar, int32_t lower, int32_t upper) {
  if (const auto window = FindBar(bar)) {
    window->progress.lower = lower;
    window->progress.upper = upper;
    KeepInRange(window->progress);
  }
}

// A position past either end of the range shows as that end, and reads back as it. Like the real
// bar, any position other than the one held repaints it, even one that draws the same.
void ProgressSetPos(Handle bar, int32_t position) {
  if (const auto window = FindBar(bar)) {
    if (position == window->progress.position) return;
    window->progress.position = position;
    KeepInRange(window->progress);
    ++window->progress.repaints;
  }
}

ProgressGeometry ProgressFill(Handle bar) {
  Rect client;
  if (!FindBar(bar) || !GetClientRect(bar, client)) return {};
  const int32_t height = std::max(0, client.bottom - 2);
  return {std::max(0, client.right - 2), (height * 2 + 1) / 3 + 2};
}

}  // namespace simdesk::seam

namespace simdesk {

ProgressPaints LastProgressPaints() { return detail::TheDesktop().lastProgressPaints; }

}  // namespace simdesk
