// The pane's popup menu.
#include "platform/popup_menu.h"

#include "platform/win32/text.h"
#include "platform/win32/win32.h"

namespace platform {

namespace {

HMENU Hmenu(MenuHandle menu) { return static_cast<HMENU>(menu); }

}  // namespace

MenuHandle PopupMenu::Create() { return CreatePopupMenu(); }

void PopupMenu::Destroy() {
  if (handle_ && IsMenu(Hmenu(handle_))) DestroyMenu(Hmenu(handle_));
}

void PopupMenu::AppendItem(int id, const char* text) {
  AppendMenuW(Hmenu(handle_), MF_STRING, static_cast<UINT_PTR>(id), win32::ToWide(text ? text : "").c_str());
}

void PopupMenu::AppendSeparator() { AppendMenuW(Hmenu(handle_), MF_SEPARATOR, 0, nullptr); }

void PopupMenu::Check(int id, bool checked) {
  CheckMenuItem(Hmenu(handle_), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void PopupMenu::Enable(int id, bool enabled) {
  EnableMenuItem(Hmenu(handle_), static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace platform
