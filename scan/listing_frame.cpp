#include "scan/listing_frame.h"

#include "addin/addin_state.h"
#include "addin/mail_tree.h"

namespace qor {

ListingFrame::ListingFrame() {
  progress_.Show();
  progress_.SetRange(ScanRange(state.allDisp != 0));
  state.firstActivation = false;
  Tree().SetRedraw(false);
  ClearTree();
  root_ = InsertRoot();
  LineCursor end;
  end.First();
  first_ = end.Position();
  end.Last();
  last_ = end.Position();
}

LineCursor ListingFrame::Start() const { return ScanStart(state.allDisp != 0); }

void ListingFrame::Finish(platform::TreeItem anchor) {
  Tree().Expand(root_, platform::ExpandAction::Expand);
  Tree().SetRedraw(true);
  state.headingAnchors[0] = anchor;
}

}  // namespace qor
