// The ID selection dialog: one row per candidate name, all selected; the user deselects the ones
// not to register.
#pragma once
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace qor {

class IdSelectDialog : public platform::Dialog {
 public:
  IdSelectDialog();
  // 1 after OK with at least one row still selected: the lists then hold the selected entries in
  // row order. 2 otherwise, lists unchanged.
  int Choose(std::vector<std::string>& names, std::vector<std::string>& ids);

 protected:
  bool OnInit() override;
  void OnOk() override;

 private:
  platform::ListBox list_;
  std::vector<std::string> names_;
  std::vector<std::string> ids_;
};

}  // namespace qor
