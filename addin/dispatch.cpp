#include "addin/dispatch.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "addin/about_box.h"
#include "addin/linking.h"
#include "base/addin_state.h"
#include "base/mail_tree.h"
#include "idexport/csv_export.h"
#include "idexport/id_registration.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"
#include "platform/profile.h"
#include "platform/tree_view.h"
#include "res/texts.h"
#include "scan/listings.h"
#include "search/subject_search.h"

namespace qor {

namespace {

constexpr char kSection[] = "SYSTEM";
constexpr char kPrevModeKey[] = "PREVMODE";
constexpr char kAllDispKey[] = "ALLDISP";

void WriteSetting(const char* key, int value) {
  platform::WriteProfileString(kSection, key, std::to_string(value).c_str(), ProfileName().c_str());
}

int ReadSetting(const char* key) { return platform::GetProfileInt(kSection, key, 0, ProfileName().c_str()); }

// The menu's text for a command: the name a failure box gives it.
const char* CommandName(int id) {
  switch (id) {
    case kViewReceivedInOrder: return res::kMenuReceivedInOrder;
    case kViewReceivedById: return res::kMenuReceivedById;
    case kViewSentInOrder: return res::kMenuSentInOrder;
    case kViewSentById: return res::kMenuSentById;
    case kViewBothById: return res::kMenuBothById;
    case kSubjectSearch: return res::kMenuSubjectSearch;
    case kSearchNext: return res::kMenuSearchNext;
    case kAllStock: return res::kMenuAllStock;
    case kRegisterIds: return res::kMenuRegisterIds;
    case kExportCsv: return res::kMenuExportCsv;
    case kAbout: return res::kMenuAbout;
    default: return nullptr;
  }
}

int droppedListing = 0;  // the view whose listing the last failure dropped, 0 for none

void OnSize() {
  platform::TreeView tree = Tree();
  if (const platform::TreeItem selected = tree.GetSelection()) {
    tree.SelectItem(nullptr);
    tree.SelectItem(selected);
  }
}

void OnNotify(intptr_t record) {
  const platform::TreeNotification notification = platform::ReadTreeNotification(record);
  switch (notification.event) {
    case platform::TreeEvent::Expanding:
      if (notification.action == platform::ExpandAction::Expand) FillOnExpand(notification.item);
      break;
    case platform::TreeEvent::SelectionChanged: ShowSelectedItem(notification.item); break;
    case platform::TreeEvent::Other: break;
  }
}

void OnActivation(uintptr_t first) {
  if (first == 0) return;
  if (state.firstActivation) {
    state.viewMode = ReadSetting(kPrevModeKey);
    state.allDisp = ReadSetting(kAllDispKey) != 0;
    if (state.viewMode == 0) state.viewMode = 1;
    RefreshMenu();
    ViewSwitch();
  }
  const SelectionSyncScope sync;
  FollowHostView();
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
      state.viewMode = ViewOfCommand(id);
      ViewSwitch();
      break;
    case kSubjectSearch: SubjectSearch(); break;
    case kSearchNext: SearchNext(); break;
    case kAllStock:
      state.allDisp = !state.allDisp;
      WriteSetting(kAllDispKey, state.allDisp ? 1 : 0);
      ViewSwitch();
      break;
    case kRegisterIds: RegisterIds(); break;
    case kExportCsv: ExportCsv(); break;
    case kAbout: ShowAboutBox(); break;
    default: break;
  }
  RefreshMenu();
}

void ApplyNotice(unsigned message, uintptr_t first) {
  if (message == kDiscardNotice) DiscardLine(static_cast<LinePosition>(first));
  if (message == kHeadingNotice) InsertHeadingLine(static_cast<LinePosition>(first));
}

// A box names what stopped and why; the add-in goes on with the next call. Nothing of it may
// throw in turn.
void ReportFailure(const std::exception_ptr& failure, const char* name) noexcept {
  try {
    std::string text = name ? std::string(res::kFailedNameOpen) + name + res::kFailedNameClose : res::kFailedWork;
    try {
      std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
      text += res::kOutOfMemory;
    } catch (...) {
      text += res::kUnexpectedError;
    }
    ShowBox(text);
  } catch (...) {
  }
  try {
    RefreshMenu();
  } catch (...) {
  }
}

void HoldFailure() noexcept {
  if (!state.heldFailure) state.heldFailure = std::current_exception();
}

// Runs one piece of work and reports what failed in it, or in the calls nested in it.
template <class Work>
void Attempt(Work&& work, const char* name) noexcept {
  droppedListing = 0;
  try {
    work();
  } catch (...) {
    HoldFailure();
  }
  if (!state.heldFailure) return;
  const std::exception_ptr failure = std::exchange(state.heldFailure, nullptr);
  ReportFailure(failure, droppedListing != 0 ? CommandName(ViewCommand(droppedListing)) : name);
}

bool Attached() { return state.host != nullptr && !state.detachPending; }

// A call of the host's handled as the add-in's work: the host is kept out until it ends (calls
// that re-enter meanwhile are ignored or held), then the notices held meanwhile are applied in
// the order they came.
template <class Work>
void RunAsWork(Work&& work, const char* name) noexcept {
  ++state.busy;
  Attempt(work, name);
  while (!state.heldNotices.empty() && Attached()) {
    const HeldNotice notice = state.heldNotices.front();
    state.heldNotices.pop_front();
    Attempt([&notice] { ApplyNotice(notice.message, notice.first); }, nullptr);
  }
  if (--state.busy == 0 && state.detachPending) FinishDetach();
}

}  // namespace

