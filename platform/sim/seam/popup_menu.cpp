#include "platform/popup_menu.h"

#include "platform/sim/desktop_internal.h"

namespace platform {

MenuHandle PopupMenu::Create() { return simdesk::seam::CreatePopupMenu(); }

void PopupMenu::Destroy() { simdesk::seam::DestroyMenu(handle_); }

void PopupMenu::AppendItem(int id, const char* text) {
  simdesk::seam::MenuAppendItem(handle_, id, text ? text : "");
}

void PopupMenu::AppendSeparator() { simdesk::seam::MenuAppendSeparator(handle_); }

void PopupMenu::Check(int id, bool checked) { simdesk::seam::MenuCheck(handle_, id, checked); }

void PopupMenu::Enable(int id, bool enabled) { simdesk::seam::MenuEnable(handle_, id, enabled); }

}  // namespace platform
