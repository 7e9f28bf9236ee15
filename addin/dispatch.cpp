#include "addin/dispatch.h"

#include <string>

#include "addin/addin_state.h"
#include "addin/commands.h"
#include "addin/linking.h"
#include "addin/mail_tree.h"
#include "platform/popup_menu.h"
#include "platform/profile.h"
#include "platform/tree_view.h"
#include "scan/listings.h"

namespace qor {

namespace {

constexpr char kSection[] = "SYSTEM";
constexpr char kPrevModeKey[] = "PREVMODE";
constexpr char kAllDispKey[] = "ALLDISP";

void WriteSetting(const char* key, int value) {
  platform::WriteProfileString(kSection, key, std::to_string(value).c_str(), ProfileName().c_str());
}

int ReadSetting(const char* key) { return platform::GetProfileInt(kSection, key, 0, ProfileName().c_str()); }

void OnSize() {
  platform::TreeView tree = Tree();
  if (const platform::TreeItem selected = tree.GetSelection()) {
    tree.SelectItem(nullptr);
    tree.SelectItem(selected);
  }
}

void OnNotify(intptr_t record) {
  const platform::TreeNotification notification = platform::ReadTreeNotification(record);
  if (notification.code == platform::kTVN_ITEMEXPANDINGA &&
      notification.action == static_cast<unsigned>(platform::ExpandAction::Expand)) {
    FillOnExpand(notification.itemNew);
  } else if (notification.code == platform::kTVN_SELCHANGEDA) {
    ShowSelectedItem(notification.itemNew);
  }
}

void OnActivation(uintptr_t first) {
  if (first == 0) return;
  if (state.firstActivation) {
    state.viewMode = ReadSetting(kPrevModeKey);
    state.allDisp = ReadSetting(kAllDispKey);
    if (state.viewMode == 0) state.viewMode = 1;
    RefreshMenu();
    ViewSwitch();
  }
  state.selectionSync = true;
  FollowHostView();
  state.selectionSync = false;
}

void OnCommand(int id) {
  switch (id) {
    case kToggleSelected: {
      const platform::TreeItem selected = Tree().GetSelection();
      if (!selected) return;  // no menu refresh either
      Tree().Expand(selected, platform::ExpandAction::Toggle);
      break;
    }
    case kViewReceivedInOrder:
    case kViewReceivedById:
    case kViewSentInOrder:
    case kViewSentById:
    case kViewBothById:
      state.viewMode = id - 100;
      ViewSwitch();
      break;
    case kSubjectSearch: SubjectSearch(); break;
    case kSearchNext: SearchNext(); break;
    case kAllStock:
      state.allDisp = state.allDisp == 0 ? 1 : 0;
      WriteSetting(kAllDispKey, state.allDisp);
      ViewSwitch();
      break;
    case kRegisterIds: RegisterIds(); break;
    case kExportCsv: ExportCsv(); break;
    case kAbout: ShowAboutBox(); break;
    default: break;
  }
  RefreshMenu();
}

}  // namespace

void ViewSwitch() {
  RunListing(state.viewMode);
  WriteSetting(kPrevModeKey, state.viewMode);
}

void RefreshMenu() {
  platform::PopupMenu menu(state.menu);
  for (int mode = 1; mode <= 5; ++mode) menu.Check(100 + mode, false);
  if (state.viewMode >= 1 && state.viewMode <= 5) menu.Check(100 + state.viewMode, true);
  menu.Check(kAllStock, state.allDisp != 0);
  const bool haveIds = !state.idList.empty();
  if (state.qorPresent) menu.Enable(kRegisterIds, haveIds);
  menu.Enable(kExportCsv, haveIds);
  menu.Enable(kSearchNext, !state.searchText.empty() && state.lastFound != nullptr);
}

intptr_t QOR_CALLBACK PaneCallback(platform::WindowHandle, unsigned message, uintptr_t first, intptr_t second) {
  switch (message) {
    case kWmSize: OnSize(); break;
    case kWmNotify: OnNotify(second); break;
    case kWmCommand: OnCommand(static_cast<int>(first & 0xFFFF)); break;
    case kActivationNotice: OnActivation(first); break;
    case kDiscardNotice: DiscardLine(static_cast<LinePosition>(first)); break;
    case kHeadingNotice: InsertHeadingLine(static_cast<LinePosition>(first)); break;
    default: break;
  }
  return 0;
}

}  // namespace qor
