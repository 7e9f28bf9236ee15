#include "platform/dialog.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

void ListBox::AddString(const std::string& text) { simdesk::seam::ListAddString(handle_, text); }

int ListBox::GetCount() const { return simdesk::seam::ListGetCount(handle_); }

void ListBox::SelectAll() { simdesk::seam::ListSelectAll(handle_); }

bool ListBox::IsSelected(int row) const { return simdesk::seam::ListIsSelected(handle_, row); }

}  // namespace platform
