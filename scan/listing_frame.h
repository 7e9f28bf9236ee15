// What every listing does around its own scan: the progress window and its counter, the fresh
// tree with its root, the start of the scan range, and the closing steps.
#pragma once
#include <cstdint>

#include "base/line_cursor.h"
#include "platform/tree_view.h"
#include "scan/scan_progress.h"

namespace qor {

class ListingFrame {
 public:
  // Shows the progress window with its range, empties the tree and inserts the root. The tree does not redraw until Finish.
  ListingFrame();

  LineCursor Start() const;  // First, or 10000 lines above the last line unless ALLDISP
  // The log does not change while a listing runs (all of it within one call from the host), so
  // its first and last lines are read once, not asked of the host on every line.
  bool AtFirstLine(const LineCursor& cursor) const { return cursor.Equals(first_); }
  bool AtLastLine(const LineCursor& cursor) const { return cursor.Equals(last_); }
  void Count() { progress_.SetPosition(++counter_); }  // the progress counter moves on, the bar with it
  platform::TreeItem Root() const { return root_; }
  // Expands the root and makes `anchor` (the last mail or group item, or none) the level-0
  // heading anchor. The progress window closes when the frame goes.
  void Finish(platform::TreeItem anchor);

 private:
  // Keeps the tree from redrawing from Pause on, until Resume or until the frame goes, also when
  // the listing fails half-way: a tree left without redraw would keep showing a stale picture.
  class RedrawPause {
   public:
    RedrawPause() = default;
    ~RedrawPause() { Resume(); }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;
    void Pause();
    void Resume() noexcept;

   private:
    bool paused_ = false;
  };

  ScanProgress progress_;
  RedrawPause redrawPause_;  // after progress_: the tree redraws again before the progress window closes
  int32_t counter_ = 0;
  platform::TreeItem root_ = nullptr;
  LinePosition first_ = 0;
  LinePosition last_ = 0;
};

}  // namespace qor
