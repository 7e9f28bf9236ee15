// The progress bar, with its full 32-bit range. Its window's end reports the bar (see windows.cpp).
#include <algorithm>

#include "platform/dialog.h"
#include "platform/sim/desktop/state.h"
#include "platform/window.h"

namespace platform {
namespace {

using desktop::detail::FindWindow;

std::shared_ptr<desktop::detail::Window> FindBar(WindowHandle bar) {
  return FindWindow(bar, desktop::detail::WindowKind::ProgressBar);
}

// The bar keeps its position inside its range, as comctl32 does: first up to the lower bound,
// then down to the upper one (which wins when the range is upside down).
void KeepInRange(desktop::detail::ProgressBarState& bar) {
  if (bar.position < bar.lower) bar.position = bar.lower;
  if (bar.position > bar.upper) bar.position = bar.upper;
}

}  // namespace

void ProgressBar::SetRange(int32_t lower, int32_t upper) {
  if (const auto window = FindBar(handle_)) {
    window->progress.lower = lower;
    window->progress.upper = upper;
    KeepInRange(window->progress);
  }
}

// A position past either end of the range shows as that end, and reads back as it. Like the real
// bar, any position other than the one held repaints it, even one that draws the same.
void ProgressBar::SetPosition(int32_t position) {
  if (const auto window = FindBar(handle_)) {
    if (position == window->progress.position) return;
    window->progress.position = position;
    KeepInRange(window->progress);
    ++window->progress.repaints;
  }
}

void ProgressBar::RepaintNow() {}  // the bar repaints as it takes a new position

// The classic bar's fill: the client area less a one-pixel frame, in blocks two thirds of its
// height wide with a 2-pixel gap.
ProgressBar::Fill ProgressBar::GetFill() const {
  if (!FindBar(handle_)) return {};
  const Rect client = Window(handle_).GetClientRect();
  const int32_t height = std::max(0, client.bottom - 2);
  return {std::max(0, client.right - 2), (height * 2 + 1) / 3 + 2};
}

}  // namespace platform

namespace desktop {

ProgressPaints LastProgressPaints() { return detail::TheDesktop().lastProgressPaints; }

}  // namespace desktop
