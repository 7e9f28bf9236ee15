// The ID selection dialog: one row per candidate name, all selected; the user deselects the ones
// not to register.
#pragma once
#include <vector>

#include "base/addin_state.h"
#include "platform/dialog.h"

namespace qor {

class IdSelectDialog : public platform::Dialog {
 public:
  IdSelectDialog();
  // One row per entry, showing its name. 1 after OK with at least one row still selected: the
  // entries are then the selected ones in row order. 2 otherwise, entries unchanged.
  int Choose(std::vector<IdEntry>& entries);

 protected:
  bool OnInit() override;
  void OnOk() override;

 private:
  platform::ListBox list_;
  std::vector<IdEntry> entries_;
};

}  // namespace qor
