// The tree and the host's log view follow each other; heading lines of the log hang in the tree.
#pragma once
#include "base/host_abi.h"
#include "platform/platform.h"

namespace qor {

// Selection changes the add-in makes itself while this lives are not sent to the host's view.
class SelectionSyncScope {
 public:
  SelectionSyncScope();
  ~SelectionSyncScope();
  SelectionSyncScope(const SelectionSyncScope&) = delete;
  SelectionSyncScope& operator=(const SelectionSyncScope&) = delete;

 private:
  bool was_;
};

void ShowSelectedItem(platform::TreeItem item);   // the tree reports a new selection
void FollowHostView();                            // select the item nearest above the view line
void FillOnExpand(platform::TreeItem item);       // a top heading opens: insert its headings
void InsertHeadingLine(LinePosition position);    // the host announces a new heading line
void DiscardLine(LinePosition position);          // the host dropped its oldest line

}  // namespace qor
