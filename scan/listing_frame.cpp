#include "scan/listing_frame.h"

#include <utility>

#include "base/addin_state.h"
#include "base/mail_tree.h"

namespace qor {

ListingFrame::ListingFrame() {
  progress_.Show();
  progress_.SetRange(ScanRange(state.allDisp));
  redrawPause_.Pause();
  ClearTree();
  root_ = InsertRoot();
  LineCursor end;
  end.First();
  first_ = end.Position();
  end.Last();
  last_ = end.Position();
}

LineCursor ListingFrame::Start() const { return ScanStart(state.allDisp); }

void ListingFrame::Finish(platform::TreeItem anchor) {
  Tree().Expand(root_, platform::ExpandAction::Expand);
  redrawPause_.Resume();
  state.headingAnchors[0] = anchor;
}

void ListingFrame::RedrawPause::Pause() {
  Tree().SetRedraw(false);
  paused_ = true;
}

void ListingFrame::RedrawPause::Resume() noexcept {
  if (!std::exchange(paused_, false)) return;
  Tree().SetRedraw(true);
}

}  // namespace qor
