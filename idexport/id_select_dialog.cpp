#include "idexport/id_select_dialog.h"

#include "base/center_over_host.h"
#include "res/dialog_templates.h"

namespace qor {

IdSelectDialog::IdSelectDialog() : Dialog(res::kIdSelectTemplate) {}

int IdSelectDialog::Choose(std::vector<IdEntry>& entries) {
  entries_ = entries;
  if (RunModal() != platform::kIdOk) return platform::kIdCancel;
  entries = entries_;
  return platform::kIdOk;
}

bool IdSelectDialog::OnInit() {
  CenterOverHost(Handle(), 0);
  list_ = platform::ListBox(Item(res::kListBoxControl));
  for (const IdEntry& entry : entries_) list_.AddString(entry.name);
  list_.SelectAll();
  return true;
}

void IdSelectDialog::OnOk() {
  std::vector<IdEntry> kept;
  for (std::size_t row = 0; row < entries_.size(); ++row) {
    if (list_.IsSelected(static_cast<int>(row))) kept.push_back(entries_[row]);
  }
  entries_ = std::move(kept);
  End(entries_.empty() ? platform::kIdCancel : platform::kIdOk);
}

}  // namespace qor
