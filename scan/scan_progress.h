// The small window every scan shows while it runs.
#pragma once
#include <chrono>
#include <cstdint>

#include "platform/dialog.h"

namespace qor {

// The bar repaints whenever it takes a new position, and no message loop runs during a scan, so
// the paint is synchronous. A scan counts far more positions than the bar has pixels and blocks:
// a position that the bar would draw just as it shows now is held back instead of sent, and the
// bar takes the last position given when the window closes.
class ScanProgress : public platform::Dialog {
 public:
  ScanProgress();  // created at once, hidden, owned by the host's window
  ~ScanProgress() override;
  void SetRange(int32_t upper);
  void SetPosition(int32_t count) {  // called for every line counted: the common case inline
    lastPosition_ = count;
    if (count < shownFrom_ || count > shownThrough_) Send(count);
    if (++uncheckedCounts_ >= kCountsPerClockCheck) KeepRespondingOnTime();
  }

 protected:
  bool OnInit() override;

 private:
  void Send(int32_t position);
  int32_t DrawnEnd(int32_t position) const;
  void ShowRunAround(int32_t position);
  void KeepRespondingOnTime();

  // The scan looks at the clock every so many counts and lets the system see the host alive
  // (platform::KeepResponding) about four times a second.
  static constexpr int kCountsPerClockCheck = 1024;
  static constexpr std::chrono::milliseconds kRespondEvery{250};
  int uncheckedCounts_ = 0;
  std::chrono::steady_clock::time_point responded_ = std::chrono::steady_clock::now();

  platform::ProgressBar bar_;
  int32_t upper_ = 100;  // the bar's own range until SetRange
  platform::ProgressBar::Fill fill_;
  // The positions the bar draws just as it shows now; none until it draws its current range.
  int32_t shownFrom_ = 1;
  int32_t shownThrough_ = 0;
  int32_t sentPosition_ = 0;   // what the bar holds
  int32_t lastPosition_ = 0;   // the last position given
};

}  // namespace qor
