#include "search/subject_search_dialog.h"

#include "base/addin_state.h"
#include "base/center_over_host.h"
#include "res/dialog_templates.h"

namespace qor {

SubjectSearchDialog::SubjectSearchDialog() : Dialog(res::kSubjectSearchTemplate) {}

int SubjectSearchDialog::Run(std::string& text) {
  if (RunModal() != platform::kIdOk) return platform::kIdCancel;
  text = entered_;
  return platform::kIdOk;
}

bool SubjectSearchDialog::OnInit() {
  CenterOverHost(Handle(), 0);
  combo_ = platform::ComboBox(Item(res::kComboBoxControl));
  for (const std::string& text : state.searchHistory) combo_.AddString(text);
  return true;  // focus to the first tab stop, the combo box; its edit field starts empty
}

void SubjectSearchDialog::OnOk() {
  entered_ = combo_.GetText();
  // Typing leaves no list entry selected: a typed text joins the history, a picked one does not.
  if (combo_.GetCurSel() < 0) state.searchHistory.push_back(entered_);
  End(platform::kIdOk);
}

}  // namespace qor