void ExpectFirstActivation() { state.firstActivation = true; }

void ViewSwitch() {
  if (IsView(state.viewMode)) state.firstActivation = false;  // a listing runs: the settings are moot
  try {
    RunListing(state.viewMode);
  } catch (...) {
    // Half a listing is no listing: drop it, and the lists it was making.
    droppedListing = IsView(state.viewMode) ? state.viewMode : 0;
    ClearTree();
    if (state.viewMode == kBothById) {
      state.idEntries.clear();
    }
    throw;
  }
  WriteSetting(kPrevModeKey, state.viewMode);
}

void RefreshMenu() {
  platform::PopupMenu menu(state.menu);
  for (int view = kReceivedInOrder; view <= kBothById; ++view) menu.Check(ViewCommand(view), false);
  if (IsView(state.viewMode)) menu.Check(ViewCommand(state.viewMode), true);
  menu.Check(kAllStock, state.allDisp);
  const bool haveIds = !state.idEntries.empty();
  if (state.qorPresent) menu.Enable(kRegisterIds, haveIds);
  menu.Enable(kExportCsv, haveIds);
  menu.Enable(kSearchNext, !state.searchText.empty() && state.lastFound != nullptr);
}

void FinishDetach() {
  state.detachPending = false;
  state.heldNotices.clear();
  state.host = nullptr;
}

// No exception leaves here: past this frame lie the host's and the system's, which it cannot cross.
intptr_t QOR_CALLBACK PaneCallback(platform::WindowHandle, unsigned message, uintptr_t first, intptr_t second) {
  try {
    if (!Attached()) return 0;  // a pane the host has let go of, or a tree of an earlier attachment
    if (message == kWmNotify) {
      // The tree's notifications, also those the add-in's own work causes, are handled at once.
      if (state.busy > 0) {
        try {
          OnNotify(second);
        } catch (...) {
          HoldFailure();
        }
      } else {
        Attempt([second] { OnNotify(second); }, nullptr);
      }
      return 0;
    }
    if (state.busy > 0) {
      // The host's own calls while a command, dialog or scan runs: notices wait, the rest is
      // ignored (the user cannot have meant a command from inside the add-in's dialog).
      if (message == kDiscardNotice || message == kHeadingNotice) state.heldNotices.push_back({message, first});
      return 0;
    }
    switch (message) {
      case kWmSize: RunAsWork(OnSize, nullptr); break;
      case kWmCommand: {
        const int id = static_cast<int>(first & 0xFFFF);
        RunAsWork([id] { OnCommand(id); }, CommandName(id));
        break;
      }
      case kActivationNotice: RunAsWork([first] { OnActivation(first); }, nullptr); break;
      case kDiscardNotice:
      case kHeadingNotice: RunAsWork([message, first] { ApplyNotice(message, first); }, nullptr); break;
      default: break;
    }
  } catch (...) {
    // Only holding a notice can get here (no memory for it): the notice is lost, not the host.
  }
  return 0;
}

}  // namespace qor
