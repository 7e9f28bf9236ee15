#include "idexport/id_select_dialog.h"

#include "res/dialog_templates.h"
#include "scan/scan_progress.h"

namespace qor {

IdSelectDialog::IdSelectDialog() : Dialog(res::kIdSelectTemplate) {}

int IdSelectDialog::Choose(std::vector<std::string>& names, std::vector<std::string>& ids) {
  names_ = names;
  ids_ = ids;
  if (RunModal() != platform::kIdOk) return platform::kIdCancel;
  names = names_;
  ids = ids_;
  return platform::kIdOk;
}

bool IdSelectDialog::OnInit() {
  CenterOverHost(Handle(), 0);
  list_ = platform::ListBox(Item(res::kListBoxControl));
  for (const std::string& name : names_) list_.AddString(name);
  list_.SelectAll();
  return true;
}

void IdSelectDialog::OnOk() {
  std::vector<std::string> keptNames, keptIds;
  for (std::size_t row = 0; row < names_.size(); ++row) {
    if (!list_.IsSelected(static_cast<int>(row))) continue;
    keptNames.push_back(names_[row]);
    keptIds.push_back(ids_[row]);
  }
  names_ = std::move(keptNames);
  ids_ = std::move(keptIds);
  End(names_.empty() ? platform::kIdCancel : platform::kIdOk);
}

}  // namespace qor
