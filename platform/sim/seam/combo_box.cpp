#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

void ComboBox::AddString(const std::string& text) { simdesk::seam::ComboAddString(handle_, text); }

std::string ComboBox::GetText() const { return simdesk::seam::ComboGetText(handle_); }

int ComboBox::GetCurSel() const { return simdesk::seam::ComboGetCurSel(handle_); }

}  // namespace platform
