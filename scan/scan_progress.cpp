#include "scan/scan_progress.h"

#include <algorithm>
#include <climits>

#include "base/center_over_host.h"
#include "platform/window.h"
#include "res/dialog_templates.h"

namespace qor {

ScanProgress::ScanProgress() : Dialog(res::kScanProgressTemplate) { CreateModeless(); }

bool ScanProgress::OnInit() {
  CenterOverHost(Handle(), 0);
  bar_ = platform::ProgressBar(Item(res::kProgressBarControl));
  return false;  // the window takes no focus for a control
}

ScanProgress::~ScanProgress() {
  if (lastPosition_ != sentPosition_) bar_.SetPosition(lastPosition_);
}

void ScanProgress::SetRange(int32_t upper) {
  bar_.SetRange(0, upper);
  upper_ = upper;
  fill_ = bar_.GetFill();
  shownFrom_ = 1;
  shownThrough_ = 0;
}

void ScanProgress::Send(int32_t position) {
  bar_.SetPosition(position);
  bar_.RepaintNow();
  sentPosition_ = position;
  ShowRunAround(position);
}

void ScanProgress::KeepRespondingOnTime() {
  uncheckedCounts_ = 0;
  const auto now = std::chrono::steady_clock::now();
  if (now - responded_ < kRespondEvery) return;
  responded_ = now;
  platform::KeepResponding();
}

// The drawn end never falls as the position rises, so the positions drawn alike form one run:
// found by halving, once for each repaint, and not computed again for every count.
void ScanProgress::ShowRunAround(int32_t position) {
  const int32_t end = DrawnEnd(position);
  // A scan counts upwards: its next run starts after the last one.
  const bool after = shownFrom_ <= shownThrough_ && position > shownThrough_;
  int64_t low = after ? int64_t{shownThrough_} + 1 : INT32_MIN, high = position;
  while (low < high) {
    const int64_t middle = low + (high - low) / 2;
    DrawnEnd(static_cast<int32_t>(middle)) == end ? high = middle : low = middle + 1;
  }
  shownFrom_ = static_cast<int32_t>(low);
  // Every position from the upper bound on is drawn as the upper bound.
  low = position, high = std::max(position, upper_);
  while (low < high) {
    const int64_t middle = low + (high - low + 1) / 2;
    DrawnEnd(static_cast<int32_t>(middle)) == end ? low = middle : high = middle - 1;
  }
  shownThrough_ = low >= upper_ ? INT32_MAX : static_cast<int32_t>(low);
}

// Where the drawn fill ends, computed as the bar does: the position kept inside the range
// 0 .. upper, scaled to the fill's length and rounded to the nearest pixel, then carried to the
// end of the block it reaches into.
int32_t ScanProgress::DrawnEnd(int32_t position) const {
  const int64_t span = upper_;
  if (span <= 0) return 0;  // every position is kept at the upper bound
  const int64_t kept = std::clamp<int64_t>(position, 0, span);
  const int64_t end = (kept * fill_.length + span / 2) / span;
  const int64_t chunk = std::max(fill_.chunk, 1);
  return static_cast<int32_t>(std::min<int64_t>((end + chunk - 1) / chunk * chunk, fill_.length));
}

}  // namespace qor
